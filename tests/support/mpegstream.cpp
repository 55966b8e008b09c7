#include "mpegstream.h"

#include <QFile>

namespace mpegstream {

namespace {

const int BitRatesV1[3][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}, // Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},    // Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},     // Layer III
};
const int BitRatesV2[3][16] = {
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0}, // Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},      // Layer II
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},      // Layer III
};
const int Frequencies[4][4] = {
    {11025, 12000, 8000, 0}, {0, 0, 0, 0}, {22050, 24000, 16000, 0}, {44100, 48000, 32000, 0}};

void appendBigEndian(QByteArray &out, quint32 value, int count)
{
    for (int i = count - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray synchsafe(quint32 value)
{
    QByteArray out;
    for (int i = 3; i >= 0; --i)
        out.append(char((value >> (7 * i)) & 0x7F));
    return out;
}

QByteArray latin1Field(const QString &text, int width)
{
    QByteArray out = text.toLatin1().left(width);
    out.append(QByteArray(width - out.size(), '\0'));
    return out;
}

} // namespace

QByteArray FrameHeader::bytes() const
{
    QByteArray out(4, '\0');
    out[0] = char(0xFF);
    out[1] = char(0xE0 | (version & 3) << 3 | (layer & 3) << 1 | (protection ? 1 : 0));
    out[2] = char((bitRateIndex & 15) << 4 | (frequencyIndex & 3) << 2 | (padding ? 2 : 0) |
                  (privateBit ? 1 : 0));
    out[3] = char((mode & 3) << 6 | (modeExtension & 3) << 4 | (copyright ? 8 : 0) |
                  (original ? 4 : 0) | (emphasis & 3));
    return out;
}

int FrameHeader::bitRate() const
{
    if (version == 1 || layer == 0)
        return 0;
    const int row = 3 - layer; // Layer I, II, III
    return version == 3 ? BitRatesV1[row][bitRateIndex & 15] : BitRatesV2[row][bitRateIndex & 15];
}

int FrameHeader::frequency() const
{
    return Frequencies[version & 3][frequencyIndex & 3];
}

int FrameHeader::frameLength() const
{
    const int rate = bitRate();
    const int hz = frequency();
    if (rate == 0 || hz == 0)
        return 0;
    const int pad = padding ? 1 : 0;
    if (layer == 3)
        return (12 * rate * 1000 / hz + pad) * 4;
    const int factor = (layer == 1 && version != 3) ? 72 : 144;
    return factor * rate * 1000 / hz + pad;
}

int FrameHeader::xingOffset() const
{
    const bool mono = mode == 3;
    if (version == 3)
        return mono ? 21 : 36;
    return mono ? 13 : 21;
}

QByteArray frame(const FrameHeader &header, int length)
{
    if (length <= 0)
        length = qMax(header.frameLength(), 4);
    QByteArray out = header.bytes();
    out.append(QByteArray(length - 4, '\0'));
    return out;
}

QByteArray frames(const FrameHeader &header, int count)
{
    const QByteArray one = frame(header);
    QByteArray out;
    out.reserve(one.size() * count);
    for (int i = 0; i < count; ++i)
        out.append(one);
    return out;
}

QByteArray streamOfSize(const FrameHeader &header, qint64 size)
{
    const QByteArray one = frame(header);
    QByteArray out;
    out.reserve(size);
    while (out.size() < size)
        out.append(one.left(size - out.size()));
    return out;
}

QByteArray xingFrame(const FrameHeader &header, const XingFields &fields)
{
    QByteArray out = frame(header);
    QByteArray body = fields.tag;
    quint32 flags = 0;
    if (fields.frames)
        flags |= 1;
    if (fields.bytes)
        flags |= 2;
    appendBigEndian(body, flags, 4);
    if (fields.frames)
        appendBigEndian(body, *fields.frames, 4);
    if (fields.bytes)
        appendBigEndian(body, *fields.bytes, 4);
    const int at = header.xingOffset();
    if (out.size() < at + body.size())
        out.append(QByteArray(at + body.size() - out.size(), '\0'));
    out.replace(at, body.size(), body);
    return out;
}

QByteArray vbriFrame(const FrameHeader &header, quint16 delay, quint32 bytes, quint32 frames)
{
    QByteArray out = frame(header);
    QByteArray body = "VBRI";
    appendBigEndian(body, 1, 2); // version
    appendBigEndian(body, delay, 2);
    appendBigEndian(body, 75, 2); // quality
    appendBigEndian(body, bytes, 4);
    appendBigEndian(body, frames, 4);
    appendBigEndian(body, 0, 2); // no table of contents
    appendBigEndian(body, 1, 2);
    appendBigEndian(body, 2, 2);
    appendBigEndian(body, 1, 2);
    if (out.size() < 36 + body.size())
        out.append(QByteArray(36 + body.size() - out.size(), '\0'));
    out.replace(36, body.size(), body);
    return out;
}

QByteArray id3v2Frame(int majorVersion, QByteArrayView id, QByteArrayView content)
{
    QByteArray out = id.toByteArray();
    const auto size = quint32(content.size());
    if (majorVersion == 2) {
        appendBigEndian(out, size, 3);
    } else {
        if (majorVersion == 4)
            out.append(synchsafe(size));
        else
            appendBigEndian(out, size, 4);
        out.append(2, '\0');
    }
    out.append(content.data(), content.size());
    return out;
}

QByteArray id3v2TextFrame(int majorVersion, QByteArrayView id, const QString &text)
{
    return id3v2Frame(majorVersion, id, QByteArray(1, '\0') + text.toLatin1());
}

QByteArray id3v2PictureFrame(int majorVersion, int pictureSize)
{
    QByteArray content(1, '\0');
    if (majorVersion == 2)
        content += "JPG";
    else
        content += QByteArray("image/jpeg") + '\0';
    content += char(3); // front cover
    content += '\0';    // empty description
    // JPEG-like bytes: markers begin with 0xFF, so a picture is full of would-be syncs.
    QByteArray picture;
    picture.reserve(pictureSize);
    const char pattern[] = {char(0xFF), char(0xFB), char(0x90), char(0x64),
                            char(0xFF), char(0xD8), char(0xFF), char(0xE0)};
    while (picture.size() < pictureSize)
        picture.append(pattern, qMin<qsizetype>(sizeof pattern, pictureSize - picture.size()));
    return id3v2Frame(majorVersion, majorVersion == 2 ? "PIC" : "APIC", content + picture);
}

QByteArray id3v2Tag(int majorVersion, const QList<QByteArray> &frames, int padding, bool footer)
{
    QByteArray body;
    for (const QByteArray &f : frames)
        body += f;
    body.append(QByteArray(padding, '\0'));
    const char flags = footer ? char(0x10) : char(0);
    QByteArray out = QByteArray("ID3") + char(majorVersion) + char(0) + flags;
    out += synchsafe(quint32(body.size()));
    out += body;
    if (footer)
        out += QByteArray("3DI") + char(majorVersion) + char(0) + flags +
               synchsafe(quint32(body.size()));
    return out;
}

QByteArray id3v1Block(const QString &title, const QString &artist, const QString &album,
                      const QString &year, const QString &comment, int track, int genre)
{
    QByteArray out = "TAG";
    out += latin1Field(title, 30);
    out += latin1Field(artist, 30);
    out += latin1Field(album, 30);
    out += latin1Field(year, 4);
    out += latin1Field(comment, 28);
    out += '\0';
    out += char(track);
    out += char(genre);
    return out;
}

bool writeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), bytes.size()) == bytes.size();
}

} // namespace mpegstream
