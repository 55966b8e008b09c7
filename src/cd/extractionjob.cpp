#include "cd/extractionjob.h"

#include "base/safefs.h"
#include "cd/cddevice.h"
#include "cd/riptags.h"
#include "gain/gainjob.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <chrono>
#include <deque>
#include <future>
#include <memory>
#include <span>

namespace cd {

QString safeFileStem(const QString &stem, int row)
{
    QString safe = stem;
    safe.replace(QLatin1Char('/'), QLatin1Char('-'));
    safe.replace(QChar(u'\0'), QLatin1Char('-'));
    if (safe.isEmpty() || safe == QLatin1String(".") || safe == QLatin1String(".."))
        return QStringLiteral("Piste %1").arg(row);
    return safe;
}

QString mp3FileName(int format, const QString &artist, const QString &title, int row)
{
    QString stem;
    switch (format) {
    case TitleArtist:
        stem = title + QLatin1String(" - ") + artist;
        break;
    case TitleParenArtist:
        stem = title + QLatin1Char('(') + artist + QLatin1Char(')');
        break;
    case TitleOnly:
        stem = title;
        break;
    default:
        stem = artist + QLatin1String(" - ") + title;
        break;
    }
    return safeFileStem(stem, row) + QLatin1String(".mp3");
}

QString wavFileName(const QString &rowText, int row)
{
    return safeFileStem(rowText, row) + QLatin1String(".wav");
}

QString unusedName(const QString &name, QStringList &taken)
{
    QString unused = name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2; taken.contains(unused); ++n)
        unused = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension);
    taken.append(unused);
    return unused;
}

RowNames rowArtistTitle(const QString &rowText, bool importNames, const QString &discArtist)
{
    // CDDB entries of several artists title their tracks "artist / title".
    qsizetype dash = rowText.indexOf(QLatin1Char('-'));
    if (const qsizetype slash = rowText.indexOf(QLatin1String(" / "));
        slash >= 0 && (dash < 0 || slash + 1 < dash))
        dash = slash + 1;
    if (!importNames || dash < 0)
        return {discArtist, rowText};
    // The blank on each side of the dash is dropped; a dash at the very start leaves no artist.
    return {rowText.left(std::max<qsizetype>(dash - 1, 0)), rowText.mid(dash + 2)};
}

TrackTags trackTags(const ExtractionSettings &settings, const QString &rowText, int row)
{
    const RowNames names = rowArtistTitle(rowText, settings.importNames, settings.artist);
    TrackTags tags;
    tags.artist = names.artist;
    tags.title = names.title;
    tags.album = settings.album;
    tags.year = settings.year;
    tags.genre = settings.genre;
    tags.genreIndex = settings.genreIndex;
    tags.track = row;
    tags.isrc = settings.isrc.value(row - 1);
    return tags;
}

namespace {

// Writes the ReplayGain of each track measured, and with `album` that of all of them together;
// the French failures.
QStringList
writeReplayGain(const QList<std::pair<QString, std::shared_ptr<gain::LoudnessMeter>>> &measured,
                bool album, const gain::GainOptions &options)
{
    std::vector<const gain::LoudnessMeter *> meters;
    for (const auto &track : measured)
        meters.push_back(track.second.get());
    const std::optional<gain::Loudness> together =
        album ? std::optional(gain::LoudnessMeter::together(meters)) : std::nullopt;
    QStringList failures;
    for (const auto &[path, meter] : measured) {
        const std::optional<tags::FieldEdit> edit =
            gain::gainEdit({path, meter->result(), together, {}}, options);
        if (!edit)
            continue;
        const tags::Result<tags::SaveKind> saved = tags::saveFields(path, *edit);
        if (!saved.ok())
            failures.append(saved.error());
    }
    return failures;
}

} // namespace

