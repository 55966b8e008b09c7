#include "tags/id3v2frames.h"

#include "base/windows1252.h"

#include <QUrl>

#include <libdeflate.h>

#include <algorithm>
#include <memory>
#include <string_view>

namespace tags {

namespace {

// Version 2.2 identifiers and their version 2.3 equivalents (iTunes' sort and compilation
// frames included).
constexpr std::pair<std::string_view, std::string_view> v22Names[] = {
    {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"EQU", "EQUA"},
    {"ETC", "ETCO"}, {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"LNK", "LINK"}, {"MCI", "MCDI"},
    {"MLL", "MLLT"}, {"PIC", "APIC"}, {"POP", "POPM"}, {"REV", "RVRB"}, {"RVA", "RVAD"},
    {"SLT", "SYLT"}, {"STC", "SYTC"}, {"TAL", "TALB"}, {"TBP", "TBPM"}, {"TCM", "TCOM"},
    {"TCO", "TCON"}, {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"}, {"TEN", "TENC"},
    {"TFT", "TFLT"}, {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"},
    {"TMT", "TMED"}, {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"},
    {"TOT", "TOAL"}, {"TP1", "TPE1"}, {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"},
    {"TPA", "TPOS"}, {"TPB", "TPUB"}, {"TRC", "TSRC"}, {"TRD", "TRDA"}, {"TRK", "TRCK"},
    {"TSI", "TSIZ"}, {"TSS", "TSSE"}, {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"},
    {"TXT", "TEXT"}, {"TXX", "TXXX"}, {"TYE", "TYER"}, {"UFI", "UFID"}, {"ULT", "USLT"},
    {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"},
    {"WPB", "WPUB"}, {"WXX", "WXXX"}, {"TCP", "TCMP"}, {"TST", "TSOT"}, {"TSP", "TSOP"},
    {"TSA", "TSOA"}, {"TS2", "TSO2"}, {"TSC", "TSOC"},
};

quint32 bigEndian(QByteArrayView bytes, qsizetype at, int count)
{
    quint32 value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

quint32 synchsafe(QByteArrayView bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 7) | (static_cast<unsigned char>(bytes[at + i]) & 0x7F);
    return value;
}

bool isFrameIdChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isFrameId(QByteArrayView id)
{
    return std::all_of(id.begin(), id.end(), isFrameIdChar);
}

// True when a frame header of the given id length could start at `at`, or the tag ends there.
bool plausibleNext(QByteArrayView data, qsizetype at, int idLength)
{
    if (at == data.size())
        return true;
    if (at > data.size())
        return false;
    if (data[at] == '\0')
        return true; // padding
    return at + idLength <= data.size() && isFrameId(data.sliced(at, idLength));
}

// Version 2.4 frame sizes are synchsafe, but some taggers wrote plain sizes: take the plain one
// when the synchsafe one does not lead to a frame and the plain one does.
quint32 frameSize24(QByteArrayView data, qsizetype at)
{
    const quint32 safe = synchsafe(data, at + 4);
    const quint32 plain = bigEndian(data, at + 4, 4);
    if (safe == plain)
        return safe;
    const bool highBits = (plain & 0x80808080u) != 0;
    if (highBits || (!plausibleNext(data, at + 10 + qsizetype(safe), 4) &&
                     plausibleNext(data, at + 10 + qsizetype(plain), 4)))
        return plain;
    return safe;
}

// Whether every frame from `at` on has a valid synchsafe size that keeps it within the tag, up to
// the tag's end or its padding. Such a tag is read with synchsafe sizes throughout: guessing a
// plain size frame by frame is for tags that need it, and would read a tag differently once its
// frames stand elsewhere (as after a save).
bool synchsafeSizesWalk(QByteArrayView data, qsizetype at)
{
    while (at < data.size()) {
        if (data[at] == '\0') {
            while (at < data.size() && data[at] == '\0')
                ++at;
            continue;
        }
        if (at + 10 > data.size())
            return false;
        for (qsizetype i = at + 4; i < at + 8; ++i) {
            if (static_cast<unsigned char>(data[i]) & 0x80)
                return false;
        }
        const quint32 size = synchsafe(data, at + 4);
        if (quint64(size) > quint64(data.size() - at - 10))
            return false;
        at += 10 + qsizetype(size);
    }
    return true;
}

qsizetype terminatorLength(int encoding)
{
    return (encoding == Utf16 || encoding == Utf16BE) ? 2 : 1;
}

// Offset of the terminator of a text of the given encoding, or -1.
qsizetype findTerminator(QByteArrayView bytes, int encoding)
{
    if (terminatorLength(encoding) == 1)
        return bytes.indexOf('\0');
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == '\0' && bytes[i + 1] == '\0')
            return i;
    }
    return -1;
}

QString decodeUtf16(QByteArrayView bytes, bool bigEndianDefault)
{
    bool big = bigEndianDefault;
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]),
                   b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE) {
            big = false;
            bytes = bytes.sliced(2);
        } else if (b0 == 0xFE && b1 == 0xFF) {
            big = true;
            bytes = bytes.sliced(2);
        }
    }
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto hi = static_cast<unsigned char>(bytes[big ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(bytes[big ? i + 1 : i]);
        text.append(QChar(char16_t((hi << 8) | lo)));
    }
    // A surrogate without its pair is no character: it is shown, and written back when edited,
    // as U+FFFD, which every encoding the tag may take holds.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QString decodeWhole(QByteArrayView bytes, int encoding)
{
    switch (encoding) {
    case Utf16:
        return decodeUtf16(bytes, false);
    case Utf16BE:
        return decodeUtf16(bytes, true);
    case Utf8:
        return QString::fromUtf8(bytes);
    default:
        return base::fromWindows1252(bytes);
    }
}

} // namespace

qint64 id3v2DeclaredSize(QByteArrayView header)
{
    if (header.size() < Id3v2HeaderSize ||
        QByteArrayView(header.first(3)).compare("ID3", Qt::CaseInsensitive) != 0)
        return 0;
    const int version = static_cast<unsigned char>(header[3]);
    if (version < 2 || version > 4)
        return 0;
    qint64 size = Id3v2HeaderSize + qint64(synchsafe(header, 6));
    if (version == 4 && (static_cast<unsigned char>(header[5]) & 0x10))
        size += Id3v2HeaderSize; // footer
    return size;
}

namespace {

// Deflate shrinks data at most 1032 times: a size announced beyond that is a lie.
constexpr qint64 MaxDeflateRatio = 1032;
// Frames are texts and pictures: no decompressed frame comes near this.
constexpr qint64 MaxInflated = 64 * 1024 * 1024;

// zlib data inflated to `expected` bytes (or at most as many as they can give when expected is
// negative); nullopt when they do not inflate to that size.
std::optional<QByteArray> inflateZlib(QByteArrayView data, qint64 expected)
{
    const qint64 possible = std::min(MaxInflated, (data.size() + 1) * MaxDeflateRatio);
    if (expected > possible)
        return std::nullopt;
    QByteArray out(qsizetype(expected >= 0 ? expected : possible), '\0');
    const std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)>
        decompressor(libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    size_t length = 0;
    if (!decompressor ||
        libdeflate_zlib_decompress(decompressor.get(), data.data(), size_t(data.size()), out.data(),
                                   size_t(out.size()), &length) != LIBDEFLATE_SUCCESS ||
        (expected >= 0 && qint64(length) != expected))
        return std::nullopt;
    out.truncate(qsizetype(length));
    return out;
}

} // namespace

std::optional<QByteArray> frameContent(const Id3v2Frame &frame, int version)
{
    if (!frame.opaque)
        return frame.body;
    QByteArrayView body = frame.body;
    QByteArray plain;
    qint64 expected = -1;
    if (version == 3) {
        // Decompressed size, encryption method, group byte, in the order of their flags.
        if ((frame.flags & 0x0040) || body.size() < 4)
            return std::nullopt;
        expected = bigEndian(body, 0, 4);
        body = body.sliced(4);
        if ((frame.flags & 0x0020) && !body.isEmpty())
            body = body.sliced(1);
    } else if (version == 4) {
        // Group byte, encryption method, data length, in the order of their flags.
        if (frame.flags & 0x0004)
            return std::nullopt;
        if (frame.flags & 0x0002) {
            plain = removeUnsynchronisation(body);
            body = plain;
        }
        if ((frame.flags & 0x0040) && !body.isEmpty())
            body = body.sliced(1);
        if (frame.flags & 0x0001) {
            if (body.size() < 4)
                return std::nullopt;
            expected = synchsafe(body, 0);
            body = body.sliced(4);
        }
    } else {
        return std::nullopt;
    }
    return inflateZlib(body, expected);
}

QByteArray removeUnsynchronisation(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out.append(bytes[i]);
        if (static_cast<unsigned char>(bytes[i]) == 0xFF && i + 1 < bytes.size() &&
            bytes[i + 1] == '\0')
            ++i;
    }
    return out;
}

namespace {

Id3v2Tag walk(QByteArrayView tag, bool share)
{
    Id3v2Tag result;
    const qint64 declared = id3v2DeclaredSize(tag);
    if (declared == 0)
        return result;
    result.version = static_cast<unsigned char>(tag[3]);
    const int flags = static_cast<unsigned char>(tag[5]);
    const qsizetype bodySize =
        qsizetype(std::min<qint64>(synchsafe(tag, 6), tag.size() - Id3v2HeaderSize));
    // The body is copied only when unsynchronisation must be removed from it.
    QByteArray unsynchronised;
    QByteArrayView data = tag.sliced(Id3v2HeaderSize, bodySize);
    const bool tagUnsynchronised = flags & 0x80;
    if (tagUnsynchronised && result.version < 4) {
        unsynchronised = removeUnsynchronisation(data);
        data = unsynchronised;
    }

    qsizetype at = 0;
    if (result.version == 2 && (flags & 0x40)) {
        result.unread = !data.isEmpty(); // a compressed 2.2 tag: no known scheme
        return result;
    }
    // Some taggers set the extended-header flag without writing one: when a frame identifier
    // stands where its size should be, there is none.
    if (result.version >= 3 && (flags & 0x40) && data.size() >= 4 && !isFrameId(data.first(4))) {
        const quint32 extended =
            result.version == 3 ? bigEndian(data, 0, 4) + 4 : synchsafe(data, 0);
        at = qsizetype(std::min<quint32>(extended, quint32(data.size())));
    }

    const int idLength = result.version == 2 ? 3 : 4;
    const int headerLength = result.version == 2 ? 6 : 10;
    const bool synchsafeSizes = result.version == 4 && synchsafeSizesWalk(data, at);
    while (at < data.size()) {
        if (data[at] == '\0') {
            // Padding, unless a frame follows the zero bytes.
            while (at < data.size() && data[at] == '\0')
                ++at;
            if (at == data.size())
                break;
        }
        if (at + headerLength > data.size()) {
            result.unread = true;
            break;
        }
        const QByteArrayView id = data.sliced(at, idLength);
        quint32 size;
        if (result.version == 2)
            size = bigEndian(data, at + 3, 3);
        else if (result.version == 3)
            size = bigEndian(data, at + 4, 4);
        else
            size = synchsafeSizes ? synchsafe(data, at + 4) : frameSize24(data, at);
        const qsizetype start = at + headerLength;
        const bool fits = quint64(size) <= quint64(data.size() - start);
        // A frame cut short by the end of the tag is read as far as it goes, if its identifier
        // says it is one; bytes that are not a frame end the walk.
        if (!fits)
            result.unread = true;
        if (!fits && !isFrameId(id))
            break;
        if (result.frames.size() == MaxFrames) {
            result.tooManyFrames = true;
            break;
        }
        const qsizetype length = fits ? qsizetype(size) : data.size() - start;
        const qsizetype frameStart = at;
        at = start + length;

        Id3v2Frame frame;
        frame.id = id.toByteArray();
        if (result.version > 2)
            frame.flags = quint16(bigEndian(data, start - 2, 2));
        QByteArrayView body = data.sliced(start, length);
        QByteArray plain; // a frame of version 2.4 without its unsynchronisation
        if (result.version == 3) {
            frame.opaque = frame.flags & 0x00C0; // compressed or encrypted
            if ((frame.flags & 0x0020) && !frame.opaque && !body.isEmpty()) { // group byte
                frame.grouped = true;
                frame.group = body[0];
                body = body.sliced(1);
            }
        } else if (result.version == 4) {
            frame.opaque = frame.flags & 0x000C;
            if (!frame.opaque && ((frame.flags & 0x0002) || tagUnsynchronised)) {
                plain = removeUnsynchronisation(body);
                body = plain;
            }
            if (!frame.opaque) {
                if ((frame.flags & 0x0040) && !body.isEmpty()) {
                    frame.grouped = true;
                    frame.group = body[0];
                    body = body.sliced(1);
                }
                if (frame.flags & 0x0001)
                    body = body.sliced(std::min<qsizetype>(4, body.size()));
            }
        }
        // A body read as it is stored may point into the caller's bytes instead of copying them.
        const bool stored = plain.isEmpty() && unsynchronised.isEmpty();
        frame.body = share && stored ? QByteArray::fromRawData(body.data(), body.size())
                                     : body.toByteArray();
        // A frame of a tag unsynchronised as a whole is stored unsynchronised without saying so
        // itself: its bytes would be misread in a tag without that flag. An opaque one, whose
        // data stay as stored, is marked unsynchronised itself, so that it is written so.
        const bool saysUnsynchronised = frame.flags & 0x0002;
        if (result.version == 4 && frame.opaque && tagUnsynchronised)
            frame.flags |= 0x0002;
        if (result.version == 4 && fits && (!tagUnsynchronised || saysUnsynchronised)) {
            const QByteArrayView whole = data.sliced(frameStart, start + length - frameStart);
            frame.stored = share && unsynchronised.isEmpty()
                               ? QByteArray::fromRawData(whole.data(), whole.size())
                               : whole.toByteArray();
        }
        result.frames.append(frame);
    }
    return result;
}

} // namespace

Id3v2Tag walkId3v2(QByteArrayView tag)
{
    return walk(tag, false);
}

Id3v2Tag walkId3v2Sharing(const QByteArray &tag)
{
    return walk(tag, true);
}

QByteArray v23FrameId(QByteArrayView v22Id)
{
    const auto known =
        std::find_if(std::begin(v22Names), std::end(v22Names), [&](const auto &pair) {
            return v22Id == QByteArrayView(pair.first.data(), 3);
        });
    if (known == std::end(v22Names))
        return {};
    return QByteArray(known->second.data(), 4);
}

QString decodeText(QByteArrayView bytes, int encoding, QByteArrayView *rest)
{
    const qsizetype end = findTerminator(bytes, encoding);
    if (rest)
        *rest = end < 0 ? QByteArrayView() : bytes.sliced(end + terminatorLength(encoding));
    return decodeWhole(end < 0 ? bytes : bytes.first(end), encoding);
}

QString decodeAllText(QByteArrayView body)
{
    if (body.isEmpty())
        return {};
    QString text = decodeWhole(body.sliced(1), static_cast<unsigned char>(body[0]));
    // One terminator at the very end ends the value; it does not start another.
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

QStringList textValues(QByteArrayView body)
{
    QStringList values;
    if (body.isEmpty())
        return values;
    const int encoding = static_cast<unsigned char>(body[0]);
    QByteArrayView rest = body.sliced(1);
    while (!rest.isEmpty()) {
        QByteArrayView next;
        values.append(decodeText(rest, encoding, &next));
        rest = next;
    }
    return values;
}

bool fitsLatin1(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x80 || (c.unicode() >= 0xA0 && c.unicode() <= 0xFF);
    });
}

TextEncoding wideEncoding(int version)
{
    return version == 4 ? Utf8 : Utf16;
}

QByteArray encodeAs(int encoding, const QString &text, bool terminate)
{
    QByteArray bytes;
    if (encoding == Utf16)
        bytes = encodeUtf16(text);
    else if (encoding == Utf8)
        bytes = text.toUtf8();
    else
        bytes = base::toWindows1252(text);
    if (terminate)
        bytes.append(terminatorLength(encoding), '\0');
    return bytes;
}

QByteArray encodedText(const QString &text, int version)
{
    const int encoding = fitsLatin1(text) ? int(Latin1) : int(wideEncoding(version));
    return char(encoding) + encodeAs(encoding, text);
}

QByteArray urlBytes(const QString &url)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < url.size(); ++i) {
        const qsizetype length = url[i].isHighSurrogate() && i + 1 < url.size() ? 2 : 1;
        const QString character = url.mid(i, length);
        bytes += base::fitsWindows1252(character) ? base::toWindows1252(character)
                                                  : QUrl::toPercentEncoding(character);
        i += length - 1;
    }
    return bytes;
}

