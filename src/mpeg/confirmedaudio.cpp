#include "mpeg/confirmedaudio.h"

#include "mpeg/audiostart.h"
#include "mpeg/bytereader.h"

#include <QIODevice>

namespace mpeg {

namespace {

// How far after the tags the first confirmed frame may start: some encoders and taggers leave
// junk there, but a real stream starts within a few kilobytes.
constexpr qint64 SearchWindow = 64 * 1024;
// Zero bytes some taggers leave after a tag, beyond its declared size.
constexpr qint64 MaxPadding = 1024 * 1024;

// kbit/s by [MPEG-1?][layer - 1][index].
constexpr int BitRates[2][3][16] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
};

// Hz by [version bits][index]; version bits 1 is reserved.
constexpr int Frequencies[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

// Signatures of containers whose audio is not an MPEG stream, at the file's start or after an
// ID3v2 tag, with the offset at which they stand.
struct Signature
{
    const char *magic;
    int offset;
    const char *name;
};
constexpr Signature Containers[] = {
    {"RIFF", 0, "WAV (RIFF)"}, {"RF64", 0, "WAV (RF64)"},
    {"fLaC", 0, "FLAC"},       {"OggS", 0, "Ogg"},
    {"ftyp", 4, "MP4"},        {"FORM", 0, "AIFF"},
    {"wvpk", 0, "WavPack"},    {"MAC ", 0, "Monkey's Audio"},
};

QString containerAt(ByteReader &in, qint64 pos)
{
    for (const Signature &s : Containers) {
        if (in.bytes(pos + s.offset, 4) == s.magic)
            return QString::fromLatin1(s.name);
    }
    return {};
}

FrameHeader headerAt(ByteReader &in, qint64 pos)
{
    if (pos + 4 > in.size())
        return {};
    return decodeFrameHeader(in.bigEndian(pos, 4));
}

} // namespace

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
    const int version = (h >> 19) & 3, layerBits = (h >> 17) & 3;
    const int rateIndex = (h >> 12) & 15, frequencyIndex = (h >> 10) & 3;
    if (version == 1 || layerBits == 0 || rateIndex == 0 || rateIndex == 15 || frequencyIndex == 3)
        return f;
    f.mpeg1 = version == 3;
    f.layer = 4 - layerBits;
    f.bitRate = BitRates[f.mpeg1][f.layer - 1][rateIndex];
    f.frequency = Frequencies[version][frequencyIndex];
    f.padded = (h >> 9) & 1;
    f.mono = ((h >> 6) & 3) == 3;
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

AudioCheck checkMpegAudio(QIODevice &device)
{
    AudioCheck check;
    ByteReader in(device, device.size(), 16 * 1024);
    check.container = containerAt(in, 0);
    qint64 pos = audioStart(in);
    if (check.container.isEmpty())
        check.container = containerAt(in, pos);
    if (!check.container.isEmpty())
        return check;
    const qint64 paddingEnd = std::min(in.size(), pos + MaxPadding);
    while (pos < paddingEnd && in.at(pos) == 0)
        ++pos;
    const qint64 end = std::min(in.size(), pos + SearchWindow);
    for (; pos < end; ++pos) {
        if (in.at(pos) != 0xFF)
            continue;
        const FrameHeader header = headerAt(in, pos);
        if (!header.valid)
            continue;
        const qint64 next = pos + header.length;
        const bool confirmed = next == in.size() || header.sameStream(headerAt(in, next)) ||
                               (next + 128 == in.size() && in.bytes(next, 3) == "TAG");
        if (confirmed) {
            check.firstFrame = pos;
            check.header = header;
            return check;
        }
    }
    return check;
}

} // namespace mpeg
