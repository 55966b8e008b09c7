#include "cd/ripper.h"

#include "cd/accuraterip.h"
#include "cd/cddevice.h"
#include "cd/lamestream.h"
#include "cd/securereader.h"
#include "cd/wavfile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <sys/mman.h>
#include <vector>

#include <QCoreApplication>

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
    // Where the next batch is to be read: scratch, or the sink's own memory, which spares a copy.
    virtual char *destination(char *scratch) { return scratch; }
    virtual bool write(OutputFile &file, const char *pcm, int bytes) = 0;
    virtual bool end(OutputFile &file) = 0;
    bool encoderFailed() const { return m_encoderFailed; }

protected:
    bool m_encoderFailed = false;
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
    explicit Mp3Sink(LameStream stream) : m_stream(std::move(stream)) {}
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
        if (!file.write(mp3->data(), mp3->size()))
            return false;
        // The information frame takes the place the encoder kept for it at the start.
        const QByteArray info = m_stream.infoFrame();
        return info.isEmpty() || file.writeAt(0, info);
    }

private:
    LameStream m_stream;
};

class FlacSink final : public BatchSink
{
public:
    explicit FlacSink(FlacStream stream) : m_stream(std::move(stream)) {}
    bool begin(OutputFile &, qint64) override { return true; }
    bool write(OutputFile &file, const char *pcm, int bytes) override
    {
        return written(file, m_stream.encode(reinterpret_cast<const qint16 *>(pcm), bytes / 4));
    }
    bool end(OutputFile &file) override
    {
        if (!written(file, m_stream.finish()))
            return false;
        // The stream information gets the count and MD5 sum of the samples once they are known.
        const auto rewrites = m_stream.rewrites();
        return std::all_of(rewrites.cbegin(), rewrites.cend(),
                           [&file](const auto &r) { return file.writeAt(r.first, r.second); });
    }

private:
    bool written(OutputFile &file, const std::optional<QByteArray> &bytes)
    {
        if (!bytes) {
            m_encoderFailed = true;
            return false;
        }
        return file.write(bytes->constData(), bytes->size());
    }

    FlacStream m_stream;
};

// The sink of an output, its encoder open; nothing when the encoder refuses its configuration.
std::unique_ptr<BatchSink> sinkFor(const TrackOutput &output, qint64 frames)
{
    switch (output.format) {
    case AudioFormat::Wav:
        return std::make_unique<WavSink>();
    case AudioFormat::Mp3:
        if (auto stream = LameStream::open(output.mp3))
            return std::make_unique<Mp3Sink>(std::move(*stream));
        break;
    case AudioFormat::Flac: {
        FlacConfig config = output.flac;
        config.totalFrames = frames;
        if (auto stream = FlacStream::open(config))
            return std::make_unique<FlacSink>(std::move(*stream));
        break;
    }
    }
    return nullptr;
}

