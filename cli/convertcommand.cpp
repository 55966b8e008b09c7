// tarvex-cli convert FICHIER.wav...: encodes each WAV file into an MP3 file beside it, as the
// window's conversion does; a file that fails is reported and the next one is converted.
#include "command.h"

#include "cd/wavencoder.h"
#include "cd/wavfile.h"

#include <QTextStream>

namespace {

constexpr const char *usage = "convert FICHIER.wav...  (crée FICHIER.mp3 à côté de chaque WAV)";

int runConvert(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(args, {});
    if (!arguments.error.isEmpty() || arguments.files.isEmpty())
        return cli::usageError(arguments.error, usage);
    QTextStream out(stdout);
    QTextStream err(stderr);
    int status = cli::AllSucceeded;
    for (const QString &wavPath : arguments.files) {
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

const cli::Registration registration({"convert", usage, runConvert});

} // namespace
