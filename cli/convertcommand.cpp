// tarvex-cli convert [--ecraser] [--vbr=0..9] [--trame-lame] FICHIER.wav...: encodes each WAV file
// into an MP3 file beside it, with the encoder of the window's conversion; a file that fails is
// reported and the next one is converted. An existing MP3 is replaced only with --ecraser.
#include "command.h"
#include "ripreport.h"

#include "cd/extractionjob.h"
#include "cd/wavencoder.h"
#include "cd/wavfile.h"

#include <QCoreApplication>
#include <QTextStream>

#include <vector>

namespace {

constexpr const char *usage = QT_TRANSLATE_NOOP(
    "cli",
    "convert [--ecraser] [--vbr=0..9] [--trame-lame] FICHIER.wav...  (crée FICHIER.mp3 à côté "
    "de chaque WAV, un encodeur par cœur ; --ecraser remplace un MP3 existant ; --vbr encode en "
    "débit variable V0 à V9 ; --trame-lame écrit la trame d'information LAME)");

int runConvert(const QStringList &args)
{
    const cli::Arguments arguments =
        cli::parseArguments(args, {"--ecraser", "--vbr=", "--trame-lame"});
    if (!arguments.error.isEmpty() || arguments.files.isEmpty())
        return cli::usageError(arguments.error, usage);
    int vbrQuality = -1;
    bool infoFrame = false;
    QString error;
    if (!cli::encoderChoice(arguments, &vbrQuality, &infoFrame, &error))
        return cli::usageError(error, usage);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const cd::Overwrite overwrite =
        arguments.has(QStringLiteral("--ecraser")) ? cd::Overwrite::Replace : cd::Overwrite::Refuse;
    int status = cli::AllSucceeded;
    QStringList taken;
    QList<cd::WavJob> jobs;
    for (const QString &wavPath : arguments.files) {
        // Two WAV files of one name but for the case ("a.wav", "a.WAV") do not share an MP3.
        jobs.append({wavPath, cd::unusedName(cd::mp3PathForWav(wavPath), taken), overwrite});
    }
    // Results are reported in the order of the arguments.
    const std::vector<cd::EncodeResult> results = cd::encodeWavFiles(jobs, vbrQuality, infoFrame);
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const cd::EncodeResult &r = results[size_t(i)];
        if (r.ok) {
            out << QCoreApplication::translate("cli", "Enregistrement terminé : %1")
                       .arg(jobs.at(i).mp3Path)
                << "\n";
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
