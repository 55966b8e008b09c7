#include "cd/extractionjob.h"

#include "base/safefs.h"
#include "cd/cddevice.h"
#include "cd/riptags.h"
#include "gain/gainjob.h"
#include "gain/replaygain.h"
#include "tags/tagpattern.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

QString flacFileName(int format, const QString &artist, const QString &title, int row)
{
    return mp3FileName(format, artist, title, row).chopped(4) + QLatin1String(".flac");
}

QString formatFolder(const ExtractionSettings &settings, AudioFormat format, QString *error)
{
    const QString pattern = settings.folderPatterns.value(format);
    if (pattern.trimmed().isEmpty())
        return settings.folder;
    const auto known = [](const QString &value, const char *unknown) {
        return value.trimmed().isEmpty() ? QCoreApplication::translate("cd", unknown) : value;
    };
    const tags::PatternValues values = {
        {tags::PatternField::Artiste,
         known(settings.artist, QT_TRANSLATE_NOOP("cd", "Artiste inconnu"))},
        {tags::PatternField::Album,
         known(settings.album, QT_TRANSLATE_NOOP("cd", "Album inconnu"))},
        {tags::PatternField::Annee,
         known(settings.year, QT_TRANSLATE_NOOP("cd", "Année inconnue"))},
        {tags::PatternField::Genre,
         known(settings.genre, QT_TRANSLATE_NOOP("cd", "Genre inconnu"))},
    };
    const tags::Result<QString> name = tags::formatName(pattern, values);
    if (!name.ok()) {
        *error =
            QCoreApplication::translate("cd", "Le modèle de dossier « %1 » ne convient pas : %2")
                .arg(pattern, name.error());
        return {};
    }
    return base::joinPath(settings.folder, name.value());
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
    // The disc artist is the album artist unless a lookup named another.
    tags.albumArtist = settings.albumArtist.isEmpty() ? settings.artist : settings.albumArtist;
    tags.discNumber = settings.discNumber;
    tags.musicBrainzAlbumId = settings.musicBrainzAlbumId;
    tags.musicBrainzArtistId = settings.musicBrainzArtistId;
    return tags;
}

AudioFormat audioFormat(ExtractionJob::Kind kind)
{
    switch (kind) {
    case ExtractionJob::Mp3:
        return AudioFormat::Mp3;
    case ExtractionJob::Flac:
        return AudioFormat::Flac;
    case ExtractionJob::Wav:
        break;
    }
    return AudioFormat::Wav;
}

QString trackFileName(ExtractionJob::Kind kind, const ExtractionSettings &settings,
                      const QString &rowText, int row)
{
    switch (kind) {
    case ExtractionJob::Mp3:
        return mp3FileName(settings.nameFormat, settings.artist, rowText, row);
    case ExtractionJob::Flac:
        return flacFileName(settings.nameFormat, settings.artist, rowText, row);
    case ExtractionJob::Wav:
        break;
    }
    return wavFileName(rowText, row);
}

namespace {

struct Measured
{
    QString path;
    std::shared_ptr<gain::LoudnessMeter> meter;
    bool flac = false;
};

// Writes the ReplayGain of each track measured, and with `album` that of all of them together;
// the French failures.
QStringList writeReplayGain(const QList<Measured> &measured, bool album,
                            const gain::GainOptions &options)
{
    std::vector<const gain::LoudnessMeter *> meters;
    QList<const gain::LoudnessMeter *> seen;
    for (const Measured &track : measured) {
        // A track ripped in several formats counts once in the album.
        if (!seen.contains(track.meter.get())) {
            seen.append(track.meter.get());
            meters.push_back(track.meter.get());
        }
    }
    const std::optional<gain::Loudness> together =
        album ? std::optional(gain::LoudnessMeter::together(meters)) : std::nullopt;
    QStringList failures;
    for (const Measured &track : measured) {
        if (track.flac) {
            QList<VorbisComment> comments;
            for (const tags::UserText &text :
                 gain::replayGainTexts(track.meter->result(), together, options))
                comments.append({text.description, text.value});
            const QString failure =
                comments.isEmpty() ? QString() : setFlacComments(track.path, comments);
            if (!failure.isEmpty())
                failures.append(failure);
            continue;
        }
        const std::optional<tags::FieldEdit> edit =
            gain::gainEdit({track.path, track.meter->result(), together, {}}, options);
        if (!edit)
            continue;
        const tags::Result<tags::SaveKind> saved = tags::saveFields(track.path, *edit);
        if (!saved.ok())
            failures.append(saved.error());
    }
    return failures;
}

struct PlaylistEntry
{
    QString path;
    int seconds = -1;
    QString label; // "Artist - Title"
};

// The text of an .m3u8 playlist in `folder` listing the entries by their path from there.
QByteArray playlistText(const QString &folder, const QList<PlaylistEntry> &entries)
{
    QString text = QStringLiteral("#EXTM3U\n");
    const QDir dir(QFileInfo(folder).absoluteFilePath());
    for (const PlaylistEntry &entry : entries) {
        // A line ends an entry: a file whose name holds a line break cannot be listed.
        if (entry.path.contains(QLatin1Char('\n')) || entry.path.contains(QLatin1Char('\r')))
            continue;
        QString label = entry.label;
        label.replace(QLatin1Char('\n'), QLatin1Char(' '))
            .replace(QLatin1Char('\r'), QLatin1Char(' '));
        text += QStringLiteral("#EXTINF:%1,%2\n%3\n")
                    .arg(entry.seconds)
                    .arg(label, dir.relativeFilePath(QFileInfo(entry.path).absoluteFilePath()));
    }
    return text.toUtf8();
}

QString formatName(ExtractionJob::Kind kind)
{
    return kind == ExtractionJob::Flac  ? QStringLiteral("FLAC")
           : kind == ExtractionJob::Mp3 ? QStringLiteral("MP3")
                                        : QStringLiteral("WAV");
}

} // namespace

