#include "tags/id3v2writer.h"

#include "tags/fileaccess.h"
#include "tags/genres.h"
#include "tags/id3v2reader.h"
#include "tags/saferewrite.h"
#include "tags/windows1252.h"

#include "mpeg/audiostart.h"
#include "mpeg/typetagmpeg.h"

#include <QFile>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tags {

namespace {

constexpr qsizetype PaddingSize = 11;

// True when every character is one that Windows-1252 and ISO-8859-1 write with the same
// byte. Encoding 0 is ISO-8859-1 for every other reader: "œ", "€" or "—" written there as
// Windows-1252 bytes would read back as control characters elsewhere.
bool fitsLatin1(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x80 || (c.unicode() >= 0xA0 && c.unicode() <= 0xFF);
    });
}

// The encoding byte and the bytes of a text: encoding 0 when the text allows it, UTF-16 with a
// byte-order mark otherwise, so that no character is lost.
QByteArray encodedText(const QString &text)
{
    if (fitsLatin1(text))
        return char(Latin1) + toWindows1252(text);
    return char(Utf16) + encodeUtf16(text);
}

// A URL in single bytes, as it is read back: characters Windows-1252 lacks are percent-encoded
// as UTF-8.
QByteArray urlBytes(const QString &url)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < url.size(); ++i) {
        const qsizetype length = url[i].isHighSurrogate() && i + 1 < url.size() ? 2 : 1;
        const QString character = url.mid(i, length);
        bytes +=
            fitsWindows1252(character) ? toWindows1252(character) : QUrl::toPercentEncoding(character);
        i += length - 1;
    }
    return bytes;
}

QByteArray frame(QByteArrayView id, const QByteArray &body)
{
    Id3v2Frame f;
    f.id = id.toByteArray();
    f.body = body;
    return renderFrame(f);
}

QByteArray synchsafeBytes(quint32 size)
{
    QByteArray bytes;
    for (int shift = 21; shift >= 0; shift -= 7)
        bytes.append(char((size >> shift) & 0x7F));
    return bytes;
}

QByteArray bigEndianBytes(quint32 value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((value >> shift) & 0xFF));
    return bytes;
}

// True when four bytes make a complete MPEG audio frame header: 11 sync bits, and a version,
// layer, bit rate and sampling frequency that exist.
bool isFrameHeader(const char *h)
{
    const auto b1 = static_cast<unsigned char>(h[1]), b2 = static_cast<unsigned char>(h[2]);
    return static_cast<unsigned char>(h[0]) == 0xFF && (b1 & 0xE0) == 0xE0 && (b1 & 0x18) != 0x08 &&
           (b1 & 0x06) != 0 && (b2 & 0xF0) != 0xF0 && (b2 & 0x0C) != 0x0C;
}

// The first offset in [from, to) where a complete frame header starts, or -1.
qint64 findFrameHeader(int fd, qint64 from, qint64 to, qint64 length)
{
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    to = std::min(to, length - 3);
    for (qint64 at = from; at < to;) {
        const qint64 chunk = std::min<qint64>(buffer.size(), length - at);
        if (!readAt(fd, buffer.data(), chunk, at))
            return -1;
        for (qint64 i = 0; i + 3 < chunk && at + i < to; ++i) {
            if (isFrameHeader(buffer.constData() + i))
                return at + i;
        }
        at += chunk - 3; // a header may straddle two chunks
    }
    return -1;
}

// The first offset from `from` whose byte is FF and whose next byte is not zero, or -1.
qint64 findFrameSync(int fd, qint64 from, qint64 length)
{
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (qint64 at = from; at + 1 < length;) {
        const qint64 chunk = std::min<qint64>(buffer.size(), length - at);
        if (!readAt(fd, buffer.data(), chunk, at))
            return -1;
        for (qint64 i = 0; i + 1 < chunk; ++i) {
            if (static_cast<unsigned char>(buffer[i]) == 0xFF && buffer[i + 1] != '\0')
                return at + i;
        }
        at += chunk - 1; // the last byte of a chunk pairs with the first of the next
    }
    return -1;
}

