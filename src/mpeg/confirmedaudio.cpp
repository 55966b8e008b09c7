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
// The highest bit rate a free-format stream may have, in bit/s.
constexpr qint64 MaxFreeFormatRate = 640000;

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
    {"ADIF", 0, "AAC (ADIF)"},
};

// RIFF format tags of MPEG audio: MPEG Layers I and II, and MPEG Layer III.
bool isMpegFormat(quint32 formatTag)
{
    return formatTag == 0x0050 || formatTag == 0x0055;
}

// A RIFF file whose format chunk names a format other than MPEG audio.
bool riffOfOtherFormat(ByteReader &in)
{
    // Each chunk is at least 8 bytes long, so the walk ends within the file.
    for (qint64 chunk = 12; chunk + 8 <= in.size();) {
        const QByteArray id = in.bytes(chunk, 4);
        if (id == "fmt ")
            return !isMpegFormat(in.littleEndian32(chunk + 8) & 0xFFFF);
        if (id.toLower() == "data")
            return false;
        const qint64 size = in.littleEndian32(chunk + 4);
        chunk += 8 + size + (size & 1);
    }
    return false;
}

// An ADTS header: the sync bits of an MPEG header with the reserved layer 0.
bool adtsHeaderAt(ByteReader &in, qint64 pos)
{
    return in.at(pos) == 0xFF && (in.at(pos + 1) & 0xF6) == 0xF0;
}

// True when the audio ends at `pos`: the end of the file, or an ID3v1 block that ends it.
bool audioEndsAt(ByteReader &in, qint64 pos)
{
    return pos == in.size() || (pos + 128 == in.size() && in.bytes(pos, 3) == "TAG");
}

QString containerAt(ByteReader &in, qint64 pos)
{
    for (const Signature &s : Containers) {
        if (in.bytes(pos + s.offset, 4) == s.magic)
            return QString::fromLatin1(s.name);
    }
    // An AAC stream: an ADTS header followed, at the frame length it gives, by another.
    if (adtsHeaderAt(in, pos)) {
        const qint64 length = qint64(in.bigEndian(pos + 3, 3) >> 5) & 0x1FFF;
        if (length > 7 && (adtsHeaderAt(in, pos + length) || audioEndsAt(in, pos + length)))
            return QStringLiteral("AAC (ADTS)");
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

QString nonMpegContainer(ByteReader &in)
{
    if (in.bytes(0, 4) == "RIFF")
        return riffOfOtherFormat(in) ? QStringLiteral("WAV (RIFF)") : QString();
    const QString atStart = containerAt(in, 0);
    return atStart.isEmpty() ? containerAt(in, audioStart(in)) : atStart;
}

QString nonMpegContainer(QIODevice &device)
{
    ByteReader in(device, device.size(), 16 * 1024);
    return nonMpegContainer(in);
}

qint64 freeFormatLength(ByteReader &in, qint64 pos)
{
    const quint32 first = in.bigEndian(pos, 4);
    const FrameHeader header = decodeFrameHeader(first);
    if (!header.freeFormat)
        return 0;
    // A frame holds at least its header and side information; the next header of the stream
    // comes first within the longest frame, and a chance pattern in the audio is caught by the
    // header that must follow it.
    const qint64 shortest = xingOffset(header.mpeg1, header.mono);
    const qint64 slot = header.layer == 1 ? 4 : 1;
    const qint64 longest = 144 * MaxFreeFormatRate / header.frequency + slot;
    const QByteArray ahead = in.bytes(pos, longest + 4);
    for (qint64 d = shortest; d + 4 <= ahead.size(); ++d) {
        if (uchar(ahead[d]) != 0xFF)
            continue;
        const quint32 next = in.bigEndian(pos + d, 4);
        if ((next & FreeFormatMask) != (first & FreeFormatMask))
            continue;
        // The frame after it has the same length, but for their padding.
        const qint64 unpadded = d - (header.padded ? slot : 0);
        const qint64 third = pos + d + unpadded + ((next & 0x200) ? slot : 0);
        const bool confirmed =
            audioEndsAt(in, third) ||
            (third + 4 <= in.size() &&
             (in.bigEndian(third, 4) & FreeFormatMask) == (first & FreeFormatMask));
        return confirmed ? d : 0;
    }
    return 0;
}

AudioCheck checkMpegAudio(QIODevice &device)
{
    AudioCheck check;
    ByteReader in(device, device.size(), 16 * 1024);
    if (in.bytes(0, 4) == "RIFF")
        check.container = QStringLiteral("WAV (RIFF)");
    else
        check.container = nonMpegContainer(in);
    if (!check.container.isEmpty())
        return check;
    qint64 pos = audioStart(in);
    const qint64 paddingEnd = std::min(in.size(), pos + MaxPadding);
    while (pos < paddingEnd && in.at(pos) == 0)
        ++pos;
    const qint64 end = std::min(in.size(), pos + SearchWindow);
    for (; pos < end; ++pos) {
        if (in.at(pos) != 0xFF)
            continue;
        FrameHeader header = headerAt(in, pos);
        bool confirmed = false;
        if (header.freeFormat) {
            header.length = freeFormatLength(in, pos);
            header.valid = confirmed = header.length > 0;
        } else if (header.valid) {
            const qint64 next = pos + header.length;
            confirmed = header.sameStream(headerAt(in, next)) || audioEndsAt(in, next);
        }
        if (confirmed) {
            check.firstFrame = pos;
            check.header = header;
            return check;
        }
    }
    return check;
}

} // namespace mpeg
