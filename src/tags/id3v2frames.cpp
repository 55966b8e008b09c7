#include "tags/id3v2frames.h"

#include "tags/windows1252.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tags {

namespace {

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
        return fromWindows1252(bytes);
    }
}

// Frame identifiers of version 2.3.
constexpr std::array<std::string_view, 74> v23Frames = {
    "AENC", "APIC", "COMM", "COMR", "ENCR", "EQUA", "ETCO", "GEOB", "GRID", "IPLS", "LINK",
    "MCDI", "MLLT", "OWNE", "PRIV", "PCNT", "POPM", "POSS", "RBUF", "RVAD", "RVRB", "SYLT",
    "SYTC", "TALB", "TBPM", "TCOM", "TCON", "TCOP", "TDAT", "TDLY", "TENC", "TEXT", "TFLT",
    "TIME", "TIT1", "TIT2", "TIT3", "TKEY", "TLAN", "TLEN", "TMED", "TOAL", "TOFN", "TOLY",
    "TOPE", "TORY", "TOWN", "TPE1", "TPE2", "TPE3", "TPE4", "TPOS", "TPUB", "TRCK", "TRDA",
    "TRSN", "TRSO", "TSIZ", "TSRC", "TSSE", "TYER", "TXXX", "UFID", "USER", "USLT", "WCOM",
    "WCOP", "WOAF", "WOAR", "WOAS", "WORS", "WPAY", "WPUB", "WXXX",
};

