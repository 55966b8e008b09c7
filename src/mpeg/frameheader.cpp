#include "mpeg/frameheader.h"

namespace mpeg {

namespace {

// kbit/s by [MPEG-1?][layer - 1][index].
constexpr int BitRates[2][3][16] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
};

// Hz by [version bits][index]; version bits 1 and index 3 are reserved.
constexpr int Frequencies[4][4] = {
    {11025, 12000, 8000, 0}, {0, 0, 0, 0}, {22050, 24000, 16000, 0}, {44100, 48000, 32000, 0}};

const char *const VersionTexts[4] = {"2.5", "Réservé", "2.0", "1.0"};
const char *const LayerTexts[4] = {"Réservé", "III", "II", "I"};
const char *const LayerIIIModeExtTexts[4] = {
    "Stereo : OFF - MS Stereo : OFF", "Stereo : ON - MS Stereo : OFF",
    "Stereo : OFF - MS Stereo : ON", "Stereo : ON - MS Stereo : ON"};

} // namespace

int HeaderFields::bitRate() const
{
    if (layerBits == 0)
        return 0;
    return BitRates[mpeg1()][3 - layerBits][bitRateIndex];
}

int HeaderFields::frequency() const
{
    return Frequencies[version][frequencyIndex];
}

QString versionText(int version)
{
    return QString::fromUtf8(VersionTexts[version]);
}

QString layerText(int layerBits)
{
    return QString::fromUtf8(LayerTexts[layerBits]);
}

QString layerIIIModeExtensionText(int modeExtension)
{
    return QString::fromUtf8(LayerIIIModeExtTexts[modeExtension]);
}

HeaderFields headerFields(quint32 h)
{
    HeaderFields f;
    f.version = (h >> 19) & 3;
    f.layerBits = (h >> 17) & 3;
    f.crc = !((h >> 16) & 1);
    f.bitRateIndex = (h >> 12) & 15;
    f.frequencyIndex = (h >> 10) & 3;
    f.padded = (h >> 9) & 1;
    f.privateBit = (h >> 8) & 1;
    f.mode = (h >> 6) & 3;
    f.modeExtension = (h >> 4) & 3;
    f.copyright = (h >> 3) & 1;
    f.original = (h >> 2) & 1;
    f.emphasis = h & 3;
    return f;
}

bool FrameHeader::sameStream(const FrameHeader &other) const
{
    return valid && other.valid && mpeg1 == other.mpeg1 && layer == other.layer &&
           frequency == other.frequency;
}

FrameHeader decodeFrameHeader(quint32 h)
{
    FrameHeader f;
    if ((h >> 21) != 0x7FF)
        return f;
    const HeaderFields fields = headerFields(h);
    if (fields.version == 1 || fields.layerBits == 0 || fields.bitRateIndex == 15 ||
        fields.frequencyIndex == 3)
        return f;
    f.mpeg1 = fields.mpeg1();
    f.layer = 4 - fields.layerBits;
    f.bitRate = fields.bitRate();
    f.frequency = fields.frequency();
    f.padded = fields.padded;
    f.mono = fields.mono();
    f.freeFormat = fields.bitRateIndex == 0;
    if (f.freeFormat)
        return f;
    const qint64 bits = qint64(f.bitRate) * 1000;
    if (f.layer == 1)
        f.length = (12 * bits / f.frequency + (f.padded ? 1 : 0)) * 4;
    else if (f.layer == 3 && !f.mpeg1)
        f.length = 72 * bits / f.frequency + (f.padded ? 1 : 0);
    else
        f.length = 144 * bits / f.frequency + (f.padded ? 1 : 0);
    f.valid = f.length > 4;
    return f;
}

int freeFormatBitRate(const FrameHeader &header, qint64 length)
{
    // A Layer I padding slot is four bytes, the others one.
    const qint64 slot = header.layer == 1 ? 4 : 1;
    const qint64 samples =
        header.layer == 1 ? 384 : (header.layer == 3 && !header.mpeg1 ? 576 : 1152);
    const qint64 bytes = length - (header.padded ? slot : 0);
    if (bytes <= 0 || header.frequency <= 0)
        return 0;
    return int((bytes * 8 * header.frequency + samples * 500) / (samples * 1000));
}

int xingOffset(bool mpeg1, bool mono)
{
    return mpeg1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
}

} // namespace mpeg
