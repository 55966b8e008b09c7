// tarvex-cli rip --cd-image=FICHIER|--lecteur=PERIPHERIQUE --piste=N (--wav|--mp3) SORTIE:
// extracts one track with the routines of the window's extraction, without tags.
#include "command.h"

#include "cd/cddevice.h"
#include "cd/extractionjob.h"
#include "cd/ripper.h"

#include <QTextStream>

namespace {

const char usageText[] =
    "rip (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) --piste=N (--wav | --mp3) SORTIE  "
    "(extrait la piste N, comptée à partir de 1)";

int usageError(const QString &why)
{
    QTextStream(stderr) << why << "\nUtilisation : tarvex-cli " << usageText << "\n";
    return cli::UsageError;
}

int runRip(const QStringList &args)
{
    QString drive;
    QString output;
    int track = 0;
    enum { None, Wav, Mp3 } kind = None;
    for (const QString &arg : args) {
        if (arg.startsWith(QLatin1String("--cd-image=")) || arg.startsWith(QLatin1String("--lecteur="))) {
            if (!drive.isEmpty())
                return usageError(QStringLiteral("Un seul disque à la fois."));
            drive = arg.section(QLatin1Char('='), 1);
        } else if (arg.startsWith(QLatin1String("--piste="))) {
            bool ok = false;
            track = arg.section(QLatin1Char('='), 1).toInt(&ok);
            if (!ok || track < 1)
                return usageError(QStringLiteral("Numéro de piste invalide : %1").arg(arg));
        } else if (arg == QLatin1String("--wav") || arg == QLatin1String("--mp3")) {
            if (kind != None)
                return usageError(QStringLiteral("Choisissez --wav ou --mp3, pas les deux."));
            kind = arg == QLatin1String("--wav") ? Wav : Mp3;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return usageError(QStringLiteral("Option inconnue : %1").arg(arg));
        } else if (output.isEmpty()) {
            output = arg;
        } else {
            return usageError(QStringLiteral("Une seule sortie à la fois."));
        }
    }
    if (drive.isEmpty()) {
        const QStringList drives = cd::cdDrives();
        if (drives.isEmpty())
            return usageError(QStringLiteral("Aucun lecteur de CD trouvé : indiquez --cd-image ou --lecteur."));
        drive = drives.first();
    }
    if (track == 0 || kind == None || output.isEmpty())
        return usageError(QStringLiteral("Il manque la piste, le format ou la sortie."));

    const cd::RipResult r = kind == Wav ? cd::ripTrackToWav(drive, track - 1, output)
                                        : cd::ripTrackToMp3(drive, track - 1, output);
    QTextStream err(stderr);
    if (!r.ok()) {
        const QString message = cd::ripErrorMessage(r, output);
        err << (message.isEmpty() ? QStringLiteral("Impossible d'ouvrir le lecteur « %1 »").arg(drive) : message) << "\n";
        return cli::SomeFailed;
    }
    if (r.unreadableSectors > 0) {
        err << cd::unreadableTracksMessage({track}, {{QStringLiteral("Piste %1").arg(track), true}}) << "\n";
        return cli::SomeFailed;
    }
    return cli::AllSucceeded;
}

const cli::Registration registration({"rip", usageText, runRip});

} // namespace
