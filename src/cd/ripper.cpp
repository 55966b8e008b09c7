#include "cd/ripper.h"

#include "cd/accuraterip.h"
#include "cd/cddevice.h"
#include "cd/lamestream.h"
#include "cd/securereader.h"
#include "cd/wavfile.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
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
    if (trackIndex == hiddenTrackIndex && toc->trackStart(0) > 0) {
        extent = {0, toc->trackStart(0), toc->trackEnd(toc->audioTrackCount() - 1), false, false};
        return {};
    }
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

// Batches on their way from the reader to one writer. At most a few megabytes wait: a writer
// slower than the reader holds it back rather than filling the memory.
class BatchQueue
{
public:
    using Batch = std::shared_ptr<const std::vector<char>>;

    // False once the writer has given up: nothing more need be read for it.
    bool push(Batch batch)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_queue.size() < queuedBatches || m_abandoned; });
        if (m_abandoned)
            return false;
        m_queue.push_back(std::move(batch));
        m_changed.notify_all();
        return true;
    }
    // The next batch; nothing once the reading has ended and every batch was taken, or was
    // cancelled.
    Batch pop()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_ended; });
        if (m_queue.empty())
            return {};
        Batch batch = std::move(m_queue.front());
        m_queue.pop_front();
        m_changed.notify_all();
        return batch;
    }
    // The end of the reading: its result, with the checksums of the samples, or Cancelled
    // (the batches not yet taken are dropped).
    void end(const RipResult &read)
    {
        const std::lock_guard lock(m_mutex);
        m_read = read;
        m_ended = true;
        if (!read.ok())
            m_queue.clear();
        m_changed.notify_all();
    }
    RipResult readResult()
    {
        const std::lock_guard lock(m_mutex);
        return m_read;
    }
    // A batch pushed now would wait for the writer.
    bool full()
    {
        const std::lock_guard lock(m_mutex);
        return !m_abandoned && m_queue.size() >= queuedBatches;
    }
    void abandon()
    {
        const std::lock_guard lock(m_mutex);
        m_abandoned = true;
        m_queue.clear();
        m_changed.notify_all();
    }

private:
    // 64 batches of 27 sectors: 4 MB, 23 seconds of audio.
    static constexpr size_t queuedBatches = 64;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_queue;
    RipResult m_read;
    bool m_ended = false;
    bool m_abandoned = false;
};

// The failure of an output: its encoder's or its file's.
RipResult outputFailure(const TrackOutput &output, const BatchSink *sink, const OutputFile &file)
{
    RipResult r =
        failure(!sink || sink->encoderFailed() ? RipStatus::EncoderFailed : RipStatus::WriteFailed);
    if (r.status == RipStatus::WriteFailed)
        r.detail = file.errorMessage();
    else if (output.format == AudioFormat::Flac)
        r.detail = QCoreApplication::translate("cd", "L'encodage FLAC de « %1 » a échoué.")
                       .arg(displayPath(output.fileName));
    return r;
}

// One output of a rip: its file is opened, and its encoder set up, before the reading starts,
// so that a file appearing meanwhile under its name is never taken for one to replace.
struct Writer
{
    Writer(const TrackOutput &track, qint64 sectors)
        : output(track), sink(sinkFor(track, sectors * sectorFrames))
    {
        if (!sink || !file.open(output.fileName, output.overwrite) || !sink->begin(file, sectors))
            failed = outputFailure(output, sink.get(), file);
    }

    // Writes the batches of the queue, on the writer's own thread; the file gets its name once
    // the reading has ended well and the last batch is written.
    RipResult write(BatchQueue &queue, const std::atomic_bool *cancel)
    {
        const auto give = [&queue](const RipResult &result) {
            queue.abandon();
            return result;
        };
        if (!failed.ok())
            return give(failed);
        const auto cancelled = [cancel] { return cancel && cancel->load(); };
        while (const BatchQueue::Batch batch = queue.pop()) {
            if (cancelled())
                return give(failure(RipStatus::Cancelled));
            if (!sink->write(file, batch->data(), int(batch->size())))
                return give(outputFailure(output, sink.get(), file));
        }
        // A reading that was cancelled or failed leaves no file.
        const RipResult read = queue.readResult();
        if (!read.ok() || cancelled())
            return read.ok() ? failure(RipStatus::Cancelled) : read;
        if (!sink->end(file) || !file.commit(output.beforeNaming))
            return outputFailure(output, sink.get(), file);
        return read;
    }

    const TrackOutput output;
    const std::unique_ptr<BatchSink> sink;
    OutputFile file;
    RipResult failed;
};

} // namespace