ExtractionJob::Summary ExtractionJob::run(Kind kind, const ExtractionSettings &settings,
                                          const QList<TrackRow> &rows)
{
    Summary summary;
    if (settings.drive.isEmpty())
        return summary;
    // The lengths of the tracks tell which ones are short enough to be held in memory while
    // they are encoded.
    std::optional<CdToc> toc;
    if (const auto device = CdDevice::open(settings.drive))
        toc = device->readToc();
    // One encoder per core. WAV writers hardly use a core but wait for the disk: two of them
    // let the next track be read while a file is still being synced.
    const int threads = kind == Mp3 ? std::max(1, QThread::idealThreadCount()) : 2;
    const std::optional<EncoderConfig> mp3Encoder =
        kind == Mp3 ? std::optional(encoder) : std::nullopt;

    // Rows wait here, in order, for their encoder; they are reported in the order of the list.
    struct Pending
    {
        TrackOutcome outcome;
        QString text;
        std::future<RipResult> encoded;
        std::shared_ptr<gain::LoudnessMeter> meter; // fed by the reads of the track
    };
    // The tracks written with their measure, for the ReplayGain written at the end.
    QList<std::pair<QString, std::shared_ptr<gain::LoudnessMeter>>> measured;
    const bool measuring =
        kind == Mp3 && replayGain &&
        (settings.tagOption == TagOption::V2 || settings.tagOption == TagOption::V1AndV2);
    std::deque<Pending> pending;
    bool stopped = false;
    // Set when the user stops the job: the encoders and writers at work stop too.
    std::atomic_bool cancel = false;
    const auto report = [&](Pending &p) {
        TrackOutcome &outcome = p.outcome;
        if (p.encoded.valid()) {
            while (p.encoded.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
                if (waiting && !waiting())
                    stopped = cancel = true;
            }
            outcome.result = p.encoded.get();
        }
        // A track stopped before its end is not reported: its file is gone, as for one
        // never read.
        if (outcome.result.status == RipStatus::Cancelled) {
            summary.cancelled = true;
            return;
        }
        if (outcome.mark.isEmpty()) {
            outcome.mark = outcome.result.ok() ? markOk : markError;
            outcome.message = ripErrorMessage(outcome.result);
            if (!outcome.result.ok())
                ++summary.failed;
            if (outcome.result.unreadableSectors > 0)
                summary.unreadableRows << outcome.row;
            if (kind == Mp3) {
                outcome.tags = trackTags(settings, p.text, outcome.row);
                outcome.tagged = outcome.result.ok() && settings.tagOption != TagOption::None;
            }
            if (p.meter && outcome.result.ok())
                measured.append({outcome.path, p.meter});
        }
        if (trackFinished)
            trackFinished(outcome);
    };
    const auto flush = [&](size_t keep) {
        while (pending.size() > keep) {
            report(pending.front());
            pending.pop_front();
        }
    };

    QStringList taken;
    bool replaceAll = false;
    for (int i = 1; i <= rows.size(); ++i) {
        const TrackRow &row = rows.at(i - 1);
        Pending p;
        TrackOutcome &outcome = p.outcome;
        p.text = row.text;
        outcome.row = i;
        if (!row.checked) {
            outcome.mark = markNotSelected;
            pending.push_back(std::move(p));
            flush(size_t(threads));
            continue;
        }
        QString name;
        if (kind == Wav) {
            name = wavFileName(row.text, i);
        } else {
            // The file name takes the disc artist and the row text as they stand.
            name = mp3FileName(settings.nameFormat, settings.artist, row.text, i);
        }
        name = unusedName(name, taken);
        outcome.path = base::joinPath(settings.folder, name);
        Overwrite overwrite = Overwrite::Refuse;
        if (outputExists(outcome.path)) {
            const ReplaceAnswer answer = replaceAll   ? ReplaceAnswer::ReplaceAll
                                         : askReplace ? askReplace(outcome.path)
                                                      : ReplaceAnswer::Skip;
            if (answer == ReplaceAnswer::Skip) {
                outcome.mark = markNotReplaced;
                pending.push_back(std::move(p));
                flush(size_t(threads));
                continue;
            }
            replaceAll = answer == ReplaceAnswer::ReplaceAll;
            overwrite = Overwrite::Replace;
        }
        if (trackStarted)
            trackStarted(i, name);
        // An MP3 file gets its tags before its name: a job stopped in between leaves no file.
        BeforeNaming tagging;
        if (kind == Mp3 && settings.tagOption != TagOption::None) {
            const TrackTags rowTags = trackTags(settings, row.text, i);
            tagging = tagBeforeNaming(
                ripTagRecord(rowTags, settings.tagOption, settings.tagDefaults, settings.coverFile),
                outcome.path, rowTags.isrc,
                measuring ? gain::replayGainRoom : tags::DefaultPadding);
        }
        RipOptions trackOptions = options;
        if (measuring) {
            // CD samples are little-endian, as this machine's.
            static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
            p.meter = std::make_shared<gain::LoudnessMeter>(44100, 2);
            trackOptions.samplesRead = [meter = p.meter](const char *pcm, int bytes) {
                meter->add(std::span(reinterpret_cast<const qint16 *>(pcm), size_t(bytes) / 2));
            };
        }
        const bool inMemory = toc && i <= toc->trackCount() &&
                              toc->trackEnd(i - 1) - toc->trackStart(i - 1) <= maxMemorySectors;
        if (inMemory) {
            // The track is read here while the tracks before it are encoded or written.
            TrackAudio audio = readTrackAudio(settings.drive, i - 1, progress, trackOptions);
            outcome.result = audio.result;
            if (audio.result.ok()) {
                // One encoder per core: a track waits for a core rather than sharing one, so
                // that the last tracks do not end on a single core.
                flush(size_t(threads - 1));
                p.encoded = std::async(std::launch::async, [audio = std::move(audio),
                                                            path = outcome.path, overwrite,
                                                            config = mp3Encoder, &cancel, tagging] {
                    return writeTrackAudio(audio, path, overwrite, config, &cancel, tagging);
                });
            }
        } else {
            outcome.result = kind == Wav
                                 ? ripTrackToWav(settings.drive, i - 1, outcome.path, overwrite,
                                                 progress, options)
                                 : ripTrackToMp3(settings.drive, i - 1, outcome.path, overwrite,
                                                 progress, trackOptions, encoder, tagging);
        }
        if (outcome.result.status == RipStatus::Cancelled) {
            cancel = true;
            flush(0);
            summary.cancelled = true;
            summary.gainFailures = writeReplayGain(measured, false, gainOptions);
            return summary;
        }
        pending.push_back(std::move(p));
        flush(size_t(threads));
        if (stopped) {
            flush(0);
            summary.cancelled = summary.cancelled || i < rows.size();
            summary.gainFailures = writeReplayGain(measured, !summary.cancelled, gainOptions);
            return summary;
        }
    }
    flush(0);
    summary.gainFailures = writeReplayGain(measured, !summary.cancelled, gainOptions);
    return summary;
}

QString unreadableTracksMessage(const QList<int> &unreadableRows, const QList<TrackRow> &rows)
{
    if (unreadableRows.isEmpty())
        return {};
    QString text = QCoreApplication::translate(
        "cd",
        "Des secteurs illisibles ont été remplacés par du silence dans les pistes suivantes :");
    for (int row : unreadableRows) {
        const QString title = row >= 1 && row <= rows.size() ? rows.at(row - 1).text : QString();
        text += QStringLiteral("\n%1. %2").arg(row).arg(title);
    }
    return text;
}

} // namespace cd