QByteArray encodeUtf16(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + text.size() * 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

namespace {

void appendSize(QByteArray &out, quint32 size, bool synchsafe)
{
    if (synchsafe)
        size = (size & 0x7F) | (size << 1 & 0x7F00) | (size << 2 & 0x7F0000) |
               (size << 3 & 0x7F000000);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((size >> shift) & 0xFF));
}

// Of version 2.4, a frame that is not opaque carries its data length when its flag says so; it is
// written without unsynchronisation, which its flag then no longer announces.
bool hasDataLength(const Id3v2Frame &frame, int version)
{
    return version == 4 && !frame.opaque && (frame.flags & 0x0001);
}

// A version 2.4 frame read unchanged is copied byte for byte only when its size is written the
// synchsafe way: a size another tagger wrote plain may read as another size beside other frames.
bool keepsStored(const Id3v2Frame &frame, int version)
{
    if (version != 4 || frame.stored.size() < 10)
        return false;
    quint32 declared = 0;
    for (qsizetype i = 4; i < 8; ++i) {
        const auto byte = quint8(frame.stored[i]);
        if (byte & 0x80)
            return false;
        declared = declared << 7 | byte;
    }
    return declared == quint32(frame.stored.size() - 10);
}

} // namespace

qsizetype renderedSize(const Id3v2Frame &frame, int version)
{
    if (keepsStored(frame, version))
        return frame.stored.size();
    return 10 + (frame.grouped ? 1 : 0) + (hasDataLength(frame, version) ? 4 : 0) +
           frame.body.size();
}

void appendFrame(QByteArray &out, const Id3v2Frame &frame, int version)
{
    if (keepsStored(frame, version)) {
        out += frame.stored;
        return;
    }
    const bool dataLength = hasDataLength(frame, version);
    out += frame.id.left(4);
    appendSize(out, quint32(renderedSize(frame, version) - 10), version == 4);
    const quint16 flags =
        version == 4 && !frame.opaque ? quint16(frame.flags & ~0x0002) : frame.flags;
    out.append(char(flags >> 8));
    out.append(char(flags & 0xFF));
    if (frame.grouped)
        out.append(frame.group);
    if (dataLength)
        appendSize(out, quint32(frame.body.size()), true);
    out += frame.body;
}

QByteArray renderFrame(const Id3v2Frame &frame, int version)
{
    QByteArray bytes;
    bytes.reserve(renderedSize(frame, version));
    appendFrame(bytes, frame, version);
    return bytes;
}

} // namespace tags