struct TrackRip::State
{
    std::optional<CdDevice> device;
    TrackExtent extent;
    RipOptions options;
    std::vector<std::shared_ptr<BatchQueue>> queues;
    PendingRip rip;
    std::unique_ptr<SecureReader> secure;
    std::optional<TrackReader> reader;
    std::optional<TrackChecksums> sums;
    qint64 done = 0;
    qint64 total = 0;
    bool ended = false;

    void end(const RipResult &read)
    {
        for (const auto &queue : queues)
            queue->end(read);
        rip.read = read;
        ended = true;
    }
};

TrackRip::TrackRip(const QString &drive, int trackIndex, const QList<TrackOutput> &outputs,
                   const RipOptions &options, const std::atomic_bool *cancel)
    : m(std::make_unique<State>())
{
    m->options = options;
    if (m->rip.read = locateTrack(drive, trackIndex, m->device, m->extent); !m->rip.read.ok()) {
        m->ended = true;
        return;
    }
    m->total = m->extent.end - m->extent.start;
    // One writer per output, each on its own thread.
    bool prepared = false;
    for (const TrackOutput &output : outputs) {
        auto queue = m->queues.emplace_back(std::make_shared<BatchQueue>());
        auto writer = std::make_shared<Writer>(output, m->total);
        prepared = prepared || writer->failed.ok();
        m->rip.written.push_back(std::async(
            std::launch::async, [writer, queue, cancel] { return writer->write(*queue, cancel); }));
    }
    // No output could be opened: each writer reports why, and nothing is read.
    if (!prepared) {
        m->end({});
        return;
    }
    // The secure reader keeps to the drive: when cdparanoia cannot take it, the plain reads
    // are used and the result says so.
    m->secure = options.secure ? SecureReader::open(*m->device) : nullptr;
    m->reader.emplace(*m->device, m->secure.get(), m->extent, options.offsetSamples);
    m->sums.emplace(m->total * sectorFrames, m->extent.first, m->extent.last);
}

TrackRip::~TrackRip()
{
    if (!m->ended)
        cancel();
}

bool TrackRip::reading() const
{
    return !m->ended;
}

bool TrackRip::hasRoom() const
{
    // The slowest writer sets the pace: one full queue makes the next batch wait.
    return std::none_of(m->queues.cbegin(), m->queues.cend(),
                        [](const auto &queue) { return queue->full(); });
}

qint64 TrackRip::done() const
{
    return m->done;
}

qint64 TrackRip::total() const
{
    return m->total;
}

void TrackRip::readBatch()
{
    if (m->ended)
        return;
    // The last batch is shorter when the track length is not a multiple of the batch size.
    const int count = int(std::min<qint64>(batchSectors, m->total - m->done));
    const int bytes = count * sectorBytes;
    auto batch = std::make_shared<std::vector<char>>(size_t(bytes));
    m->reader->next(batch->data(), count * sectorFrames);
    if (m->options.samplesRead)
        m->options.samplesRead(batch->data(), bytes);
    m->sums->add(batch->data(), bytes);
    bool wanted = false;
    for (const auto &queue : m->queues)
        wanted = queue->push(batch) || wanted;
    m->done += count;
    // Every writer has failed: the rest of the track is not read for nothing.
    if (m->done < m->total && wanted)
        return;
    RipResult read;
    read.secure = m->secure != nullptr;
    read.unreadableSectors = m->reader->unreadableSectors();
    read.rereadSectors = m->secure ? m->secure->rereadSectors() : 0;
    read.crc32 = m->sums->crc32();
    read.accurateRipV1 = m->sums->accurateRipV1();
    read.accurateRipV2 = m->sums->accurateRipV2();
    m->end(read);
}

void TrackRip::cancel()
{
    m->end(failure(RipStatus::Cancelled));
}

PendingRip TrackRip::finish()
{
    if (!m->ended)
        cancel();
    return std::move(m->rip);
}

PendingRip startTrackRip(const QString &drive, int trackIndex, const QList<TrackOutput> &outputs,
                         const RipProgress &progress, const RipOptions &options,
                         const std::atomic_bool *cancel)
{
    TrackRip rip(drive, trackIndex, outputs, options, cancel);
    if (rip.reading() && progress && !progress(0, rip.total()))
        rip.cancel();
    while (rip.reading()) {
        rip.readBatch();
        if (progress && !progress(rip.done(), rip.total()))
            rip.cancel();
    }
    return rip.finish();
}

std::vector<RipResult> ripTrackToFiles(const QString &drive, int trackIndex,
                                       const QList<TrackOutput> &outputs,
                                       const RipProgress &progress, const RipOptions &options)
{
    PendingRip rip = startTrackRip(drive, trackIndex, outputs, progress, options);
    if (rip.written.empty())
        return std::vector<RipResult>(size_t(outputs.size()), rip.read);
    std::vector<RipResult> results;
    for (std::future<RipResult> &written : rip.written)
        results.push_back(written.get());
    return results;
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
