// tarvex-cli gain [--album] [--ecrire] [--crete-echantillon] [--reference] [--rva2] [--effacer]
// FICHIER...: the loudness of each file after EBU R128 and its ReplayGain 2.0, in JSON; written
// into the ID3v2 tag with --ecrire (also as RVA2 frames with --rva2); --effacer removes the
// ReplayGain texts and RVA2 frames instead.
#include "tagcli.h"

#include "gain/gainjob.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <cmath>

namespace {

constexpr const char *usage = QT_TRANSLATE_NOOP(
    "cli", "gain [--album] [--ecrire] [--crete-echantillon] [--reference] [--rva2] [--effacer] "
           "FICHIER...  (sonie EBU R128 et ReplayGain 2.0, en JSON ; --album mesure aussi les "
           "albums, fichiers d'un même dossier et d'un même album ; --ecrire écrit les valeurs "
           "dans le tag ID3v2, aussi en trames RVA2 avec --rva2 ; --effacer les supprime)");

QJsonValue rounded(double value, int decimals)
{
    if (!std::isfinite(value))
        return QJsonValue::Null;
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// lufs, gain (dB), crete (sample peak) and crete_vraie (true peak); null for what silence
// leaves unmeasured.
QJsonObject loudnessObject(const gain::Loudness &loudness)
{
    return {{QStringLiteral("lufs"), rounded(loudness.lufs, 2)},
            {QStringLiteral("gain"), loudness.measured()
                                         ? rounded(gain::replayGain(loudness.lufs), 2)
                                         : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("crete"), rounded(loudness.samplePeak, 6)},
            {QStringLiteral("crete_vraie"), rounded(loudness.truePeak, 6)}};
}

int runClear(const QStringList &files)
{
    return tagcli::changeFiles(files, [](const QString &path) {
        return tagcli::saved(tags::saveFields(path, gain::clearGainEdit(), tagcli::batchSave));
    });
}

int runGain(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(
        args, {"--album", "--ecrire", "--crete-echantillon", "--reference", "--rva2", "--effacer"});
    if (!arguments.error.isEmpty())
        return cli::usageError(arguments.error, usage);
    if (arguments.files.isEmpty())
        return cli::usageError(QCoreApplication::translate("cli", "Aucun fichier indiqué."), usage);
    if (arguments.has("--effacer"))
        return runClear(arguments.files);

    const QList<gain::FileGain> measured =
        gain::measureGain(arguments.files, arguments.has("--album"));
    QStringList writeErrors(measured.size());
    if (arguments.has("--ecrire")) {
        const gain::GainOptions options{arguments.has("--crete-echantillon"),
                                        arguments.has("--reference"), arguments.has("--rva2")};
        QList<qsizetype> positions;
        QList<tags::FieldEdit> edits;
        QStringList files;
        for (qsizetype i = 0; i < measured.size(); ++i) {
            if (const std::optional<tags::FieldEdit> edit = gain::gainEdit(measured[i], options)) {
                positions.append(i);
                edits.append(*edit);
                files.append(measured[i].path);
            }
        }
        const QStringList errors = tags::runBatch(files, [&](qsizetype k) {
            return tagcli::saved(tags::saveFields(files[k], edits[k], tagcli::batchSave));
        });
        for (qsizetype k = 0; k < positions.size(); ++k)
            writeErrors[positions[k]] = errors[k];
    }

    QJsonArray out;
    int status = cli::AllSucceeded;
    for (qsizetype i = 0; i < measured.size(); ++i) {
        const gain::FileGain &file = measured[i];
        QJsonObject entry{{QStringLiteral("fichier"), file.path}};
        const QString error = !file.error.isEmpty() ? file.error : writeErrors[i];
        if (!file.error.isEmpty()) {
            entry.insert(QStringLiteral("erreur"), error);
            status = cli::SomeFailed;
            out.append(entry);
            continue;
        }
        const QJsonObject track = loudnessObject(file.track);
        for (auto it = track.begin(); it != track.end(); ++it)
            entry.insert(it.key(), it.value());
        if (file.album)
            entry.insert(QStringLiteral("album"), loudnessObject(*file.album));
        if (arguments.has("--ecrire")) {
            entry.insert(QStringLiteral("ecrit"), error.isEmpty() && file.track.measured());
            if (!error.isEmpty()) {
                entry.insert(QStringLiteral("erreur"), error);
                status = cli::SomeFailed;
            }
        }
        out.append(entry);
    }
    cli::printJson(QJsonDocument(out));
    return status;
}

const cli::Registration registration({"gain", usage, runGain});

} // namespace