Result<QByteArray> readPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result<QByteArray>::failure(
            QStringLiteral("Lecture impossible de l'image « %1 » : %2")
                .arg(path, file.errorString()));
    if (file.size() > Id3v2MaxSize)
        return Result<QByteArray>::failure(
            QStringLiteral("L'image « %1 » est trop grande pour un tag ID3v2").arg(path));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Result<QByteArray>::failure(
            QStringLiteral("Lecture impossible de l'image « %1 » : %2")
                .arg(path, file.errorString()));
    return bytes;
}

} // namespace

QByteArray buildFrame(const TypeTagV2 &tag, QByteArrayView id, QByteArrayView picture)
{
    if (id == "TIT2")
        return frame(id, encodedText(tag.Titre()));
    if (id == "TPE1")
        return frame(id, encodedText(tag.Artiste()));
    if (id == "TALB")
        return frame(id, encodedText(tag.Album()));
    if (id == "TYER")
        return frame(id, encodedText(tag.Annee()));
    if (id == "TRCK")
        return frame(id, encodedText(tag.Piste().trimmed()));
    if (id == "TCOM")
        return frame(id, encodedText(tag.Compositeur()));
    if (id == "TOPE")
        return frame(id, encodedText(tag.Original()));
    if (id == "TCOP")
        return frame(id, encodedText(tag.Copyright()));
    if (id == "TENC")
        return frame(id, encodedText(tag.Encode()));
    if (id == "TCON") {
        const QString text = u'(' + QString::number(tag.Genre()) + u')' + genreName(tag.Genre());
        return frame(id, char(Latin1) + text.toLatin1());
    }
    if (id == "COMM") {
        // Language left as three zero bytes, empty description.
        const QByteArray text = encodedText(tag.Commentaire());
        const bool wide = text[0] == char(Utf16);
        const QByteArray description = wide ? QByteArray("\xFF\xFE\0\0", 4) : QByteArray(1, '\0');
        return frame(id, text.left(1) + QByteArray(3, '\0') + description + text.mid(1));
    }
    if (id == "WXXX")
        return frame(id, QByteArray(2, '\0') + urlBytes(tag.Url()));
    if (id == "APIC")
        return frame(id, QByteArray("\0image/jpg\0\0\0", 13) + picture.toByteArray());
    return frame(id, QByteArray(1, '\0'));
}

QList<QByteArray> producedFrames(bool newPicture)
{
    QList<QByteArray> ids{"TIT2", "TPE1", "TALB", "TYER", "TDRC", "COMM", "TRCK",
                          "TCON", "TCOM", "TOPE", "TCOP", "WXXX", "TENC"};
    if (newPicture)
        ids.append("APIC");
    return ids;
}

Result<QByteArray> renderId3v2(const TypeTagV2 &tag, QByteArrayView picture,
                               const QList<Id3v2Frame> &kept)
{
    const QList<std::pair<const char *, bool>> frames = {
        {"TIT2", !tag.Titre().isEmpty()},       {"TPE1", !tag.Artiste().isEmpty()},
        {"TALB", !tag.Album().isEmpty()},       {"TYER", !tag.Annee().isEmpty()},
        {"COMM", !tag.Commentaire().isEmpty()}, {"TRCK", !tag.Piste().trimmed().isEmpty()},
        {"TCON", tag.Genre() != NoGenre},       {"TCOM", !tag.Compositeur().isEmpty()},
        {"TOPE", !tag.Original().isEmpty()},    {"TCOP", !tag.Copyright().isEmpty()},
        {"WXXX", !tag.Url().isEmpty()},         {"TENC", !tag.Encode().isEmpty()},
        {"APIC", !picture.isEmpty()},
    };
    QByteArray body;
    for (const auto &[id, wanted] : frames) {
        if (wanted)
            body += buildFrame(tag, id, picture);
    }
    for (const Id3v2Frame &frame : kept)
        body += renderFrame(frame);
    body.append(PaddingSize, '\0');
    if (body.size() > Id3v2MaxSize)
        return Result<QByteArray>::failure(
            QStringLiteral("Le tag ID3v2 atteindrait %1 octets, au-delà de la taille permise")
                .arg(body.size()));
    return QByteArray("ID3\x03\0\0", 6) + synchsafeBytes(quint32(body.size())) + body;
}