ExtractionJob::Summary ExtractionJob::run(Kind kind, const ExtractionSettings &settings,
                                          const QList<TrackRow> &rows)
{
    return run(QList<Kind>{kind}, settings, rows);
}

ExtractionJob::Summary ExtractionJob::run(const QList<Kind> &kinds,
                                          const ExtractionSettings &settings,
                                          const QList<TrackRow> &rows)
{
    Summary summary;
    if (settings.drive.isEmpty() || kinds.isEmpty())
        return summary;
    // The lengths of the tracks, for the playlists.
    std::optional<CdToc> toc;
    if (const auto device = CdDevice::open(settings.drive))
        toc = device->readToc();
    const bool mp3 = kinds.contains(Mp3);
    // Rows waiting to be reported: past this many, the job waits for the oldest one's writers
    // (one thread per format and track, each with a queue of a few megabytes).
    const size_t inFlight = 4;
    const bool tagsV2 =
        settings.tagOption == TagOption::V2 || settings.tagOption == TagOption::V1AndV2;
    const QByteArray cover = [&settings] {
        QFile file(settings.coverFile);
        return !settings.coverFile.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                               : QByteArray();
    }();

    // The folder of each format: a pattern's is made below the chosen folder, which must exist
    // (its absence is each track's failure, as without a pattern); a pattern that cannot give
    // a folder fails each track with its fault.
    QList<QString> folders;
    QString folderError;
    for (Kind k : kinds) {
        folders.append(formatFolder(settings, audioFormat(k), &folderError));
        if (!folders.last().isEmpty() && folders.last() != settings.folder &&
            QFileInfo(settings.folder).isDir() && !QDir().mkpath(folders.last())) {
            folderError =
                QCoreApplication::translate("cd", "Le dossier « %1 » n'a pas pu être créé.")
                    .arg(base::shownPath(folders.last()));
        }
    }

    // Rows wait here, in order, for their encoders; they are reported in the order of the list.
    struct Pending
    {
        TrackOutcome outcome;
        QString text;
        QList<Kind> kinds; // of each file written, in the order of outcome.paths
        std::vector<std::future<RipResult>> encoded;
        std::vector<RipResult> results;
        std::shared_ptr<gain::LoudnessMeter> meter; // fed by the reads of the track
        std::unique_ptr<TrackRip> rip;              // while the track is being read
    };
    // The tracks written with their measure, for the ReplayGain written at the end.
    QList<Measured> measured;
    // The files of each format, for the playlists.
    QList<QList<PlaylistEntry>> listed(kinds.size());
    const bool measuring = replayGain && (kinds.contains(Flac) || (mp3 && tagsV2));
    std::deque<Pending> pending;
    bool stopped = false;
    // Set when the user stops the job: the encoders and writers at work stop too.
    std::atomic_bool cancel = false;
    const auto report = [&](Pending &p) {
        TrackOutcome &outcome = p.outcome;
        for (std::future<RipResult> &encoded : p.encoded) {
            while (encoded.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
                if (waiting && !waiting())
                    stopped = cancel = true;
            }
            p.results.push_back(encoded.get());
        }
        // A track stopped before its end is not reported: its files are gone, as for one
        // never read.
        if (std::any_of(p.results.cbegin(), p.results.cend(),
                        [](const RipResult &r) { return r.status == RipStatus::Cancelled; })) {
            summary.cancelled = true;
            return;
        }
        if (outcome.mark.isEmpty()) {
            // The row's result is the first failure, else the first file's.
            outcome.result = p.results.front();
            for (const RipResult &r : p.results) {
                if (!r.ok()) {
                    outcome.result = r;
                    break;
                }
            }
            outcome.mark = outcome.result.ok() ? markOk : markError;
            outcome.message = ripErrorMessage(outcome.result);
            if (!outcome.result.ok())
                ++summary.failed;
            if (outcome.result.unreadableSectors > 0)
                summary.unreadableRows << outcome.row;
            outcome.tags = trackTags(settings, p.text, outcome.row);
            outcome.tagged = p.kinds.contains(Mp3) &&
                             p.results.at(size_t(p.kinds.indexOf(Mp3))).ok() &&
                             settings.tagOption != TagOption::None;
            const int seconds =
                toc && outcome.row <= toc->trackCount()
                    ? (toc->trackEnd(outcome.row - 1) - toc->trackStart(outcome.row - 1)) / 75
                    : -1;
            for (qsizetype k = 0; k < p.kinds.size(); ++k) {
                if (!p.results.at(size_t(k)).ok())
                    continue;
                const Kind written = p.kinds.at(k);
                if (p.meter && (written == Flac || (written == Mp3 && tagsV2)))
                    measured.append({outcome.paths.at(k), p.meter, written == Flac});
                listed[kinds.indexOf(written)].append(
                    {outcome.paths.at(k), seconds,
                     outcome.tags.artist + QLatin1String(" - ") + outcome.tags.title});
            }
        }
        if (trackFinished)
            trackFinished(outcome);
    };
    // Rows are reported in order once read; past `keep` rows waiting, the oldest one's writers
    // are waited for.
    const auto flush = [&](size_t keep) {
        const auto ready = [](const Pending &p) {
            return std::all_of(p.encoded.cbegin(), p.encoded.cend(), [](const auto &f) {
                return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
            });
        };
        while (!pending.empty() && !pending.front().rip &&
               (pending.size() > keep || ready(pending.front()))) {
            report(pending.front());
            pending.pop_front();
        }
    };
    // The reading of a track is over: its writers finish on their own.
    const auto readingDone = [](Pending &p) {
        PendingRip rip = p.rip->finish();
        p.rip.reset();
        if (rip.written.empty())
            p.results.assign(size_t(p.kinds.size()), rip.read);
        p.encoded = std::move(rip.written);
    };
    const auto cancelReading = [&] {
        for (Pending &p : pending) {
            if (p.rip) {
                p.rip->cancel();
                readingDone(p);
            }
        }
        cancel = true;
    };
    // Reads the tracks open, a batch at a time, the oldest first while its writers keep up;
    // when they are behind, the batch goes to the next track, or, with `openMore`, returns so
    // that the next track is opened beside it. False when the user stopped the job.
    const auto readOpenTracks = [&](bool openMore) {
        for (;;) {
            QList<Pending *> reading;
            for (Pending &p : pending) {
                if (p.rip)
                    reading.append(&p);
            }
            if (reading.isEmpty())
                return true;
            Pending *next = nullptr;
            for (Pending *p : reading) {
                if (!next && p->rip->hasRoom())
                    next = p;
            }
            if (!next && openMore && reading.size() < 2)
                return true;
            if (!next)
                next = reading.first(); // waits for room
            next->rip->readBatch();
            if (progress && !progress(next->rip->done(), next->rip->total())) {
                cancelReading();
                return false;
            }
            if (!next->rip->reading())
                readingDone(*next);
            flush(inFlight);
            if (stopped) {
                cancelReading();
                return false;
            }
        }
    };
    QStringList taken;
    bool replaceAll = false;
    const auto allowed = [&](const QString &path, Overwrite &overwrite) {
        overwrite = Overwrite::Refuse;
        if (!outputExists(path))
            return true;
        const ReplaceAnswer answer = replaceAll   ? ReplaceAnswer::ReplaceAll
                                     : askReplace ? askReplace(path)
                                                  : ReplaceAnswer::Skip;
        if (answer == ReplaceAnswer::Skip)
            return false;
        replaceAll = answer == ReplaceAnswer::ReplaceAll;
        overwrite = Overwrite::Replace;
        return true;
    };
    // One playlist per format in its folder, named after the album, replacing nothing unasked.
    const auto writePlaylists = [&] {
        QStringList failures;
        const QString stem = safeFileStem(
            settings.album.isEmpty() ? QStringLiteral("extraction") : settings.album, 1);
        for (qsizetype k = 0; k < kinds.size(); ++k) {
            if (listed.at(k).isEmpty())
                continue;
            // Formats that share a folder name their playlists after themselves.
            const QString name = folders.count(folders.at(k)) > 1
                                     ? stem + QStringLiteral(" (%1)").arg(formatName(kinds.at(k)))
                                     : stem;
            const QString path =
                unusedName(base::joinPath(folders.at(k), name + QLatin1String(".m3u8")), taken);
            Overwrite overwrite;
            if (!allowed(path, overwrite))
                continue;
            const QByteArray text = playlistText(folders.at(k), listed.at(k));
            OutputFile file;
            if (!file.open(path, overwrite) || !file.write(text.constData(), text.size()) ||
                !file.commit())
                failures.append(file.errorMessage());
        }
        return failures;
    };
    const auto finish = [&](bool album) {
        summary.gainFailures = writeReplayGain(measured, album, gainOptions);
        if (playlists && !summary.cancelled)
            summary.playlistFailures = writePlaylists();
        return summary;
    };
    for (int i = 1; i <= rows.size(); ++i) {
        // Stopped while the job waited for a writer: the tracks being read are given up.
        if (stopped) {
            cancelReading();
            flush(0);
            summary.cancelled = true;
            return finish(false);
        }
        const TrackRow &row = rows.at(i - 1);
        Pending p;
        TrackOutcome &outcome = p.outcome;
        p.text = row.text;
        outcome.row = i;
        if (!row.checked) {
            outcome.mark = markNotSelected;
            pending.push_back(std::move(p));
            flush(inFlight);
            continue;
        }
        if (!folderError.isEmpty()) {
            outcome.mark = markError;
            outcome.message = folderError;
            outcome.result.status = RipStatus::WriteFailed;
            outcome.result.detail = folderError;
            ++summary.failed;
            pending.push_back(std::move(p));
            flush(inFlight);
            continue;
        }
        TrackTags tags = trackTags(settings, row.text, i);
        tags.trackTotal = int(rows.size());
        tags.musicBrainzTrackId = row.musicBrainzTrackId;
        QList<TrackOutput> outputs;
        QString firstName;
        for (qsizetype k = 0; k < kinds.size(); ++k) {
            const Kind format = kinds.at(k);
            const QString path = unusedName(
                base::joinPath(folders.at(k), trackFileName(format, settings, row.text, i)), taken);
            // An MP3 file gets its tags before its name: a job stopped in between leaves no
            // file.
            TrackOutput output =
                ripOutput(format, path, settings, tags, encoder, flacLevel,
                          measuring ? gain::replayGainRoom : ::tags::DefaultPadding, cover);
            if (!allowed(path, output.overwrite)) {
                if (outcome.path.isEmpty())
                    outcome.path = path;
                continue;
            }
            if (firstName.isEmpty())
                firstName = QFileInfo(path).fileName();
            outputs.append(output);
            p.kinds.append(format);
            outcome.paths.append(path);
        }
        if (outputs.isEmpty()) {
            outcome.mark = markNotReplaced;
            pending.push_back(std::move(p));
            flush(inFlight);
            continue;
        }
        outcome.path = outcome.paths.first();
        if (trackStarted)
            trackStarted(i, firstName);
        RipOptions trackOptions = options;
        if (measuring) {
            // CD samples are little-endian, as this machine's.
            static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
            p.meter = std::make_shared<gain::LoudnessMeter>(44100, 2);
            trackOptions.samplesRead = [meter = p.meter,
                                        read = options.samplesRead](const char *pcm, int bytes) {
                meter->add(std::span(reinterpret_cast<const qint16 *>(pcm), size_t(bytes) / 2));
                if (read)
                    read(pcm, bytes);
            };
        }
        p.rip = std::make_unique<TrackRip>(settings.drive, i - 1, outputs, trackOptions, &cancel);
        const bool started =
            !p.rip->reading() || !progress || progress(p.rip->done(), p.rip->total());
        if (!p.rip->reading())
            readingDone(p);
        pending.push_back(std::move(p));
        if (!started)
            cancelReading();
        if (!started || !readOpenTracks(i < rows.size())) {
            flush(0);
            summary.cancelled = true;
            return finish(false);
        }
        flush(inFlight);
    }
    if (!readOpenTracks(false)) {
        flush(0);
        summary.cancelled = true;
        return finish(false);
    }
    flush(0);
    // Stopped while the last writers finished: every track was read and written.
    return finish(!summary.cancelled);
}

QString reportFolder(const ExtractionSettings &settings, const QList<ExtractionJob::Kind> &kinds)
{
    QString error;
    const QString folder =
        kinds.isEmpty() ? QString() : formatFolder(settings, audioFormat(kinds.first()), &error);
    return folder.isEmpty() ? settings.folder : folder;
}

QString jobFormatsText(const QList<ExtractionJob::Kind> &kinds, const EncoderConfig &encoder,
                       int flacLevel)
{
    QStringList texts;
    for (ExtractionJob::Kind kind : kinds) {
        FlacConfig flac;
        flac.compressionLevel = flacLevel;
        texts << (kind == ExtractionJob::Flac  ? flacDescription(flac)
                  : kind == ExtractionJob::Mp3 ? encoderDescription(encoder)
                                               : QStringLiteral("WAV"));
    }
    return texts.join(QLatin1String(", "));
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
