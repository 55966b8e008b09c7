#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// Builders of MPEG audio streams for tests: frame headers of any version, layer and mode,
// whole frames, Xing and VBRI frames, ID3v2 tags of v2.2, v2.3 and v2.4, ID3v1 blocks.
namespace mpegstream {

// The 4-byte frame header, field by field. Fields hold their raw bit values.
struct FrameHeader
{
    int version = 3;        // 0 = MPEG 2.5, 1 = reserved, 2 = MPEG 2, 3 = MPEG 1
    int layer = 1;          // 0 = reserved, 1 = Layer III, 2 = Layer II, 3 = Layer I
    bool protection = true; // true: no CRC
    int bitRateIndex = 9;   // 128 kbit/s for MPEG 1 Layer III
    int frequencyIndex = 0; // 44100 Hz for MPEG 1
    bool padding = false;
    bool privateBit = false;
    int mode = 0; // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int modeExtension = 0;
    bool copyright = false;
    bool original = false;
    int emphasis = 0;

    QByteArray bytes() const;
    // Length in bytes of a whole frame as the standard gives it; 0 for a free, bad or reserved
    // bit rate, frequency, version or layer.
    int frameLength() const;
};

// One whole frame: the header followed by zero bytes.
QByteArray frame(const FrameHeader &header);
// `count` whole frames.
QByteArray frames(const FrameHeader &header, int count);
// A stream of exactly `size` bytes made of whole frames, the last one cut to fit.
QByteArray streamOfSize(const FrameHeader &header, qint64 size);

struct XingFields
{
    QByteArray tag = "Xing";
    std::optional<quint32> frames; // flag bit 0 when present
    std::optional<quint32> bytes;  // flag bit 1 when present
};
// A frame carrying a Xing header after the side information the header's version and mode give.
QByteArray xingFrame(const FrameHeader &header, const XingFields &fields);
// A frame carrying a VBRI header 36 bytes after the frame start.
QByteArray vbriFrame(const FrameHeader &header, quint16 delay, quint32 bytes, quint32 frames);

// A text frame in ISO-8859-1 (encoding byte 0) of a tag of the given major version: 3-character
// identifier and 24-bit size for 2.2, 32-bit size for 2.3, synchsafe size for 2.4.
QByteArray id3v2TextFrame(int majorVersion, QByteArrayView id, const QString &text);
// A picture frame with `pictureSize` bytes of picture data full of 0xFF-led false syncs.
QByteArray id3v2PictureFrame(int majorVersion, int pictureSize);
// A whole tag: header, the frames, `padding` zero bytes, and a footer (v2.4) when asked.
QByteArray id3v2Tag(int majorVersion, const QList<QByteArray> &frames, int padding = 0,
                    bool footer = false);

// The 128-byte ID3v1.1 block (Latin-1 text).
QByteArray id3v1Block(const QString &title, const QString &artist, const QString &album,
                      const QString &year, const QString &comment, int track, int genre);

// Writes bytes to a file; returns false on failure.
bool writeFile(const QString &path, QByteArrayView bytes);
// The bytes of a file; empty when it cannot be read.
QByteArray readFile(const QString &path);

} // namespace mpegstream