// Keeps the track in memory, for an encoder that runs while the next track is read.
class MemorySink final : public BatchSink
{
public:
    explicit MemorySink(QByteArray &pcm) : m_pcm(pcm) {}
    bool begin(OutputFile &, qint64 sectors) override
    {
        // The batches are read straight into place: resize() leaves the new bytes as they are.
        m_pcm.resize(qsizetype(sectors) * sectorBytes);
        // Huge pages spare the kernel a fault for every 4 KiB of a track of tens of megabytes.
        constexpr quintptr hugePage = 2 << 20;
        const quintptr from = (quintptr(m_pcm.data()) + hugePage - 1) & ~(hugePage - 1);
        const quintptr to = (quintptr(m_pcm.data()) + quintptr(m_pcm.size())) & ~(hugePage - 1);
        if (to > from)
            ::madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
        return true;
    }
    char *destination(char *) override { return m_pcm.data() + m_size; }
    bool write(OutputFile &, const char *, int bytes) override
    {
        m_size += bytes;
        return true;
    }
    bool end(OutputFile &) override { return true; }

private:
    QByteArray &m_pcm;
    qsizetype m_size = 0;
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
    int discEnd = 0; // the lead-out: no sector is read from there on
    bool first = false;
    bool last = false;
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
    if (trackIndex < 0 || trackIndex >= toc->audioTrackCount())
        return failure(RipStatus::BadTrackIndex);
    const auto refused = [trackIndex](RipStatus status, const char *text) {
        RipResult r = failure(status);
        r.detail = QCoreApplication::translate("cd", text).arg(trackIndex + 1);
        return r;
    };
    if (toc->isDataTrack(trackIndex))
        return refused(RipStatus::DataTrack,
                       QT_TRANSLATE_NOOP("cd", "La piste %1 contient des données, pas du son."));
    // The disc's audio ends with its last audio track: an enhanced CD's data track follows.
    const int count = toc->audioTrackCount();
    extent = {toc->trackStart(trackIndex), toc->trackEnd(trackIndex), toc->trackEnd(count - 1),
              trackIndex == 0, trackIndex == count - 1};
    // An image shorter than its cue sheet says ends before some tracks do: their sectors do not
    // exist, and silence in their place would pass for music.
    if (extent.start >= toc->leadOut() || extent.end > toc->leadOut())
        return refused(RipStatus::BeyondDisc,
                       QT_TRANSLATE_NOOP("cd", "La piste %1 dépasse la fin du disque (image "
                                               "incomplète ?)."));
    // A track that ends before it starts, or longer than a WAV size can describe, is a
    // table of contents that cannot be right.
    if (extent.end <= extent.start ||
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

qint64 floorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The samples of a track, read in batches of sectors and shifted by the read offset: the
// track's first sample is read `offset` samples after the sector where the table of contents
// puts it. Samples before sector 0 or from the lead-out on are silence and are never read.
class TrackReader
{
public:
    TrackReader(const CdDevice &device, SecureReader *secure, const TrackExtent &extent,
                int offsetSamples)
        : m_device(device), m_secure(secure),
          m_frame(qint64(extent.start) * sectorFrames + offsetSamples),
          m_cache(batchSectors * sectorBytes)
    {
        const qint64 endFrame = qint64(extent.end) * sectorFrames + offsetSamples;
        m_readEnd = int(
            std::min<qint64>(floorDiv(endFrame + sectorFrames - 1, sectorFrames), extent.discEnd));
    }

    // The next `frames` stereo samples of the track.
    void next(char *out, int frames)
    {
        while (frames > 0) {
            const int sector = int(floorDiv(m_frame, sectorFrames));
            const int within = int(m_frame - qint64(sector) * sectorFrames);
            const int n = std::min(frames, sectorFrames - within);
            const bool cached = sector >= m_cacheFirst && sector < m_cacheFirst + m_cacheCount;
            if (sector < 0 || sector >= m_readEnd) {
                std::memset(out, 0, size_t(n) * 4);
            } else if (within == 0 && frames >= sectorFrames && !cached) {
                // Whole sectors (no offset, or one of whole sectors) are read straight into
                // place, as the cache would have read them.
                const int count =
                    std::min({frames / sectorFrames, batchSectors, m_readEnd - sector});
                readSectors(sector, count, out);
                out += qsizetype(count) * sectorBytes;
                frames -= count * sectorFrames;
                m_frame += qint64(count) * sectorFrames;
                continue;
            } else {
                if (!cached)
                    load(sector);
                std::memcpy(out,
                            m_cache.data() + qsizetype(sector - m_cacheFirst) * sectorBytes +
                                within * 4,
                            size_t(n) * 4);
            }
            out += qsizetype(n) * 4;
            frames -= n;
            m_frame += n;
        }
    }

    int unreadableSectors() const { return m_secure ? m_secure->inexactSectors() : m_unreadable; }

private:
    void load(int sector)
    {
        m_cacheFirst = sector;
        m_cacheCount = std::min(batchSectors, m_readEnd - sector);
        readSectors(sector, m_cacheCount, m_cache.data());
    }

    void readSectors(int sector, int count, char *buffer)
    {
        if (m_secure) {
            m_secure->read(sector, count, buffer);
        } else if (!readWithRetries(m_device, sector, count, buffer)) {
            std::memset(buffer, 0, size_t(count) * sectorBytes);
            m_unreadable += count;
        }
    }

    const CdDevice &m_device;
    SecureReader *m_secure;
    qint64 m_frame;
    int m_readEnd = 0;
    std::vector<char> m_cache;
    int m_cacheFirst = 0;
    int m_cacheCount = 0;
    int m_unreadable = 0;
};

// Where one output of a rip goes: its file (none for memory) and its sink.
struct Target
{
    const TrackOutput *output = nullptr;
    std::unique_ptr<BatchSink> sink;
    OutputFile file;
    RipStatus status = RipStatus::Ok;
};

// The failure of a target: its encoder's or its file's.
RipResult targetFailure(const Target &target)
{
    const bool flac = target.output && target.output->format == AudioFormat::Flac;
    RipResult r = failure(target.sink && target.sink->encoderFailed() ? RipStatus::EncoderFailed
                                                                      : RipStatus::WriteFailed);
    if (r.status == RipStatus::WriteFailed)
        r.detail = target.file.errorMessage();
    else if (flac)
        r.detail = QCoreApplication::translate("cd", "L'encodage FLAC de « %1 » a échoué.")
                       .arg(displayPath(target.output->fileName));
    return r;
}

// Reads the track once into every target. A target whose file or encoder fails is dropped and
// the others go on; a cancel stops them all.
std::vector<RipResult> ripTrack(const CdDevice &device, const TrackExtent &extent,
                                std::vector<Target> &targets, const RipProgress &progress,
                                const RipOptions &options)
{
    const qint64 total = extent.end - extent.start;
    std::vector<RipResult> results(targets.size());
    const auto cancelled = [&] {
        return std::vector<RipResult>(targets.size(), failure(RipStatus::Cancelled));
    };
    // Without an output the sink keeps the samples itself.
    bool toFile = false;
    for (size_t t = 0; t < targets.size(); ++t) {
        Target &target = targets[t];
        if (!target.sink) {
            results[t] = failure(RipStatus::EncoderFailed);
            target.status = RipStatus::EncoderFailed;
            continue;
        }
        toFile = toFile || target.output;
        if ((target.output &&
             !target.file.open(target.output->fileName, target.output->overwrite)) ||
            !target.sink->begin(target.file, total)) {
            results[t] = targetFailure(target);
            target.status = results[t].status;
        }
    }
    const auto live = [&targets] {
        return std::any_of(targets.cbegin(), targets.cend(),
                           [](const Target &t) { return t.status == RipStatus::Ok; });
    };
    if (!live())
        return results;
    if (progress && !progress(0, total))
        return cancelled();

    // The secure reader keeps to the drive: when cdparanoia cannot take it, the plain reads
    // are used and the result says so.
    const std::unique_ptr<SecureReader> secure =
        options.secure ? SecureReader::open(device) : nullptr;
    TrackReader reader(device, secure.get(), extent, options.offsetSamples);
    // Into memory, the writer sums the samples on its own thread.
    const bool summed = toFile;
    TrackChecksums sums(total * sectorFrames, extent.first, extent.last);
    std::vector<char> buffer(batchSectors * sectorBytes);
    // Into memory alone, the batches are read straight into place.
    BatchSink *only = targets.size() == 1 ? targets.front().sink.get() : nullptr;
    // The last batch is shorter when the track length is not a multiple of the batch size.
    for (qint64 done = 0; done < total && live();) {
        const int count = int(std::min<qint64>(batchSectors, total - done));
        const int bytes = count * sectorBytes;
        char *batch = only ? only->destination(buffer.data()) : buffer.data();
        reader.next(batch, count * sectorFrames);
        if (options.samplesRead)
            options.samplesRead(batch, bytes);
        if (summed)
            sums.add(batch, bytes);
        for (size_t t = 0; t < targets.size(); ++t) {
            Target &target = targets[t];
            if (target.status == RipStatus::Ok && !target.sink->write(target.file, batch, bytes)) {
                results[t] = targetFailure(target);
                target.status = results[t].status;
            }
        }
        done += count;
        if (progress && !progress(done, total))
            return cancelled();
    }
    for (size_t t = 0; t < targets.size(); ++t) {
        Target &target = targets[t];
        if (target.status != RipStatus::Ok)
            continue;
        if (!target.sink->end(target.file) ||
            (target.output && !target.file.commit(target.output->beforeNaming))) {
            results[t] = targetFailure(target);
            continue;
        }
        RipResult &result = results[t];
        result.secure = secure != nullptr;
        result.unreadableSectors = reader.unreadableSectors();
        result.rereadSectors = secure ? secure->rereadSectors() : 0;
        result.crc32 = sums.crc32();
        result.accurateRipV1 = sums.accurateRipV1();
        result.accurateRipV2 = sums.accurateRipV2();
    }
    return results;
}

} // namespace

std::vector<RipResult> ripTrackToFiles(const QString &drive, int trackIndex,
                                       const QList<TrackOutput> &outputs,
                                       const RipProgress &progress, const RipOptions &options)
{
    std::optional<CdDevice> device;
    TrackExtent extent;
    if (RipResult r = locateTrack(drive, trackIndex, device, extent); !r.ok())
        return std::vector<RipResult>(size_t(outputs.size()), r);
    const qint64 frames = qint64(extent.end - extent.start) * sectorFrames;
    std::vector<Target> targets(size_t(outputs.size()));
    for (qsizetype k = 0; k < outputs.size(); ++k) {
        targets[size_t(k)].output = &outputs.at(k);
        targets[size_t(k)].sink = sinkFor(outputs.at(k), frames);
    }
    return ripTrack(*device, extent, targets, progress, options);
}

RipResult ripTrackToWav(const QString &drive, int trackIndex, const QString &fileName,
                        Overwrite overwrite, const RipProgress &progress, const RipOptions &options)
{
    return ripTrackToFiles(drive, trackIndex, {{fileName, overwrite}}, progress, options).front();
}

RipResult ripTrackToMp3(const QString &drive, int trackIndex, const QString &fileName,
                        Overwrite overwrite, const RipProgress &progress, const RipOptions &options,
                        const EncoderConfig &encoder, const BeforeNaming &beforeNaming)
{
    const TrackOutput output{fileName, overwrite, AudioFormat::Mp3, encoder, {}, beforeNaming};
    return ripTrackToFiles(drive, trackIndex, {output}, progress, options).front();
}

TrackAudio readTrackAudio(const QString &drive, int trackIndex, const RipProgress &progress,
                          const RipOptions &options)
{
    TrackAudio audio;
    std::optional<CdDevice> device;
    TrackExtent extent;
    audio.result = locateTrack(drive, trackIndex, device, extent);
    if (!audio.result.ok())
        return audio;
    std::vector<Target> targets(1);
    targets.front().sink = std::make_unique<MemorySink>(audio.pcm);
    audio.result = ripTrack(*device, extent, targets, progress, options).front();
    audio.first = extent.first;
    audio.last = extent.last;
    if (!audio.result.ok())
        audio.pcm.clear();
    return audio;
}

RipResult writeTrackAudio(const TrackAudio &audio, const TrackOutput &output,
                          const std::atomic_bool *cancel)
{
    RipResult result = audio.result;
    Target target;
    target.output = &output;
    target.sink = sinkFor(output, audio.pcm.size() / 4);
    if (!target.sink)
        return failure(RipStatus::EncoderFailed);
    BatchSink &sink = *target.sink;
    OutputFile &file = target.file;
    bool written = file.open(output.fileName, output.overwrite) &&
                   sink.begin(file, audio.pcm.size() / sectorBytes);
    TrackChecksums sums(audio.pcm.size() / 4, audio.first, audio.last);
    // The batches of a streamed rip, so that both give the same bytes.
    for (qsizetype at = 0; written && at < audio.pcm.size(); at += batchSectors * sectorBytes) {
        if (cancel && cancel->load())
            return failure(RipStatus::Cancelled);
        const qsizetype bytes =
            std::min<qsizetype>(batchSectors * sectorBytes, audio.pcm.size() - at);
        sums.add(audio.pcm.constData() + at, bytes);
        written = sink.write(file, audio.pcm.constData() + at, int(bytes));
    }
    result.crc32 = sums.crc32();
    result.accurateRipV1 = sums.accurateRipV1();
    result.accurateRipV2 = sums.accurateRipV2();
    if (written && sink.end(file) && file.commit(output.beforeNaming))
        return result;
    const RipResult failed = targetFailure(target);
    result.status = failed.status;
    result.detail = failed.detail;
    return result;
}

QString ripErrorMessage(const RipResult &result)
{
    switch (result.status) {
    case RipStatus::TocUnreadable:
        return QCoreApplication::translate("cd", "Lecture du disque impossible");
    case RipStatus::BadTrackIndex:
        return QCoreApplication::translate("cd", "N° de piste incorrecte");
    case RipStatus::EncoderFailed:
        return result.detail.isEmpty()
                   ? QCoreApplication::translate("cd", "Initialisation de Lame Encoder impossible")
                   : result.detail;
    case RipStatus::WriteFailed:
    case RipStatus::DataTrack:
    case RipStatus::BeyondDisc:
        return result.detail;
    case RipStatus::Ok:
    case RipStatus::DeviceUnavailable:
    case RipStatus::Cancelled:
        break;
    }
    return {};
}

} // namespace cd