// Version 2.2 identifiers and their version 2.3 equivalents.
constexpr std::array<std::pair<std::string_view, std::string_view>, 45> v22Names = {{
    {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"}, {"TP1", "TPE1"}, {"TP2", "TPE2"},
    {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TAL", "TALB"}, {"TYE", "TYER"}, {"TRK", "TRCK"},
    {"TCO", "TCON"}, {"COM", "COMM"}, {"TCM", "TCOM"}, {"TOA", "TOPE"}, {"TCR", "TCOP"},
    {"WXX", "WXXX"}, {"TEN", "TENC"}, {"PIC", "APIC"}, {"TPA", "TPOS"}, {"TPB", "TPUB"},
    {"TBP", "TBPM"}, {"TLE", "TLEN"}, {"TOT", "TOAL"}, {"TXX", "TXXX"}, {"ULT", "USLT"},
    {"TSS", "TSSE"}, {"TRC", "TSRC"}, {"TLA", "TLAN"}, {"TKE", "TKEY"}, {"TOR", "TORY"},
    {"TDA", "TDAT"}, {"TIM", "TIME"}, {"TMT", "TMED"}, {"TFT", "TFLT"}, {"TOF", "TOFN"},
    {"TOL", "TOLY"}, {"TXT", "TEXT"}, {"UFI", "UFID"}, {"CNT", "PCNT"}, {"POP", "POPM"},
    {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WPB", "WPUB"},
}};

bool isV23Frame(QByteArrayView id)
{
    return std::any_of(v23Frames.begin(), v23Frames.end(), [id](std::string_view known) {
        return id == QByteArrayView(known.data(), qsizetype(known.size()));
    });
}

// Re-encodes the texts of a body that uses encoding 2 or 3 (which version 2.3 lacks) to
// encoding 1. layout: bytes before the first text (after the encoding byte), then how many
// terminated texts follow before the last, unterminated part; lastIsText says whether that part
// is text too. Returns an empty array when the body cannot be converted.
QByteArray reencodeBody(QByteArrayView body, qsizetype fixed, int terminated, bool lastIsText)
{
    const int encoding = static_cast<unsigned char>(body[0]);
    QByteArray out;
    out.append(char(Utf16));
    if (body.size() < 1 + fixed)
        return {};
    out.append(body.sliced(1, fixed));
    QByteArrayView rest = body.sliced(1 + fixed);
    for (int i = 0; i < terminated; ++i) {
        const QString text = decodeText(rest, encoding, &rest);
        out += encodeUtf16(text);
        out.append(2, '\0');
    }
    if (lastIsText)
        out += encodeUtf16(decodeWhole(rest, encoding));
    else
        out.append(rest);
    return out;
}

// Converts one frame of a version 2.4 tag for a version 2.3 tag; false when it cannot be.
bool convertFrom24(Id3v2Frame &frame)
{
    if (!isV23Frame(frame.id) || frame.opaque)
        return false;
    frame.flags = 0;
    const bool hasEncoding = frame.id.startsWith('T') || frame.id == "COMM" || frame.id == "USLT" ||
                             frame.id == "WXXX" || frame.id == "APIC";
    if (!hasEncoding) {
        // Other frames with an encoding byte (GEOB, SYLT, USER, OWNE, COMR) are kept only when
        // version 2.3 can read their encoding.
        const bool encoded = frame.id == "GEOB" || frame.id == "SYLT" || frame.id == "USER" ||
                             frame.id == "OWNE" || frame.id == "COMR";
        return !encoded ||
               (!frame.body.isEmpty() && static_cast<unsigned char>(frame.body[0]) <= Utf16);
    }
    if (frame.body.isEmpty())
        return false;
    const int encoding = static_cast<unsigned char>(frame.body[0]);
    if (encoding == Latin1 || encoding == Utf16)
        return true;
    if (encoding != Utf16BE && encoding != Utf8) {
        // An encoding byte no version defines: its texts are read as single bytes, which is
        // what encoding 0 says.
        frame.body[0] = char(Latin1);
        return true;
    }
    QByteArray converted;
    if (frame.id == "TXXX")
        converted = reencodeBody(frame.body, 0, 1, true);
    else if (frame.id.startsWith('T'))
        converted = reencodeBody(frame.body, 0, 0, true);
    else if (frame.id == "COMM" || frame.id == "USLT")
        converted = reencodeBody(frame.body, 3, 1, true);
    else if (frame.id == "WXXX")
        converted = reencodeBody(frame.body, 0, 1, false);
    else { // APIC: MIME type and picture type come before the description
        const qsizetype mimeEnd = frame.body.indexOf('\0', 1);
        if (mimeEnd < 0 || mimeEnd + 1 >= frame.body.size())
            return false;
        converted = reencodeBody(frame.body, mimeEnd + 1, 1, false);
    }
    if (converted.isEmpty())
        return false;
    frame.body = converted;
    return true;
}

// Converts one frame of a version 2.2 tag; false when version 2.3 has no such frame.
bool convertFrom22(Id3v2Frame &frame)
{
    const auto known = std::find_if(v22Names.begin(), v22Names.end(), [&](const auto &pair) {
        return frame.id == QByteArrayView(pair.first.data(), 3);
    });
    if (known == v22Names.end())
        return false;
    frame.id = QByteArray(known->second.data(), 4);
    if (frame.id != "APIC")
        return true;
    // PIC holds a three-letter image format where APIC holds a MIME type.
    if (frame.body.size() < 5)
        return false;
    QByteArray format;
    for (char c : frame.body.mid(1, 3).toLower()) {
        if (isFrameIdChar(c) || (c >= 'a' && c <= 'z'))
            format.append(c);
    }
    QByteArray body;
    body.append(frame.body[0]);
    body += "image/" + (format == "jpg" ? QByteArray("jpeg") : format);
    body.append('\0');
    body.append(frame.body.mid(4));
    frame.body = body;
    return true;
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

Id3v2Tag walkId3v2(QByteArrayView tag)
{
    Id3v2Tag result;
    const qint64 declared = id3v2DeclaredSize(tag);
    if (declared == 0)
        return result;
    result.version = static_cast<unsigned char>(tag[3]);
    const int flags = static_cast<unsigned char>(tag[5]);
    const qsizetype bodySize =
        qsizetype(std::min<qint64>(synchsafe(tag, 6), tag.size() - Id3v2HeaderSize));
    QByteArray data = tag.sliced(Id3v2HeaderSize, bodySize).toByteArray();
    const bool tagUnsynchronised = flags & 0x80;
    if (tagUnsynchronised && result.version < 4)
        data = removeUnsynchronisation(data);

    qsizetype at = 0;
    if (result.version == 2 && (flags & 0x40))
        return result; // a compressed 2.2 tag: no known scheme, nothing can be read
    // Some taggers set the extended-header flag without writing one: when a frame identifier
    // stands where its size should be, there is none.
    if (result.version >= 3 && (flags & 0x40) && data.size() >= 4 &&
        !isFrameId(QByteArrayView(data).first(4))) {
        const quint32 extended =
            result.version == 3 ? bigEndian(data, 0, 4) + 4 : synchsafe(data, 0);
        at = qsizetype(std::min<quint32>(extended, quint32(data.size())));
    }

    const int idLength = result.version == 2 ? 3 : 4;
    const int headerLength = result.version == 2 ? 6 : 10;
    while (at + headerLength <= data.size()) {
        const QByteArrayView id = QByteArrayView(data).sliced(at, idLength);
        if (!isFrameId(id))
            break; // padding, or bytes that are not a frame
        quint32 size;
        quint16 frameFlags = 0;
        if (result.version == 2)
            size = bigEndian(data, at + 3, 3);
        else if (result.version == 3)
            size = bigEndian(data, at + 4, 4);
        else
            size = frameSize24(data, at);
        if (result.version > 2)
            frameFlags = quint16(bigEndian(data, at + 8, 2));
        const qsizetype start = at + headerLength;
        const qsizetype length = qsizetype(std::min<quint64>(size, quint64(data.size() - start)));
        at = start + length;
        if (length == 0)
            continue;

        Id3v2Frame frame;
        frame.id = id.toByteArray();
        frame.flags = frameFlags;
        QByteArrayView body = QByteArrayView(data).sliced(start, length);
        if (result.version == 3) {
            frame.opaque = frameFlags & 0x00C0;           // compressed or encrypted
            if ((frameFlags & 0x0020) && !frame.opaque) { // group identifier byte
                body = body.sliced(1);
                frame.flags &= ~0x0020;
            }
        } else if (result.version == 4) {
            frame.opaque = frameFlags & 0x000C;
            if (!frame.opaque) {
                qsizetype skip = ((frameFlags & 0x0040) ? 1 : 0) + ((frameFlags & 0x0001) ? 4 : 0);
                body = body.sliced(std::min(skip, body.size()));
            }
        }
        frame.body = body.toByteArray();
        if (result.version == 4 && !frame.opaque && ((frameFlags & 0x0002) || tagUnsynchronised))
            frame.body = removeUnsynchronisation(frame.body);
        if (!frame.body.isEmpty()) // nothing left once the added bytes are removed
            result.frames.append(frame);
    }
    return result;
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

QList<Id3v2Frame> framesToKeep(const Id3v2Tag &tag, const QList<QByteArray> &produced)
{
    QList<Id3v2Frame> kept;
    for (Id3v2Frame frame : tag.frames) {
        bool keep = true;
        if (tag.version == 2)
            keep = convertFrom22(frame);
        else if (tag.version == 4)
            keep = convertFrom24(frame);
        if (keep && !produced.contains(frame.id))
            kept.append(frame);
    }
    return kept;
}

QByteArray renderFrame(const Id3v2Frame &frame)
{
    QByteArray bytes = frame.id.left(4);
    const auto size = quint32(frame.body.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((size >> shift) & 0xFF));
    bytes.append(char(frame.flags >> 8));
    bytes.append(char(frame.flags & 0xFF));
    bytes += frame.body;
    return bytes;
}

} // namespace tags
