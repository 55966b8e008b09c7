// tarvex-cli convert [--ecraser] FICHIER.wav...: encodes each WAV file into an MP3 file beside
// it, as the window's conversion does; a file that fails is reported and the next one is
// converted. An existing MP3 is replaced only with --ecraser.
#include "command.h"

#include "cd/extractionjob.h"
#include "cd/wavencoder.h"
#include "cd/wavfile.h"

#include <QTextStream>

namespace {

constexpr const char *usage =
    "convert [--ecraser] FICHIER.wav...  (crée FICHIER.mp3 à côté de chaque "
    "WAV ; --ecraser remplace un MP3 existant)";

int runConvert(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(args, {"--ecraser"});
    if (!arguments.error.isEmpty() || arguments.files.isEmpty())
        return cli::usageError(arguments.error, usage);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const cd::Overwrite overwrite =
        arguments.has(QStringLiteral("--ecraser")) ? cd::Overwrite::Replace : cd::Overwrite::Refuse;
    int status = cli::AllSucceeded;
    QStringList taken;
    for (const QString &wavPath : arguments.files) {
        // Two WAV files of one name but for the case ("a.wav", "a.WAV") do not share an MP3.
        const QString mp3Path = cd::unusedName(cd::mp3PathForWav(wavPath), taken);
        const cd::EncodeResult r = cd::encodeWavToMp3(cd::loadWavFile(wavPath), mp3Path, overwrite);
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
