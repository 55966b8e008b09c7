// tarvex-cli rip --cd-image=FICHIER|--lecteur=PERIPHERIQUE (--piste=LISTE|--toutes)
// [--wav] [--mp3] [--flac] [--ecraser] [--tags=v1|v2|les-deux|aucun ...] [--cd-text]
// [--piste-cachee] [--ejecter] SORTIE: extracts tracks with the routines of the window's
// extraction and tags MP3 files as the window's MP3 job does; several formats come from one
// reading of each track. One track in one format and a SORTIE
// that is not a folder: SORTIE is the file. Otherwise SORTIE is a folder that receives the files,
// named as the window names them, with a log, a cue sheet and a playlist per format. Prints, per
// track, its CRC32 and AccurateRip result. An existing file is replaced only with --ecraser.
#include "cddblookup.h"
#include "command.h"
#include "ripreport.h"

#include "base/fileaccess.h"
#include "cd/cddb.h"
#include "cd/cddevice.h"
#include "cd/discdetails.h"
#include "cd/extractionjob.h"
#include "cd/hiddentrack.h"
#include "cd/riplog.h"
#include "cd/ripper.h"
#include "cd/riptags.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace {

const char usageText[] = QT_TRANSLATE_NOOP(
    "cli",
    "rip (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) (--piste=1,3,5-7 | --toutes) "
    "[--wav] [--mp3] [--flac] [--niveau-flac=0..8] [--dossier-wav=MODELE] "
    "[--dossier-mp3=MODELE] [--dossier-flac=MODELE] [--sans-liste] [--ecraser] [--rapide] "
    "[--decalage=ECHANTILLONS] [--accuraterip=URL] "
    "[--format=0..3] [--vbr=0..9] [--trame-lame] [--sans-replaygain] [--rva2] "
    "[--tags=v1|v2|les-deux|aucun] [--artiste=A] [--album=..] [--annee=..] [--genre=NOM] "
    "[--titre=T] [--commentaire=..] [--encode=..] [--cddb=CHOIX [--serveur=URL] "
    "[--email=ADRESSE]] [--cd-text] [--piste-cachee] [--ejecter] SORTIE  (extrait la piste N, "
    "comptée à partir de 1 ; --ecraser remplace "
    "une SORTIE existante ; --tags écrit les tags d'un MP3 comme l'extraction de la fenêtre, "
    "titre par défaut « Piste N » ; --cddb prend les champs absents dans la fiche CDDB choisie, "
    "1 quand un seul disque correspond, le CD-Text du disque quand le serveur ne donne rien ; "
    "--cd-text prend les noms dans le CD-Text seul ; --piste-cachee extrait aussi le son caché "
    "avant la piste 1 ; --ejecter éjecte le disque à la fin ; SORTIE est le fichier d'une seule "
    "piste, ou un dossier "
    "qui reçoit les fichiers nommés comme dans la fenêtre, un journal et une feuille .cue ; "
    "--rapide lit sans relectures ; --decalage corrige le décalage de lecture du lecteur ; "
    "le ReplayGain des pistes et du disque est écrit dans les FLAC et les MP3 à tag ID3v2, sauf "
    "avec --sans-replaygain ; plusieurs formats viennent d'une seule lecture du disque, chacun "
    "dans le dossier que donne son modèle sous SORTIE, par exemple --dossier-flac=FLAC/%artiste%/"
    "%album% ; chaque format reçoit une liste de lecture .m3u8, sauf avec --sans-liste ; "
    "--niveau-flac va de 0, le plus rapide, à 8, le plus compact, 5 par défaut ; --rva2 écrit "
    "aussi le ReplayGain des MP3 en trames RVA2)");

int usageError(const QString &why)
{
    return cli::usageError(why, usageText);
}

// The tag option named by --tags; nothing for an unknown word.
std::optional<cd::TagOption> tagOption(const QString &word)
{
    const QList<std::pair<QString, cd::TagOption>> words = {
        {QStringLiteral("v1"), cd::TagOption::V1},
        {QStringLiteral("v2"), cd::TagOption::V2},
        {QStringLiteral("les-deux"), cd::TagOption::V1AndV2},
        {QStringLiteral("aucun"), cd::TagOption::None}};
    for (const auto &[name, option] : words) {
        if (word == name)
            return option;
    }
    return std::nullopt;
}

