#include "gain/gainjob.h"

#include "mpeg/mp3decoder.h"
#include "tags/id3v1.h"
#include "tags/id3v2reader.h"

#include <QFileInfo>
#include <QHash>
#include <QThread>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace gain {

namespace {

// A file measured, and its meter kept while its album is not measured yet.
struct Measured
{
    FileGain gain;
    std::optional<LoudnessMeter> meter;
};

Measured measure(const QString &path, const std::atomic_bool *cancel)
{
    Measured result;
    result.gain.path = path;
    mpeg::Mp3Decoder decoder;
    if (!decoder.open(path)) {
        result.gain.error = decoder.error();
        return result;
    }
    LoudnessMeter meter(decoder.sampleRate(), decoder.channels());
    for (auto block = decoder.readFloat(); !block.empty(); block = decoder.readFloat()) {
        if (cancel && cancel->load()) {
            result.gain.error = tags::cancelledText();
            return result;
        }
        meter.add(block);
    }
    if (decoder.failed()) {
        result.gain.error = decoder.error();
        return result;
    }
    result.gain.track = meter.result();
    result.meter = std::move(meter);
    return result;
}

QString albumText(const QString &path)
{
    const tags::Result<tags::TypeTagV2> v2 = tags::readTagV2(path);
    if (v2.ok() && v2->Valide() && !v2->Album().trimmed().isEmpty())
        return v2->Album().trimmed();
    const tags::TypeTagV1 v1 = tags::readTagV1(path);
    return v1.Valide() ? v1.Album().trimmed() : QString();
}

} // namespace

QList<int> albumGroups(const QStringList &files)
{
    QHash<QString, int> groups;
    QList<int> result;
    for (const QString &path : files) {
        const QString key = QFileInfo(path).absolutePath() + QChar(0) + albumText(path);
        const auto found = groups.constFind(key);
        const int group = found != groups.cend() ? *found : int(groups.size());
        groups.insert(key, group);
        result.append(group);
    }
    return result;
}

FileGain measureFile(const QString &path, const std::atomic_bool *cancel)
{
    return measure(path, cancel).gain;
}

QList<FileGain> measureGain(const QStringList &files, bool albums,
                            const tags::BatchControl &control)
{
    std::vector<Measured> measured(size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        measured[size_t(i)].gain.path = files[i];
        measured[size_t(i)].gain.error = tags::cancelledText();
    }
    std::atomic<size_t> next{0};
    std::mutex progressLock;
    qsizetype done = 0;
    const auto work = [&] {
        for (size_t i; (i = next++) < measured.size();) {
            if (control.cancel && control.cancel->load())
                return;
            measured[i] = measure(files[qsizetype(i)], control.cancel);
            if (!albums)
                measured[i].meter.reset();
            const std::lock_guard lock(progressLock);
            ++done;
            if (control.progress)
                control.progress(done, files.size());
        }
    };
    {
        // Decoding is bound by the processor: one worker for each.
        const size_t workers =
            std::min(size_t(std::max(1, QThread::idealThreadCount())), measured.size());
        std::vector<std::jthread> threads;
        for (size_t w = 0; w < workers; ++w)
            threads.emplace_back(work);
    }

    const bool cancelled = control.cancel && control.cancel->load();
    if (albums && !cancelled) {
        const QList<int> groups = albumGroups(files);
        QHash<int, std::vector<const LoudnessMeter *>> members;
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (measured[size_t(i)].meter)
                members[groups[i]].push_back(&*measured[size_t(i)].meter);
        }
        QHash<int, Loudness> loudness;
        for (auto it = members.cbegin(); it != members.cend(); ++it)
            loudness.insert(it.key(), LoudnessMeter::together(it.value()));
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (measured[size_t(i)].meter)
                measured[size_t(i)].gain.album = loudness.value(groups[i]);
        }
    }
    QList<FileGain> result;
    for (Measured &m : measured)
        result.append(std::move(m.gain));
    return result;
}

std::optional<tags::FieldEdit> gainEdit(const FileGain &gain, const GainOptions &options)
{
    if (!gain.error.isEmpty() || !gain.track.measured())
        return std::nullopt;
    tags::FieldEdit edit;
    edit.v2 = true;
    edit.userTexts = replayGainTexts(gain.track, gain.album, options);
    if (options.rva2)
        edit.frameEdits = rva2Frames(gain.track, gain.album, options);
    return edit;
}

tags::FieldEdit clearGainEdit()
{
    tags::FieldEdit edit;
    edit.v2 = true;
    edit.create = false;
    edit.userTexts = clearedReplayGain();
    edit.frameEdits = clearedRva2();
    return edit;
}

} // namespace gain
