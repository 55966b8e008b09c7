#include "cd/ripper.h"

#include "cd/cddevice.h"
#include "cd/lamestream.h"
#include "cd/wavfile.h"

#include <cstring>
#include <optional>
#include <vector>

namespace cd {

namespace {

// A batch that fails is read again this many times before it is written as silence.
constexpr int readRetries = 3;

// Where the batches of a track go: a WAV file or an encoder stream.
class BatchSink
{
public:
    virtual ~BatchSink() = default;
    virtual bool begin(OutputFile &file, qint64 sectors) = 0;
    virtual bool write(OutputFile &file, const char *pcm, int bytes) = 0;
    virtual bool end(OutputFile &file) = 0;
};

class WavSink final : public BatchSink
{
public:
    bool begin(OutputFile &file, qint64 sectors) override
    {
        // Every sector of the track is written (silence where it cannot be read), so the
        // sizes are known before the first batch.
        const QByteArray header = wavHeader(quint32(sectors * sectorBytes));
        return file.write(header.constData(), header.size());
    }
    bool write(OutputFile &file, const char *pcm, int bytes) override
    {
        return file.write(pcm, bytes);
    }
    bool end(OutputFile &) override { return true; }
};

class Mp3Sink final : public BatchSink
{
public:
    explicit Mp3Sink(LameStream &stream) : m_stream(stream) {}
    bool begin(OutputFile &, qint64) override { return true; }
    bool write(OutputFile &file, const char *pcm, int bytes) override
    {
        // CD audio is little-endian 16-bit, the machine's own order on the supported targets.
        const auto mp3 = m_stream.encodeChunk(reinterpret_cast<const qint16 *>(pcm), bytes / 2);
        if (!mp3) {
            m_encoderFailed = true;
            return false;
        }
        return file.write(mp3->data(), mp3->size());
    }
    bool end(OutputFile &file) override
    {
        const auto mp3 = m_stream.finish();
        if (!mp3) {
            m_encoderFailed = true;
            return false;
        }
        return file.write(mp3->data(), mp3->size());
    }
    bool encoderFailed() const { return m_encoderFailed; }

private:
    LameStream &m_stream;
    bool m_encoderFailed = false;
};

RipResult failure(RipStatus status)
{
    RipResult r;
    r.status = status;
    return r;
}

struct TrackExtent
{
    int start = 0;
    int end = 0;
};

// Opens the drive and finds the track's sectors; the device is left open in `device`.
RipResult locateTrack(const QString &drive, int trackIndex, std::optional<CdDevice> &device,
                      TrackExtent &extent)
{
    device = CdDevice::open(drive);
    if (!device)
        return failure(RipStatus::DeviceUnavailable);
    const auto toc = device->readToc();
    if (!toc)
        return failure(RipStatus::TocUnreadable);
    if (trackIndex < 0 || trackIndex >= toc->trackCount())
        return failure(RipStatus::BadTrackIndex);
    extent = {toc->trackStart(trackIndex), toc->trackEnd(trackIndex)};
    // A track that ends before it starts, or longer than a WAV size can describe, is a
    // table of contents that cannot be right.
    if (extent.end < extent.start ||
        qint64(extent.end - extent.start) * sectorBytes > 0xFFFFFFFFLL - (wavHeaderBytes - 8))
        return failure(RipStatus::TocUnreadable);
    return {};
}

bool readWithRetries(const CdDevice &device, int first, int count, char *buffer)
{
    // A read that reports success without filling the whole buffer (an image cut short) must
    // leave silence there, never the bytes of the previous batch.
    std::memset(buffer, 0, size_t(count) * sectorBytes);
    for (int attempt = 0; attempt <= readRetries; ++attempt) {
        if (device.readAudio(first, count, buffer))
            return true;
    }
    return false;
}

RipResult ripTrack(const CdDevice &device, const TrackExtent &extent, const QString &fileName,
                   Overwrite overwrite, BatchSink &sink, const RipProgress &progress)
{
    RipResult result;
    const qint64 total = extent.end - extent.start;
    OutputFile file;
    auto writeFailure = [&file] {
        RipResult r = failure(RipStatus::WriteFailed);
        r.detail = file.errorMessage();
        return r;
    };
    if (!file.open(fileName, overwrite) || !sink.begin(file, total))
        return writeFailure();
    if (progress && !progress(0, total))
        return failure(RipStatus::Cancelled);

    std::vector<char> buffer(batchSectors * sectorBytes);
    // The last batch is shorter when the track length is not a multiple of the batch size.
    for (int pos = extent.start; pos < extent.end;) {
        const int count = std::min(batchSectors, extent.end - pos);
        const int bytes = count * sectorBytes;
        if (!readWithRetries(device, pos, count, buffer.data())) {
            std::memset(buffer.data(), 0, size_t(bytes));
            result.unreadableSectors += count;
        }
        if (!sink.write(file, buffer.data(), bytes))
            return writeFailure();
        pos += count;
        if (progress && !progress(pos - extent.start, total))
            return failure(RipStatus::Cancelled);
    }
    if (!sink.end(file) || !file.commit())
        return writeFailure();
    return result;
}

} // namespace

RipResult ripTrackToWav(const QString &drive, int trackIndex, const QString &fileName,
                        Overwrite overwrite, const RipProgress &progress)
{
    std::optional<CdDevice> device;
    TrackExtent extent;
    if (RipResult r = locateTrack(drive, trackIndex, device, extent); !r.ok())
        return r;
    WavSink sink;
    return ripTrack(*device, extent, fileName, overwrite, sink, progress);
}

RipResult ripTrackToMp3(const QString &drive, int trackIndex, const QString &fileName,
                        Overwrite overwrite, const RipProgress &progress)
{
    std::optional<CdDevice> device;
    TrackExtent extent;
    if (RipResult r = locateTrack(drive, trackIndex, device, extent); !r.ok())
        return r;
    auto stream = LameStream::open(cdTrackEncoderConfig());
    if (!stream)
        return failure(RipStatus::EncoderFailed);
    Mp3Sink sink(*stream);
    RipResult result = ripTrack(*device, extent, fileName, overwrite, sink, progress);
    if (sink.encoderFailed())
        result.status = RipStatus::EncoderFailed;
    return result;
}

QString ripErrorMessage(const RipResult &result)
{
    switch (result.status) {
    case RipStatus::TocUnreadable:
        return QStringLiteral("Lecture du disque impossible");
    case RipStatus::BadTrackIndex:
        return QStringLiteral("N° de piste incorrecte");
    case RipStatus::EncoderFailed:
        return QStringLiteral("Initialisation de Lame Encoder impossible");
    case RipStatus::WriteFailed:
        return result.detail;
    case RipStatus::Ok:
    case RipStatus::DeviceUnavailable:
    case RipStatus::Cancelled:
        break;
    }
    return {};
}

} // namespace cd
