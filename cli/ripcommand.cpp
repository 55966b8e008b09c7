// tarvex-cli rip --cd-image=FICHIER|--lecteur=PERIPHERIQUE --piste=N (--wav|--mp3) [--ecraser]
// [--tags=v1|v2|les-deux|aucun ...] SORTIE: extracts one track with the routines of the window's
// extraction and tags an MP3 as the window's MP3 job does. An existing SORTIE is replaced only
// with --ecraser.
#include "cddblookup.h"
#include "command.h"

#include "base/fileaccess.h"
#include "cd/cddb.h"
#include "cd/cddevice.h"
#include "cd/extractionjob.h"
#include "cd/ripper.h"
#include "cd/riptags.h"
#include "tags/tagsave.h"

#include <QTextStream>

#include <optional>

namespace {

const char usageText[] =
    "rip (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) --piste=N (--wav | --mp3) [--ecraser] "
    "[--tags=v1|v2|les-deux|aucun] [--artiste=A] [--album=..] [--annee=..] [--genre=NOM] "
    "[--titre=T] [--commentaire=..] [--encode=..] [--cddb=CHOIX [--serveur=URL] "
    "[--email=ADRESSE]] SORTIE  (extrait la piste N, comptée à partir de 1 ; --ecraser remplace "
    "une SORTIE existante ; --tags écrit les tags d'un MP3 comme l'extraction de la fenêtre, "
    "titre par défaut « Piste N » ; --cddb prend les champs absents dans la fiche CDDB choisie, "
    "1 quand un seul disque correspond)";

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
        args, {"--cd-image=", "--lecteur=", "--piste=", "--wav", "--mp3", "--ecraser",
               "--tags=", "--artiste=", "--album=", "--annee=", "--genre=", "--titre=",
               "--commentaire=", "--encode=", "--cddb=", "--serveur=", "--email="});
    QString error;
    QString drive = cli::driveOption(arguments, &error, true);
    if (!error.isEmpty())
        return usageError(error);
    bool numeric = false;
    const int track = arguments.value(QStringLiteral("--piste=")).toInt(&numeric);
    if (arguments.has(QStringLiteral("--piste=")) && (!numeric || track < 1))
        return usageError(QStringLiteral("Numéro de piste invalide : --piste=%1")
                              .arg(arguments.value(QStringLiteral("--piste="))));
    const bool wav = arguments.has(QStringLiteral("--wav")),
               mp3 = arguments.has(QStringLiteral("--mp3"));
    if (wav && mp3)
        return usageError(QStringLiteral("Choisissez --wav ou --mp3, pas les deux."));
    const auto value = [&arguments](const char *option) {
        return arguments.value(QLatin1String(option));
    };
    cd::TagOption tags = cd::TagOption::None;
    if (arguments.has(QStringLiteral("--tags="))) {
        const auto named = tagOption(value("--tags="));
        if (!named)
            return usageError(
                QStringLiteral("Option de tags inconnue : --tags=%1").arg(value("--tags=")));
        if (wav && *named != cd::TagOption::None)
            return usageError(QStringLiteral("Les tags ne s'écrivent que dans un MP3 (--mp3)."));
        tags = *named;
    }
    int cddbChoice = 0;
    if (arguments.has(QStringLiteral("--cddb="))) {
        cddbChoice = value("--cddb=").toInt();
        if (cddbChoice < 1)
            return usageError(QStringLiteral("Choix invalide : --cddb=%1 (un numéro à partir de 1)")
                                  .arg(value("--cddb=")));
    }
    if (arguments.files.size() > 1)
        return usageError(QStringLiteral("Une seule sortie à la fois."));
    const QString output = arguments.files.value(0);
    if (drive.isEmpty()) {
        const QStringList drives = cd::cdDrives();
        if (drives.isEmpty())
            return usageError(
                QStringLiteral("Aucun lecteur de CD trouvé : indiquez --cd-image ou --lecteur."));
        drive = drives.first();
    }
    if (!numeric || (!wav && !mp3) || output.isEmpty())
        return usageError(QStringLiteral("Il manque la piste, le format ou la sortie."));

    // The fields of the window's CD page: those given, then those of the CDDB entry; the title
    // is the track's row text.
    cd::ExtractionSettings settings;
    QString title = QStringLiteral("Piste %1").arg(track);
    if (cddbChoice > 0) {
        const QString server = arguments.has(QStringLiteral("--serveur="))
                                   ? value("--serveur=")
                                   : cd::cddbDefaultServerUrl();
        const cli::DiscLookup disc = cli::lookUpDisc(drive, server, value("--email="), cddbChoice);
        if (!disc.failure.isEmpty()) {
            QTextStream(stderr) << disc.failure << "\n";
            return cli::SomeFailed;
        }
        settings.artist = disc.artist;
        settings.album = disc.album;
        settings.year = disc.year;
        settings.genre = disc.genre;
        title = disc.rows.value(track - 1, title);
    }
    const auto take = [&arguments](const char *option, QString &field) {
        if (arguments.has(QLatin1String(option)))
            field = arguments.value(QLatin1String(option));
    };
    take("--artiste=", settings.artist);
    take("--album=", settings.album);
    take("--annee=", settings.year);
    take("--genre=", settings.genre);
    take("--titre=", title);

    const cd::Overwrite overwrite =
        arguments.has(QStringLiteral("--ecraser")) ? cd::Overwrite::Replace : cd::Overwrite::Refuse;
    const cd::RipResult r = wav ? cd::ripTrackToWav(drive, track - 1, output, overwrite)
                                : cd::ripTrackToMp3(drive, track - 1, output, overwrite);
    QTextStream err(stderr);
    if (!r.ok()) {
        const QString message = cd::ripErrorMessage(r);
        err << (message.isEmpty()
                    ? QStringLiteral("Impossible d'ouvrir le lecteur « %1 »").arg(drive)
                    : message)
            << "\n";
        return cli::SomeFailed;
    }
    if (tags != cd::TagOption::None) {
        const tags::TagType record =
            cd::ripTagRecord(cd::trackTags(settings, title, track), tags,
                             tags::defaultTexts(value("--commentaire="), value("--encode=")));
        tags::TagChanges changes;
        changes.v1 = record.TagV1;
        changes.v2 = record.TagV2;
        const tags::Result<bool> saved = tags::saveChanges(output, changes);
        if (!saved.ok() || !saved.value()) {
            err << QStringLiteral("Le tag de « %1 » n'a pas pu être enregistré : %2")
                       .arg(base::shownPath(output), saved.error())
                << "\n";
            return cli::SomeFailed;
        }
    }
    if (r.unreadableSectors > 0) {
        err << cd::unreadableTracksMessage({track}, {{QStringLiteral("Piste %1").arg(track), true}})
            << "\n";
        return cli::SomeFailed;
    }
    return cli::AllSucceeded;
}

const cli::Registration registration({"rip", usageText, runRip});

} // namespace
