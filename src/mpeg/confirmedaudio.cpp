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
