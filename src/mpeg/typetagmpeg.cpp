#include "mpeg/typetagmpeg.h"

#include "mpeg/audiostart.h"
#include "mpeg/bytereader.h"
#include "mpeg/confirmedaudio.h"
#include "mpeg/frameheader.h"

#include <QBuffer>
#include <QFile>

#include <cmath>

namespace mpeg {

namespace {

const char *const TypeTagModeTexts[4] = {"Stereo", "Joint Stereo", "Double Cha", "Mono"};
const char *const TypeTagEmphasisTexts[4] = {"Aucun", "50/15 ms", "Réservé", "CCIT J.17"};
const int IntensityFirstBand[4] = {4, 8, 12, 16};

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

bool tagAt(ByteReader &in, qint64 pos, const char *tag)
{
    return in.bytes(pos, 4).toUpper() == tag;
}

// Average bit rate and duration from the byte and frame counts of a VBR header: the duration is
// the frame count times the samples of one frame over the sampling frequency, in whole seconds,
// and the bit rate is rounded. False when the figures make no sense (no frames, no bytes) or the
// rate overflows its 16 bits: the candidate is then rejected.
bool vbrFigures(TypeTagMpeg &r, qint64 bytes, int samples)
{
    const qint64 totalSamples = r.Frames() * samples;
    if (totalSamples <= 0)
        return false;
    const double seconds = double(totalSamples) / r.Frequence();
    const double bitRate = std::round(double(bytes) * 8 / 1000 / seconds);
    if (bitRate <= 0 || bitRate > MaxBitRate)
        return false;
    r.setBitRate(int(bitRate));
    r.setDuree(totalSamples / r.Frequence());
    return true;
}

// Decodes the candidate header at o into r. False when the candidate is rejected and the
// search must go on at o + 1.
bool decodeCandidate(ByteReader &in, qint64 o, bool coucheIIouIII, TypeTagMpeg &r)
{
    const qint64 size = in.size();
    const HeaderFields h = headerFields(in.bigEndian(o, 4));
    const int layer = h.layerBits;

    // A reserved layer has no bit rate, a reserved version or frequency no sampling frequency.
    if ((coucheIIouIII && layer != 1 && layer != 2) || layer == 0 || h.frequency() == 0)
        return false;
    int bitRate = h.bitRate();
    const int frequency = h.frequency();
    // A free-format stream gives its rate through the distance between its headers.
    if (h.bitRateIndex == 0) {
        const quint32 header = in.bigEndian(o, 4);
        bitRate = freeFormatBitRate(decodeFrameHeader(header), freeFormatLength(in, o));
        if (bitRate > MaxBitRate)
            return false;
    }

    // Frame length for the count. The padding adds one frame, not one byte, and the
    // Layer I length is not multiplied by 4: the count is a rough estimate over the whole file.
    const qint64 length = (layer == 3 ? 12LL : 144LL) * bitRate * 1000 / frequency;
    if (length == 0)
        return false;

    r = TypeTagMpeg();
    r.setValide(true);
    r.setEntetePos(o);
    r.setMpeg(versionText(h.version));
    r.setLayer(layerText(layer));
    r.setCRC(h.crc);
    r.setBitRate(bitRate);
    r.setFrequence(frequency);
    r.setPadded(h.padded);
    r.setFrames(size / length + (h.padded ? 1 : 0));
    r.setPrivateBit(h.privateBit);
    r.setMode(text(TypeTagModeTexts[h.mode]));
    if (h.mode == 1) {
        if (layer == 1)
            r.setModeExt(layerIIIModeExtensionText(h.modeExtension));
        else
            r.setModeExt(QStringLiteral("Bands %1 to 31").arg(IntensityFirstBand[h.modeExtension]));
    }
    r.setCopyright(h.copyright);
    r.setOriginal(h.original);
    r.setEmphasis(text(TypeTagEmphasisTexts[h.emphasis]));

    // Constant bit rate: the bytes before the header (a tag) do not count, those after do.
    r.setTaille(size);
    if (r.BitRate() != 0)
        r.setDuree((size - o) * 8 / (1000LL * r.BitRate()));

    const qint64 xing = o + xingOffset(h.mpeg1(), h.mono());
    if (tagAt(in, xing, "XING")) {
        r.setVbr(QStringLiteral("VBR"));
        const int flags = in.byteOrZero(xing + 7);
        if (!(flags & 1)) {
            r.setValide(false);
            return true;
        }
        r.setFrames(in.bigEndian(xing + 8, 4));
        // The byte count is that of the audio, from this frame on: a tag before it is not in it.
        const qint64 bytes = (flags & 2) ? qint64(in.bigEndian(xing + 12, 4)) : size - o;
        return vbrFigures(r, bytes, samplesPerFrame(layer, h.mpeg1()));
    }
    if (tagAt(in, o + VbriOffset, "VBRI")) {
        r.setVbr(QStringLiteral("VBRI"));
        const qint64 delay = in.bigEndian(o + 42, 2);
        const qint64 bytes = in.bigEndian(o + VbriByteCountOffset, 4);
        r.setFrames(in.bigEndian(o + 50, 4));
        return vbrFigures(r, bytes - delay, samplesPerFrame(layer, h.mpeg1()));
    }
    return true;
}

// Where the sync search begins: the "data" chunk of a RIFF file, else after the ID3v2 tags.
qint64 searchStart(ByteReader &in)
{
    if (in.bytes(0, 4) != "RIFF")
        return audioStart(in);
    qint64 chunk = 12;
    while (chunk + 8 <= in.size()) {
        if (in.bytes(chunk, 4).toLower() == "data")
            return chunk + 8;
        const qint64 size = in.littleEndian32(chunk + 4);
        chunk += 8 + size + (size & 1); // chunks are padded to an even length
    }
    // No "data" chunk within the file: search all of it.
    return 0;
}

} // namespace

TypeTagMpeg analyseMpeg(QIODevice &device, bool coucheIIouIII)
{
    ByteReader in(device, device.size());
    // The headers a FLAC, Ogg or PCM file seems to hold are chance patterns in other data.
    if (!nonMpegContainer(in).isEmpty())
        return TypeTagMpeg();
    // A rejected candidate resumes the search one byte further, in a loop: the work stays
    // linear in the file size whatever the number of false syncs.
    for (qint64 o = in.findSync(searchStart(in)); o >= 0; o = in.findSync(o + 1)) {
        TypeTagMpeg r;
        if (decodeCandidate(in, o, coucheIIouIII, r))
            return r;
    }
    return TypeTagMpeg();
}

TypeTagMpeg analyseMpeg(QByteArrayView bytes, bool coucheIIouIII)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return analyseMpeg(buffer, coucheIIouIII);
}

int samplesPerFrame(int layerField, bool mpeg1)
{
    static const int Samples[4] = {0, 1152, 1152, 384};
    if (layerField == 1 && !mpeg1)
        return 576;
    return layerField >= 0 && layerField < 4 ? Samples[layerField] : 0;
}

TypeTagMpeg TypeTagMpeg::AnalyseMpeg(const QString &fichier, bool coucheIIouIII)
{
    QFile file(fichier);
    *this = file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)
                ? analyseMpeg(file, coucheIIouIII)
                : TypeTagMpeg();
    return *this;
}

} // namespace mpeg