int runRip(const QStringList &args)
{
    const cli::Arguments arguments =
        cli::parseArguments(args, {"--cd-image=",       "--lecteur=",     "--piste=",
                                   "--toutes",          "--wav",          "--mp3",
                                   "--ecraser",         "--tags=",        "--artiste=",
                                   "--album=",          "--annee=",       "--genre=",
                                   "--titre=",          "--commentaire=", "--encode=",
                                   "--cddb=",           "--serveur=",     "--email=",
                                   "--rapide",          "--decalage=",    "--accuraterip=",
                                   "--format=",         "--vbr=",         "--trame-lame",
                                   "--sans-replaygain", "--flac",         "--niveau-flac=",
                                   "--dossier-wav=",    "--dossier-mp3=", "--dossier-flac=",
                                   "--sans-liste",      "--rva2",         "--cd-text",
                                   "--piste-cachee",    "--ejecter"});
    QString error;
    QString drive = cli::driveOption(arguments, &error, true);
    if (!error.isEmpty())
        return usageError(error);
    const auto value = [&arguments](const char *option) {
        return arguments.value(QLatin1String(option));
    };
    const bool all = arguments.has(QStringLiteral("--toutes"));
    const auto listed = cli::parseTrackList(value("--piste="), 99);
    if (arguments.has(QStringLiteral("--piste=")) && (!listed || all))
        return usageError(
            QCoreApplication::translate("cli", "Numéro de piste invalide : --piste=%1")
                .arg(value("--piste=")));
    const bool wav = arguments.has(QStringLiteral("--wav")),
               mp3 = arguments.has(QStringLiteral("--mp3")),
               flac = arguments.has(QStringLiteral("--flac"));
    QList<cd::ExtractionJob::Kind> kinds;
    for (const auto &[asked, kind] : {std::pair{flac, cd::ExtractionJob::Flac},
                                      {mp3, cd::ExtractionJob::Mp3},
                                      {wav, cd::ExtractionJob::Wav}}) {
        if (asked)
            kinds.append(kind);
    }
    bool numeric = true;
    const int flacLevel = arguments.has(QStringLiteral("--niveau-flac="))
                              ? value("--niveau-flac=").toInt(&numeric)
                              : cd::defaultFlacLevel;
    if (!numeric || flacLevel < 0 || flacLevel > 8)
        return usageError(
            QCoreApplication::translate("cli", "Niveau invalide : --niveau-flac=%1 (0 à 8)")
                .arg(value("--niveau-flac=")));
    cd::TagOption tags = cd::TagOption::None;
    if (arguments.has(QStringLiteral("--tags="))) {
        const auto named = tagOption(value("--tags="));
        if (!named)
            return usageError(
                QCoreApplication::translate("cli", "Option de tags inconnue : --tags=%1")
                    .arg(value("--tags=")));
        if (!mp3 && *named != cd::TagOption::None)
            return usageError(QCoreApplication::translate(
                "cli", "Les tags ne s'écrivent que dans un MP3 (--mp3)."));
        tags = *named;
    }
    int cddbChoice = 0;
    if (arguments.has(QStringLiteral("--cddb="))) {
        cddbChoice = value("--cddb=").toInt();
        if (cddbChoice < 1)
            return usageError(QCoreApplication::translate(
                                  "cli", "Choix invalide : --cddb=%1 (un numéro à partir de 1)")
                                  .arg(value("--cddb=")));
    }
    cd::RipOptions options;
    options.secure = !arguments.has(QStringLiteral("--rapide"));
    if (arguments.has(QStringLiteral("--decalage=")))
        options.offsetSamples = value("--decalage=").toInt(&numeric);
    if (!numeric || std::abs(options.offsetSamples) > cd::maxOffsetSamples)
        return usageError(
            QCoreApplication::translate("cli", "Décalage invalide : --decalage=%1 (de -%2 à %2)")
                .arg(value("--decalage="))
                .arg(cd::maxOffsetSamples));
    const int format = arguments.has(QStringLiteral("--format="))
                           ? value("--format=").toInt(&numeric)
                           : int(cd::ArtistTitle);
    if (!numeric || format < cd::ArtistTitle || format > cd::TitleOnly)
        return usageError(
            QCoreApplication::translate("cli", "Format invalide : --format=%1 (0 à 3)")
                .arg(value("--format=")));
    cd::EncoderConfig encoder = cd::cdTrackEncoderConfig();
    if (!cli::encoderChoice(arguments, &encoder.vbrQuality, &encoder.infoFrame, &error))
        return usageError(error);
    if (arguments.files.size() > 1)
        return usageError(QCoreApplication::translate("cli", "Une seule sortie à la fois."));
    const QString output = arguments.files.value(0);
    if (drive.isEmpty()) {
        const QStringList drives = cd::cdDrives();
        if (drives.isEmpty())
            return usageError(QCoreApplication::translate(
                "cli", "Aucun lecteur de CD trouvé : indiquez --cd-image ou --lecteur."));
        drive = drives.first();
    }
    if ((!listed && !all) || kinds.isEmpty() || output.isEmpty())
        return usageError(
            QCoreApplication::translate("cli", "Il manque la piste, le format ou la sortie."));

    // The fields of the window's CD page: those given, then those of the CDDB entry; the titles
    // are the rows of the track list.
    cd::ExtractionSettings settings;
    settings.drive = drive;
    settings.folder = output;
    settings.nameFormat = format;
    settings.tagOption = tags;
    for (const auto &[option, format] : {std::pair{"--dossier-wav=", cd::AudioFormat::Wav},
                                         {"--dossier-mp3=", cd::AudioFormat::Mp3},
                                         {"--dossier-flac=", cd::AudioFormat::Flac}}) {
        const QString pattern = value(option);
        if (!pattern.isEmpty())
            settings.folderPatterns.insert(format, pattern);
    }
    QStringList rows;
    const bool cdText = arguments.has(QStringLiteral("--cd-text"));
    if (cddbChoice > 0 || cdText) {
        const QString server = arguments.has(QStringLiteral("--serveur="))
                                   ? value("--serveur=")
                                   : cd::cddbDefaultServerUrl();
        const cli::DiscLookup disc =
            cli::lookUpDisc(drive, server, value("--email="), cddbChoice, cd::cddbDefaultProtocol,
                            cdText ? cli::NameSource::CdText : cli::NameSource::CddbThenCdText);
        if (!disc.failure.isEmpty()) {
            QTextStream(stderr) << disc.failure << "\n";
            return cli::SomeFailed;
        }
        settings.artist = disc.artist;
        settings.album = disc.album;
        settings.year = disc.year;
        settings.genre = disc.genre;
        rows = disc.rows;
    }
    const auto take = [&arguments](const char *option, QString &field) {
        if (arguments.has(QLatin1String(option)))
            field = arguments.value(QLatin1String(option));
    };
    take("--artiste=", settings.artist);
    take("--album=", settings.album);
    take("--annee=", settings.year);
    take("--genre=", settings.genre);

    QTextStream err(stderr);
    const cd::DiscCheck disc = cd::checkDisc(drive, arguments.has(QStringLiteral("--accuraterip="))
                                                        ? value("--accuraterip=")
                                                        : cd::accurateRipDefaultUrl());
    if (!disc.toc) {
        err << (cd::CdDevice::open(drive)
                    ? QCoreApplication::translate("cli", "Lecture du disque impossible")
                    : QCoreApplication::translate("cli", "Impossible d'ouvrir le lecteur « %1 »")
                          .arg(drive))
            << "\n";
        return cli::SomeFailed;
    }
    const int count = disc.toc->audioTrackCount();
    const cd::DiscDetails details = cd::readDiscDetails(drive);
    settings.isrc = details.isrc;
    const bool hidden = arguments.has(QStringLiteral("--piste-cachee"));
    const bool eject = arguments.has(QStringLiteral("--ejecter"));
    QList<int> tracks = listed.value_or(QList<int>{});
    if (all) {
        for (int t = 1; t <= count; ++t)
            tracks << t;
    }
    settings.tagDefaults = tags::defaultTexts(value("--commentaire="), value("--encode="));
    const cd::Overwrite overwrite =
        arguments.has(QStringLiteral("--ecraser")) ? cd::Overwrite::Replace : cd::Overwrite::Refuse;
    cli::JsonArrayWriter out;
    int status = cli::AllSucceeded;

    // One track in one format into a file that is not a folder: the file is SORTIE.
    if (tracks.size() == 1 && kinds.size() == 1 && !QFileInfo(output).isDir()) {
        if (hidden)
            return usageError(QCoreApplication::translate(
                "cli", "--piste-cachee écrit dans un dossier : SORTIE doit en être un."));
        const int track = tracks.first();
        const QString title = arguments.has(QStringLiteral("--titre="))
                                  ? value("--titre=")
                                  : rows.value(track - 1, QStringLiteral("Piste %1").arg(track));
        cd::TrackTags fields = cd::trackTags(settings, title, track);
        fields.trackTotal = count;
        cd::TrackOutput file{output, overwrite, cd::AudioFormat::Wav, encoder};
        if (mp3) {
            file.format = cd::AudioFormat::Mp3;
            // The file gets its name only once it holds its tags.
            if (tags != cd::TagOption::None)
                file.beforeNaming = cd::tagBeforeNaming(
                    cd::ripTagRecord(fields, tags, settings.tagDefaults), output, fields.isrc);
        } else if (flac) {
            file.format = cd::AudioFormat::Flac;
            file.flac.compressionLevel = flacLevel;
            file.flac.comments = cd::flacComments(fields, settings.tagDefaults);
        }
        const cd::RipResult r = cd::ripTrackToFiles(drive, track - 1, {file}, {}, options).front();
        if (!r.ok()) {
            out.finish();
            err << cd::ripErrorMessage(r) << "\n";
            return cli::SomeFailed;
        }
        out.append(cli::trackReport(track, output, r.crc32, r.accurateRipV1, r.accurateRipV2,
                                    disc.verdict(track, r.accurateRipV1, r.accurateRipV2),
                                    r.rereadSectors));
        out.finish();
        if (eject)
            cd::ejectDrive(drive);
        if (r.unreadableSectors > 0) {
            err << cd::unreadableTracksMessage({track},
                                               {{QStringLiteral("Piste %1").arg(track), true}})
                << "\n";
            return cli::SomeFailed;
        }
        return status;
    }

    // Several tracks, or a folder: the window's job over the disc's rows.
    QList<cd::TrackRow> trackRows;
    for (int t = 1; t <= count; ++t)
        trackRows.append(
            {rows.value(t - 1, QStringLiteral("Piste %1").arg(t)), tracks.contains(t)});
    if (tracks.isEmpty() || tracks.last() > count) {
        out.finish();
        err << QCoreApplication::translate("cli", "N° de piste incorrecte") << "\n";
        return cli::SomeFailed;
    }
    cd::RipReport report =
        cd::ripReportHead(settings, options, disc, mp3 ? std::optional(encoder) : std::nullopt);
    report.format = cd::jobFormatsText(kinds, encoder, flacLevel);
    cd::addDiscDetails(report, details, *disc.toc);
    const auto askReplace = [overwrite](const QString &) {
        return overwrite == cd::Overwrite::Replace ? cd::ReplaceAnswer::ReplaceAll
                                                   : cd::ReplaceAnswer::Skip;
    };
    if (hidden && !details.hasHiddenTrack()) {
        err << QCoreApplication::translate("cli", "Le disque n'a pas de piste cachée.") << "\n";
    } else if (hidden) {
        const cd::TrackOutcome o =
            cd::ripHiddenTrack(kinds, settings, options, encoder, flacLevel, askReplace);
        if (o.mark == cd::markOk) {
            out.append(cli::trackReport(0, o.path, o.result.crc32, o.result.accurateRipV1,
                                        o.result.accurateRipV2, {}, o.result.rereadSectors));
            report.hiddenTrack = {0, cd::hiddenTrackTitle(), o.path, o.result, {}};
        } else {
            err << (o.mark == cd::markNotReplaced
                        ? QCoreApplication::translate("cli", "Le fichier « %1 » existe déjà.")
                              .arg(base::shownPath(o.path))
                        : o.message)
                << "\n";
            status = cli::SomeFailed;
        }
    }
    cd::ExtractionJob job;
    job.options = options;
    job.encoder = encoder;
    job.flacLevel = flacLevel;
    job.playlists = !arguments.has(QStringLiteral("--sans-liste"));
    job.replayGain = !arguments.has("--sans-replaygain");
    job.gainOptions.rva2 = arguments.has("--rva2");
    job.askReplace = askReplace;
    job.trackFinished = [&](const cd::TrackOutcome &o) {
        if (!trackRows.at(o.row - 1).checked)
            return;
        if (o.mark != cd::markOk) {
            err << (o.mark == cd::markNotReplaced
                        ? QCoreApplication::translate("cli", "Le fichier « %1 » existe déjà.")
                              .arg(base::shownPath(o.path))
                        : o.message)
                << "\n";
            err.flush();
            status = cli::SomeFailed;
            return;
        }
        const cd::AccurateRipVerdict verdict =
            disc.verdict(o.row, o.result.accurateRipV1, o.result.accurateRipV2);
        out.append(cli::trackReport(o.row, o.path, o.result.crc32, o.result.accurateRipV1,
                                    o.result.accurateRipV2, verdict, o.result.rereadSectors));
        report.tracks.append({o.row, trackRows.at(o.row - 1).text, o.path, o.result, verdict});
    };
    const cd::ExtractionJob::Summary summary = job.run(kinds, settings, trackRows);
    out.finish();
    for (const QString &failure : summary.gainFailures + summary.playlistFailures) {
        err << failure << "\n";
        status = cli::SomeFailed;
    }
    if (eject && !summary.cancelled)
        cd::ejectDrive(drive);
    if (!summary.unreadableRows.isEmpty()) {
        err << cd::unreadableTracksMessage(summary.unreadableRows, trackRows) << "\n";
        status = cli::SomeFailed;
    }
    if (!report.tracks.isEmpty() &&
        !cd::writeRipReport(report, cd::reportFolder(settings, kinds),
                            cd::safeFileStem(settings.album.isEmpty() ? QStringLiteral("extraction")
                                                                      : settings.album,
                                             1),
                            &error)) {
        err << error << "\n";
        status = cli::SomeFailed;
    }
    return status;
}

const cli::Registration registration({"rip", usageText, runRip});

} // namespace
