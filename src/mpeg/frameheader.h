#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace mpeg {

// The fields of a four-byte MPEG audio frame header, as its bits give them. Every reader of
// frame headers decodes them here and applies its own rules to the values.
struct HeaderFields
{
    int version = 0;   // version bits: 0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1
    int layerBits = 0; // 0 reserved, 1 Layer III, 2 Layer II, 3 Layer I
    bool crc = false;  // the protection bit is clear: a CRC follows the header
    int bitRateIndex = 0;
    int frequencyIndex = 0;
    bool padded = false;
    bool privateBit = false;
    int mode = 0; // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int modeExtension = 0;
    bool copyright = false;
    bool original = false;
    int emphasis = 0;

    bool mpeg1() const { return version == 3; }
    bool mono() const { return mode == 3; }
    // kbit/s; 0 for the free format, for index 15 and for a reserved layer.
    int bitRate() const;
    // Hz; 0 for a reserved version or index.
    int frequency() const;
};

// The names the analyses show for the version and layer fields and for the Layer III mode
// extension.
QString versionText(int version);
QString layerText(int layerBits);
QString layerIIIModeExtensionText(int modeExtension);

// Splits a header given most significant byte first into its fields (the sync bits are not
// checked).
HeaderFields headerFields(quint32 header);

// The fields of a frame header that tell where the next frame starts.
struct FrameHeader
{
    bool valid = false;
    bool mpeg1 = false;
    int layer = 0;     // 1, 2 or 3
    int bitRate = 0;   // kbit/s
    int frequency = 0; // Hz
    bool padded = false;
    bool mono = false;
    // The bit-rate index is 0: the rate is not in the header, and the length must be measured
    // from the distance to the next header (see freeFormatLength).
    bool freeFormat = false;
    qint64 length = 0; // bytes, header included

    // Same version, layer and sampling frequency: the marks of the same stream.
    bool sameStream(const FrameHeader &other) const;
};

// Decodes a header given most significant byte first. Reserved values are not valid; nor is a
// free-format header, whose length the header alone cannot give (it is marked freeFormat when
// its other fields are valid).
FrameHeader decodeFrameHeader(quint32 header);

// The bits two headers of one free-format stream share: sync, version, layer, protection, the
// bit-rate index 0 and the sampling frequency.
constexpr quint32 FreeFormatMask = 0xFFFFFC00;

// The bit rate in kbit/s of a free-format frame of `length` bytes (padding included), rounded:
// its bits over its duration.
int freeFormatBitRate(const FrameHeader &header, qint64 length);

// Where a Xing header stands in a frame, from the frame's start: after the side information,
// whose size depends on the version and the channel count.
int xingOffset(bool mpeg1, bool mono);

// Where a VBRI header and its byte count stand in a frame, from the frame's start.
constexpr int VbriOffset = 36;
constexpr int VbriByteCountOffset = 46;

} // namespace mpeg
