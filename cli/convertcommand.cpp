// tarvex-cli convert FICHIER.wav...: encodes each WAV file into an MP3 file beside it, as the
// window's conversion does; a file that fails is reported and the next one is converted.
#include "command.h"

#include "cd/wavencoder.h"
#include "cd/wavfile.h"

#include <QTextStream>

namespace {

int runConvert(const QStringList &args)
{
    QStringList files;
    bool options = true;
    for (const QString &arg : args) {
        if (options && arg == QLatin1String("--")) {
            options = false;
        } else if (options && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            QTextStream(stderr) << "Option inconnue : " << arg << "\n";
            return cli::UsageError;
        } else {
            files.append(arg);
        }
    }
    if (files.isEmpty()) {
        QTextStream(stderr) << "Utilisation : tarvex-cli convert FICHIER.wav...\n";
        return cli::UsageError;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    int status = cli::AllSucceeded;
    for (const QString &wavPath : files) {
        const QString mp3Path = cd::mp3PathForWav(wavPath);
        const cd::EncodeResult r = cd::encodeWavToMp3(cd::loadWavFile(wavPath), mp3Path);
        if (r.ok) {
            out << "Enregistrement terminé : " << mp3Path << "\n";
        } else {
            err << r.error << "\n";
            status = cli::SomeFailed;
        }
        out.flush();
        err.flush();
    }
    return status;
}

const cli::Registration registration({"convert", "convert FICHIER.wav...  (crée FICHIER.mp3 à côté de chaque WAV)", runConvert});

} // namespace
