#include "mpegstream.h"

#include <QDataStream>
#include <QFile>

namespace mpegstream {

namespace {

// `count` big-endian digits of `bits` bits each: 8 for plain sizes, 7 for synchsafe ones.
QByteArray bigEndian(quint32 value, int count, int bits = 8)
{
    QByteArray out;
    for (int i = count - 1; i >= 0; --i)
        out.append(char((value >> (bits * i)) & ((1u << bits) - 1)));
    return out;
}

// `body` written at `at` inside the frame, the frame grown with zero bytes when too short.
QByteArray placed(QByteArray frame, int at, const QByteArray &body)
{
    if (frame.size() < at + body.size())
        frame.append(QByteArray(at + body.size() - frame.size(), '\0'));
    return frame.replace(at, body.size(), body);
}

QByteArray id3v2Frame(int majorVersion, QByteArrayView id, const QByteArray &content)
{
    const auto size = quint32(content.size());
    if (majorVersion == 2)
        return id.toByteArray() + bigEndian(size, 3) + content;
    // v2.4 sizes are synchsafe; two flag bytes follow the size.
    return id.toByteArray() + bigEndian(size, 4, majorVersion == 4 ? 7 : 8) + QByteArray(2, '\0') +
           content;
}

} // namespace

QByteArray FrameHeader::bytes() const
{
    QByteArray out(4, char(0xFF));
    out[1] = char(0xE0 | (version & 3) << 3 | (layer & 3) << 1 | (protection ? 1 : 0));
    out[2] = char((bitRateIndex & 15) << 4 | (frequencyIndex & 3) << 2 | (padding ? 2 : 0) |
                  (privateBit ? 1 : 0));
    out[3] = char((mode & 3) << 6 | (modeExtension & 3) << 4 | (copyright ? 8 : 0) |
                  (original ? 4 : 0) | (emphasis & 3));
    return out;
}

int FrameHeader::frameLength() const
{
    static const int bitRatesV1[3][16] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}, // Layer I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},    // Layer II
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},     // Layer III
    };
    static const int bitRatesV2[2][16] = {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0}, // Layer I
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},      // Layers II, III
    };
    static const int frequencies[4][4] = {
        {11025, 12000, 8000, 0}, {0, 0, 0, 0}, {22050, 24000, 16000, 0}, {44100, 48000, 32000, 0}};
    if (version == 1 || layer == 0)
        return 0;
    const int row = 3 - layer; // Layer I, II, III
    const int rate = version == 3 ? bitRatesV1[row][bitRateIndex & 15]
                                  : bitRatesV2[qMin(row, 1)][bitRateIndex & 15];
    const int hz = frequencies[version & 3][frequencyIndex & 3];
    if (rate == 0 || hz == 0)
        return 0;
    const int pad = padding ? 1 : 0;
    if (layer == 3)
        return (12 * rate * 1000 / hz + pad) * 4;
    return (layer == 1 && version != 3 ? 72 : 144) * rate * 1000 / hz + pad;
}

QByteArray frame(const FrameHeader &header)
{
    return header.bytes() + QByteArray(qMax(header.frameLength(), 4) - 4, '\0');
}

QByteArray frames(const FrameHeader &header, int count)
{
    return frame(header).repeated(count);
}

QByteArray streamOfSize(const FrameHeader &header, qint64 size)
{
    const QByteArray one = frame(header);
    QByteArray out = one.repeated(size / one.size() + 1);
    out.truncate(size);
    return out;
}

QByteArray xingFrame(const FrameHeader &header, const XingFields &fields)
{
    QByteArray body;
    QDataStream s(&body, QIODevice::WriteOnly);
    s.writeRawData(fields.tag.constData(), int(fields.tag.size()));
    s << quint32((fields.frames ? 1 : 0) | (fields.bytes ? 2 : 0));
    if (fields.frames)
        s << *fields.frames;
    if (fields.bytes)
        s << *fields.bytes;
    // The side information takes 32 bytes (MPEG 1) or 17 (MPEG 2 and 2.5), half of it in mono.
    const bool mono = header.mode == 3;
    return placed(frame(header), header.version == 3 ? (mono ? 21 : 36) : (mono ? 13 : 21), body);
}

QByteArray vbriFrame(const FrameHeader &header, quint16 delay, quint32 bytes, quint32 frames)
{
    QByteArray body;
    QDataStream s(&body, QIODevice::WriteOnly);
    s.writeRawData("VBRI", 4);
    // Version, delay, quality, sizes, then a table of contents of no entries.
    s << quint16(1) << delay << quint16(75) << bytes << frames << quint16(0) << quint16(1)
      << quint16(2) << quint16(1);
    return placed(frame(header), 36, body);
}

QByteArray id3v2TextFrame(int majorVersion, QByteArrayView id, const QString &text)
{
    return id3v2Frame(majorVersion, id, QByteArray(1, '\0') + text.toLatin1());
}

QByteArray id3v2PictureFrame(int majorVersion, int pictureSize)
{
    // Encoding, format, front cover, empty description, then JPEG-like bytes: markers begin
    // with 0xFF, so a picture is full of would-be syncs.
    QByteArray content =
        majorVersion == 2 ? QByteArray("\0JPG\3\0", 6) : QByteArray("\0image/jpeg\0\3\0", 14);
    const QByteArray jpeg("\xFF\xFB\x90\x64\xFF\xD8\xFF\xE0", 8);
    content += jpeg.repeated(pictureSize / 8 + 1).left(pictureSize);
    return id3v2Frame(majorVersion, majorVersion == 2 ? "PIC" : "APIC", content);
}

QByteArray id3v2Tag(int majorVersion, const QList<QByteArray> &frames, int padding, bool footer)
{
    const QByteArray body = frames.join() + QByteArray(padding, '\0');
    const QByteArray rest = QByteArray(1, char(majorVersion)) + '\0' + (footer ? '\x10' : '\0') +
                            bigEndian(quint32(body.size()), 4, 7);
    return "ID3" + rest + body + (footer ? "3DI" + rest : QByteArray());
}

QByteArray id3v1Block(const QString &title, const QString &artist, const QString &album,
                      const QString &year, const QString &comment, int track, int genre)
{
    const auto field = [](const QString &text, int width) {
        return text.toLatin1().left(width).leftJustified(width, '\0');
    };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
           field(comment, 28) + '\0' + char(track) + char(genre);
}

bool writeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), bytes.size()) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace mpegstream
