// tarvex-cli rip --cd-image=FICHIER|--lecteur=PERIPHERIQUE (--piste=LISTE|--toutes) (--wav|--mp3)
// [--ecraser] [--tags=v1|v2|les-deux|aucun ...] [--cd-text] [--piste-cachee] [--ejecter] SORTIE:
// extracts tracks with the routines of the
// window's extraction and tags MP3 files as the window's MP3 job does. One track and a SORTIE
// that is not a folder: SORTIE is the file. Otherwise SORTIE is a folder that receives the files,
// named as the window names them, with a log and a cue sheet. Prints, per track, its CRC32 and
// AccurateRip result. An existing file is replaced only with --ecraser.
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
    "(--wav | --mp3) [--ecraser] [--rapide] [--decalage=ECHANTILLONS] [--accuraterip=URL] "
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
    "le ReplayGain des pistes et du disque est écrit dans les MP3 à tag ID3v2, sauf avec "
    "--sans-replaygain ; --rva2 l'écrit aussi en trames RVA2)");

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
    const cli::Arguments arguments = cli::parseArguments(
        args,
        {"--cd-image=",    "--lecteur=", "--piste=",       "--toutes",       "--wav",
         "--mp3",          "--ecraser",  "--tags=",        "--artiste=",     "--album=",
         "--annee=",       "--genre=",   "--titre=",       "--commentaire=", "--encode=",
         "--cddb=",        "--serveur=", "--email=",       "--rapide",       "--decalage=",
         "--accuraterip=", "--format=",  "--vbr=",         "--trame-lame",   "--sans-replaygain",
         "--rva2",         "--cd-text",  "--piste-cachee", "--ejecter"});
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
               mp3 = arguments.has(QStringLiteral("--mp3"));
    if (wav && mp3)
        return usageError(
            QCoreApplication::translate("cli", "Choisissez --wav ou --mp3, pas les deux."));
    cd::TagOption tags = cd::TagOption::None;
    if (arguments.has(QStringLiteral("--tags="))) {
        const auto named = tagOption(value("--tags="));
        if (!named)
            return usageError(
                QCoreApplication::translate("cli", "Option de tags inconnue : --tags=%1")
                    .arg(value("--tags=")));
        if (wav && *named != cd::TagOption::None)
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
    bool numeric = true;
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
    if ((!listed && !all) || (!wav && !mp3) || output.isEmpty())
        return usageError(
            QCoreApplication::translate("cli", "Il manque la piste, le format ou la sortie."));

    // The fields of the window's CD page: those given, then those of the CDDB entry; the titles
    // are the rows of the track list.
    cd::ExtractionSettings settings;
    settings.drive = drive;
    settings.folder = output;
    settings.nameFormat = format;
    settings.tagOption = tags;
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

    // One track into a file that is not a folder: the file is SORTIE.
    if (tracks.size() == 1 && !QFileInfo(output).isDir()) {
        if (hidden)
            return usageError(QCoreApplication::translate(
                "cli", "--piste-cachee écrit dans un dossier : SORTIE doit en être un."));
        const int track = tracks.first();
        const QString title = arguments.has(QStringLiteral("--titre="))
                                  ? value("--titre=")
                                  : rows.value(track - 1, QStringLiteral("Piste %1").arg(track));
        // The file gets its name only once it holds its tags.
        const cd::TrackTags trackTags = cd::trackTags(settings, title, track);
        const cd::BeforeNaming tagging =
            tags == cd::TagOption::None
                ? cd::BeforeNaming()
                : cd::tagBeforeNaming(cd::ripTagRecord(trackTags, tags, settings.tagDefaults),
                                      output, trackTags.isrc);
        const cd::RipResult r =
            wav ? cd::ripTrackToWav(drive, track - 1, output, overwrite, {}, options)
                : cd::ripTrackToMp3(drive, track - 1, output, overwrite, {}, options, encoder,
                                    tagging);
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
        cd::ripReportHead(settings, options, disc, wav ? std::nullopt : std::optional(encoder));
    cd::addDiscDetails(report, details, *disc.toc);
    const cd::ExtractionJob::Kind kind = wav ? cd::ExtractionJob::Wav : cd::ExtractionJob::Mp3;
    const auto askReplace = [overwrite](const QString &) {
        return overwrite == cd::Overwrite::Replace ? cd::ReplaceAnswer::ReplaceAll
                                                   : cd::ReplaceAnswer::Skip;
    };
    if (hidden && !details.hasHiddenTrack()) {
        err << QCoreApplication::translate("cli", "Le disque n'a pas de piste cachée.") << "\n";
    } else if (hidden) {
        const cd::TrackOutcome o = cd::ripHiddenTrack(kind, settings, options, encoder, askReplace);
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
    const cd::ExtractionJob::Summary summary = job.run(kind, settings, trackRows);
    out.finish();
    if (eject && !summary.cancelled)
        cd::ejectDrive(drive);
    if (!summary.unreadableRows.isEmpty()) {
        err << cd::unreadableTracksMessage(summary.unreadableRows, trackRows) << "\n";
        status = cli::SomeFailed;
    }
    if (!report.tracks.isEmpty() &&
        !cd::writeRipReport(report, output,
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
