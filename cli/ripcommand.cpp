// tarvex-cli rip --cd-image=FICHIER|--lecteur=PERIPHERIQUE --piste=N (--wav|--mp3) [--ecraser]
// SORTIE: extracts one track with the routines of the window's extraction, without tags. An
// existing SORTIE is replaced only with --ecraser.
#include "command.h"

#include "cd/cddevice.h"
#include "cd/extractionjob.h"
#include "cd/ripper.h"

#include <QTextStream>

namespace {

const char usageText[] =
    "rip (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) --piste=N (--wav | --mp3) [--ecraser] "
    "SORTIE  (extrait la piste N, comptée à partir de 1 ; --ecraser remplace une SORTIE existante)";

int usageError(const QString &why)
{
    return cli::usageError(why, usageText);
}

int runRip(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(
        args, {"--cd-image=", "--lecteur=", "--piste=", "--wav", "--mp3", "--ecraser"});
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
    if (r.unreadableSectors > 0) {
        err << cd::unreadableTracksMessage({track}, {{QStringLiteral("Piste %1").arg(track), true}})
            << "\n";
        return cli::SomeFailed;
    }
    return cli::AllSucceeded;
}

const cli::Registration registration({"rip", usageText, runRip});

} // namespace
