#include "cd/wavencoder.h"

#include "cd/lamestream.h"
#include "cd/wavfile.h"

#include "base/fileaccess.h"
#include "base/safefs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <vector>

namespace cd {

namespace {

// Sample frames read and encoded per turn: enough to keep calls cheap, small enough to keep
// memory flat whatever the file's size.
constexpr qint64 framesPerRead = 16 * 1152;

} // namespace

QString mp3PathForWav(const QString &wavPath, const QString &folder)
{
    QString base =
        folder.isEmpty() ? wavPath : base::joinPath(folder, QFileInfo(wavPath).fileName());
    if (base.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QLatin1String(".mp3");
}

EncodeResult encodeWavToMp3(const WavFile &wav, const QString &fileName, Overwrite overwrite,
                            const EncodeProgress &progress, int vbrQuality, bool infoFrame)
{
    if (!wav.wavLoaded)
        return {false, wav.error};

    EncoderConfig config =
        wavFileEncoderConfig(int(wav.wavFormat.samplesPerSec), wav.wavFormat.channels);
    config.vbrQuality = vbrQuality;
    config.infoFrame = infoFrame;
    auto stream = LameStream::open(config);
    if (!stream)
        return {false,
                QCoreApplication::translate("cd", "Initialisation de Lame Encoder impossible")};

    const base::Fd in(::open(base::nativePath(wav.fileName).constData(), O_RDONLY | O_CLOEXEC));
    auto readError = [&wav](int error) {
        return EncodeResult{
            false, QCoreApplication::translate("cd", "Impossible de lire le fichier « %1 » : %2")
                       .arg(displayPath(wav.fileName), base::systemError(error))};
    };
    if (in.get() < 0)
        return readError(errno);

    OutputFile out;
    auto writeError = [&out] { return EncodeResult{false, out.errorMessage()}; };
    if (!out.open(fileName, overwrite))
        return writeError();

    const int channels = wav.wavFormat.channels;
    const int frameBytes = wav.bytesPerSample * channels;
    const bool isFloat = wav.sampleFormat == wavFormatFloat;
    const qint64 total = wav.frameCount() * frameBytes;
    // 16-bit little-endian samples go to the encoder as read, without a copy.
    const bool plain16 = wav.bytesPerSample == 2 && !isFloat && Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
    std::vector<char> raw(size_t(framesPerRead * frameBytes));
    std::vector<qint16> pcm(plain16 ? 0 : size_t(framesPerRead * channels));

    if (progress && !progress(0, total))
        return {};
    for (qint64 done = 0; done < total;) {
        // Whole sample frames only: total is a multiple of frameBytes, and so is raw.
        const qint64 bytes = std::min<qint64>(qint64(raw.size()), total - done);
        if (!base::readAt(in.get(), raw.data(), bytes, wav.dataOffset + done))
            return readError(errno);
        const qint64 frames = bytes / frameBytes;
        const qint16 *samples = reinterpret_cast<const qint16 *>(raw.data());
        if (!plain16) {
            for (qint64 i = 0; i < frames * channels; ++i)
                pcm[size_t(i)] =
                    sampleTo16(raw.data() + i * wav.bytesPerSample, wav.bytesPerSample, isFloat);
            samples = pcm.data();
        }
        const auto mp3 = stream->encodeChunk(samples, int(frames * channels));
        if (!mp3)
            return {false,
                    QCoreApplication::translate("cd", "Initialisation de Lame Encoder impossible")};
        if (!out.write(mp3->data(), mp3->size()))
            return writeError();
        done += bytes;
        if (progress && !progress(done, total))
            return {};
    }
    const auto tail = stream->finish();
    if (!tail)
        return {false,
                QCoreApplication::translate("cd", "Initialisation de Lame Encoder impossible")};
    // The information frame takes the place the encoder kept for it at the start.
    const QByteArray info = stream->infoFrame();
    if (!out.write(tail->data(), tail->size()) || (!info.isEmpty() && !out.writeAt(0, info)) ||
        !out.commit())
        return writeError();
    return {true, {}};
}

std::vector<EncodeResult> encodeWavFiles(const QList<WavJob> &jobs, int vbrQuality, bool infoFrame,
                                         const std::function<void(qsizetype, qsizetype)> &finished,
                                         const std::atomic_bool *cancel)
{
    std::vector<EncodeResult> results(size_t(jobs.size()));
    std::atomic<qsizetype> next = 0;
    qsizetype done = 0;
    std::mutex report;
    const auto stopped = [cancel] { return cancel && cancel->load(); };
    const auto work = [&] {
        for (qsizetype i = next++; i < jobs.size() && !stopped(); i = next++) {
            const WavJob &job = jobs.at(i);
            results[size_t(i)] = encodeWavToMp3(
                loadWavFile(job.wavPath), job.mp3Path, job.overwrite,
                [&](qint64, qint64) { return !stopped(); }, vbrQuality, infoFrame);
            const std::lock_guard lock(report);
            if (finished)
                finished(++done, jobs.size());
        }
    };
    const int threads = int(std::clamp<qsizetype>(QThread::idealThreadCount(), 1, jobs.size()));
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(work);
    for (std::thread &worker : workers)
        worker.join();
    return results;
}

} // namespace cd
