// tarvex-cli verify (--cd-image=F | --lecteur=DEV) [--piste=LISTE] [--accuraterip=URL]
// FICHIER.wav...: checks WAV rips of a disc against the AccurateRip database. The files are
// the disc's tracks in order (track 1 first), or the tracks of --piste.
#include "command.h"
#include "ripreport.h"

#include "cd/wavfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <vector>

namespace {

const char usageText[] = QT_TRANSLATE_NOOP(
    "cli",
    "verify (--cd-image=FICHIER | --lecteur=PERIPHERIQUE) [--piste=1,3,5-7] "
    "[--accuraterip=URL] FICHIER.wav...  (vérifie des extractions WAV auprès d'AccurateRip ; "
    "les fichiers sont les pistes du disque dans l'ordre, ou celles de --piste)");

// The checksums of a WAV file holding CD audio; nothing (and a French message) when the file
// is not 16-bit stereo 44100 Hz PCM or cannot be read.
std::optional<cd::TrackChecksums> wavChecksums(const QString &path, bool first, bool last,
                                               QString *error)
{
    const cd::WavFile wav = cd::loadWavFile(path);
    if (!wav.wavLoaded) {
        *error = wav.error;
        return std::nullopt;
    }
    if (wav.sampleFormat != 1 || wav.wavFormat.channels != 2 ||
        wav.wavFormat.samplesPerSec != 44100 || wav.bytesPerSample != 2) {
        *error = QCoreApplication::translate(
                     "cli", "« %1 » n'est pas de l'audio de CD (PCM 16 bits stéréo 44100 Hz).")
                     .arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(wav.dataOffset)) {
        *error = QCoreApplication::translate("cli", "Impossible de lire « %1 »").arg(path);
        return std::nullopt;
    }
    cd::TrackChecksums sums(wav.frameCount(), first, last);
    std::vector<char> buffer(1 << 20);
    for (qint64 left = wav.frameCount() * 4; left > 0;) {
        const qint64 n = file.read(buffer.data(), std::min<qint64>(left, qint64(buffer.size())));
        if (n <= 0) {
            *error = QCoreApplication::translate("cli", "Impossible de lire « %1 »").arg(path);
            return std::nullopt;
        }
        sums.add(buffer.data(), n);
        left -= n;
    }
    return sums;
}

int runVerify(const QStringList &args)
{
    const cli::Arguments arguments =
        cli::parseArguments(args, {"--cd-image=", "--lecteur=", "--piste=", "--accuraterip="});
    QString error;
    const QString drive = cli::driveOption(arguments, &error, true);
    if (!error.isEmpty() || drive.isEmpty() || arguments.files.isEmpty())
        return cli::usageError(error, usageText);
    const QString url = arguments.has(QStringLiteral("--accuraterip="))
                            ? arguments.value(QStringLiteral("--accuraterip="))
                            : cd::accurateRipDefaultUrl();
    const cd::DiscCheck disc = cd::checkDisc(drive, url);
    QTextStream err(stderr);
    if (!disc.toc) {
        err << QCoreApplication::translate("cli", "Lecture du disque impossible") << "\n";
        return cli::SomeFailed;
    }
    const int count = disc.toc->audioTrackCount();
    QList<int> tracks;
    if (arguments.has(QStringLiteral("--piste="))) {
        const auto listed = cli::parseTrackList(arguments.value(QStringLiteral("--piste=")), count);
        if (!listed)
            return cli::usageError(
                QCoreApplication::translate("cli", "Liste de pistes invalide : --piste=%1")
                    .arg(arguments.value(QStringLiteral("--piste="))),
                usageText);
        tracks = *listed;
    } else {
        for (int t = 1; t <= std::min<qsizetype>(count, arguments.files.size()); ++t)
            tracks << t;
    }
    if (tracks.size() != arguments.files.size())
        return cli::usageError(
            QCoreApplication::translate("cli", "Il faut un fichier par piste (%1 pistes, %2 "
                                               "fichiers).")
                .arg(tracks.size())
                .arg(arguments.files.size()),
            usageText);

    int status = cli::AllSucceeded;
    cli::JsonArrayWriter out;
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const int track = tracks.at(i);
        const QString &path = arguments.files.at(i);
        const auto sums = wavChecksums(path, track == 1, track == count, &error);
        if (!sums) {
            err << error << "\n";
            err.flush();
            status = cli::SomeFailed;
            continue;
        }
        const cd::AccurateRipVerdict verdict =
            disc.verdict(track, sums->accurateRipV1(), sums->accurateRipV2());
        if (verdict.result != cd::AccurateRipResult::Exact)
            status = cli::SomeFailed;
        out.append(cli::trackReport(track, path, sums->crc32(), sums->accurateRipV1(),
                                    sums->accurateRipV2(), verdict, std::nullopt));
    }
    out.finish();
    return status;
}

const cli::Registration registration({"verify", usageText, runVerify});

} // namespace