Result<QByteArray> renderReplacement(const TypeTagV2 &tag, QByteArrayView picture,
                                     QByteArrayView existing)
{
    const QList<Id3v2Frame> kept =
        framesToKeep(walkId3v2(existing), producedFrames(!picture.isEmpty()));
    return renderId3v2(tag, picture, kept);
}

Result<bool> writeTagV2(const QString &fichier, const TypeTagV2 &tag)
{
    const auto failure = [&](const QString &error) { return Result<bool>::failure(error); };
    const Result<QByteArray> existing = readId3v2Bytes(fichier);
    if (!existing.ok())
        return failure(existing.error());

    QByteArray head;
    if (tag.Valide()) {
        QByteArray picture;
        if (!tag.picturePath().isEmpty()) {
            const Result<QByteArray> read = readPicture(tag.picturePath());
            if (!read.ok())
                return failure(read.error());
            picture = *read;
        }
        const Result<QByteArray> rendered = renderReplacement(tag, picture, *existing);
        if (!rendered.ok())
            return failure(rendered.error());
        head = *rendered;
    }

    // Where the audio starts. Never search inside a tag (its picture bytes may hold false
    // syncs): the search starts after every tag that opens the file. The analysis's first
    // header is where the audio starts, unless a complete frame header comes before it: the
    // analysis also passes over real frames (a Xing frame of a short file, Layer I, free
    // format), which must not be cut off.
    const qint64 afterTags = std::max(mpeg::audioStart(fichier), qint64(existing->size()));
    mpeg::TypeTagMpeg analysis;
    analysis.AnalyseMpeg(fichier, true);
    const bool analysed = analysis.Valide() && analysis.EntetePos() >= afterTags;

    const Fd fd(open(nativePath(fichier).constData(), O_RDONLY | O_CLOEXEC));
    struct stat info;
    if (fd.get() < 0 || fstat(fd.get(), &info) != 0)
        return failure(
            QStringLiteral("Lecture impossible de « %1 » : %2").arg(fichier, systemError(errno)));
    const qint64 length = info.st_size;
    qint64 sync =
        findFrameHeader(fd.get(), afterTags, analysed ? analysis.EntetePos() : length, length);
    if (sync < 0)
        sync = findFrameSync(fd.get(), analysed ? analysis.EntetePos() : afterTags, length);
    if (sync < 0)
        return false;
    QByteArray header(4, '\0');
    if (!readAt(fd.get(), header.data(), std::min<qint64>(4, length - sync), sync))
        return failure(
            QStringLiteral("Lecture impossible de « %1 » : %2").arg(fichier, systemError(errno)));

    // Bring the byte count of a Xing or VBRI header in the first frame up to date.
    const auto b1 = static_cast<unsigned char>(header[1]),
               b3 = static_cast<unsigned char>(header[3]);
    const bool mpeg1 = b1 & 0x08, mono = (b3 & 0xC0) == 0xC0;
    const qint64 xing = mpeg1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
    const qint64 newLength = head.size() + (length - sync);
    const auto bytesAt = [&](qint64 offset) {
        QByteArray bytes(4, '\0');
        return sync + offset + 4 <= length && readAt(fd.get(), bytes.data(), 4, sync + offset)
                   ? bytes
                   : QByteArray();
    };
    QList<Patch> patches;
    qint64 target = -1;
    if (bytesAt(xing).toUpper() == "XING") {
        // The byte count is present when flag bit 1 is set; it follows the frame count when
        // that is present (flag bit 0).
        const QByteArray flags = bytesAt(xing + 4);
        const int flagBits = flags.size() == 4 ? static_cast<unsigned char>(flags[3]) : 0;
        if (flagBits & 0x02)
            target = head.size() + xing + 8 + ((flagBits & 0x01) ? 4 : 0);
    } else if (bytesAt(36).toUpper() == "VBRI")
        target = head.size() + 46;
    if (target >= 0 && target + 4 <= newLength && newLength <= 0xFFFFFFFFLL)
        patches.append({target, bigEndianBytes(quint32(newLength))});

    const QString error = rewriteFile(fichier, head, sync, patches);
    if (!error.isEmpty())
        return failure(error);
    return true;
}

} // namespace tags
