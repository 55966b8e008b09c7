// Files per second of the MPEG stream analysis and of the file-information reader over a
// folder of generated MP3 files, beside mediainfo given the same folder in one invocation.
#include "mpeg/fileinfo.h"
#include "mpeg/typetagmpeg.h"

#include "mpegstream.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <ctime>
#include <sys/resource.h>

using namespace mpegstream;

namespace {

QByteArray audio(int index, QRandomGenerator &random)
{
    static const FrameHeader kinds[] = {
        FrameHeader{3, 1, true, 9, 0, false, false, 1, 2}, // MPEG 1 Layer III 128k 44.1 kHz
        FrameHeader{2, 1, true, 8, 0, false, false, 3},    // MPEG 2 Layer III 64k mono
        FrameHeader{0, 1, true, 5, 0},                     // MPEG 2.5 Layer III 32k
        FrameHeader{3, 2, true, 11, 1},                    // MPEG 1 Layer II 192k 48 kHz
    };
    const FrameHeader header = kinds[index % 4];
    const qint64 size = 512 * 1024 + random.bounded(1536 * 1024);
    switch (index % 3) {
    case 0: // constant bit rate
        return streamOfSize(header, size);
    case 1: { // Xing header, then frames of varying rate
        FrameHeader varying = kinds[0];
        QByteArray rest;
        while (rest.size() < size) {
            varying.bitRateIndex = 5 + random.bounded(9);
            rest += frame(varying);
        }
        const auto count = quint32(rest.size() / 417);
        return xingFrame(kinds[0], {"Xing", count, quint32(rest.size() + 417)}) + rest;
    }
    default: // VBRI header
        const QByteArray rest = streamOfSize(kinds[0], size);
        return vbriFrame(kinds[0], 576, quint32(rest.size() + 417), quint32(rest.size() / 417)) +
               rest;
    }
}

QByteArray tag(int index, QRandomGenerator &random)
{
    const QList<QByteArray> texts = {
        id3v2TextFrame(3, "TIT2", QStringLiteral("Titre %1").arg(index)),
        id3v2TextFrame(3, "TPE1", QStringLiteral("Artiste")),
        id3v2TextFrame(3, "TALB", QStringLiteral("Album"))};
    switch (index % 4) {
    case 0:
        return {};
    case 1:
        return id3v2Tag(3, texts, 512);
    case 2:
        return id3v2Tag(
            3, texts + QList<QByteArray>{id3v2PictureFrame(3, 20000 + random.bounded(150000))}, 11);
    default:
        return id3v2Tag(4,
                        {id3v2TextFrame(4, "TIT2", QStringLiteral("Titre")),
                         id3v2PictureFrame(4, 20000 + random.bounded(150000))},
                        0, true);
    }
}

void generate(const QString &folder, int count)
{
    QRandomGenerator random(20240601);
    for (int i = 0; i < count; ++i) {
        QByteArray bytes = tag(i, random) + audio(i, random);
        if (i % 2)
            bytes += id3v1Block("Titre", "Artiste", "Album", "2024", "", i % 30, 17);
        writeFile(QStringLiteral("%1/%2.mp3").arg(folder).arg(i, 4, 10, QLatin1Char('0')), bytes);
    }
}

struct Timing
{
    double wall = 0; // seconds
    double cpu = 0;  // user + system seconds
};

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

double childrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One pass over every file, as mediainfo makes one.
template <typename F> Timing timeReader(const QStringList &files, F read)
{
    QElapsedTimer timer;
    const double cpu = processCpuSeconds();
    timer.start();
    for (const QString &f : files)
        read(f);
    return {timer.nsecsElapsed() / 1e9, processCpuSeconds() - cpu};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTemporaryDir temporary;
    const QString folder = args.size() > 1 ? args.at(1) : temporary.path();
    const int count = args.size() > 2 ? args.at(2).toInt() : 600;
    QTextStream out(stdout);

    QDir().mkpath(folder);
    QDir dir(folder);
    if (dir.entryList({"*.mp3"}, QDir::Files).size() < count)
        generate(folder, count);
    QStringList files;
    qint64 bytes = 0;
    for (const QFileInfo &f : dir.entryInfoList({"*.mp3"}, QDir::Files, QDir::Name)) {
        files << f.filePath();
        bytes += f.size();
    }
    out << files.size() << " fichiers, " << bytes / (1024 * 1024) << " Mo, dans " << folder << "\n";

    int valid = 0;
    const Timing analysis = timeReader(files, [&](const QString &f) {
        mpeg::TypeTagMpeg r;
        valid += r.AnalyseMpeg(f).Valide();
    });
    int found = 0;
    const Timing information = timeReader(files, [&](const QString &f) {
        mpeg::FileInfo info;
        mpeg::readFileInfo(f, info);
        found += info.mpeg;
    });

    QProcess mediainfo;
    mediainfo.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    const double childCpu = childrenCpuSeconds();
    timer.start();
    mediainfo.start(QStringLiteral("mediainfo"), {folder});
    const bool ran = mediainfo.waitForFinished(-1) && mediainfo.exitCode() == 0;
    const Timing peer{timer.nsecsElapsed() / 1e9, childrenCpuSeconds() - childCpu};

    const auto line = [&](const char *name, const Timing &t) {
        out << QStringLiteral("%1 : %2 fichiers/s (%3 s écoulées, %4 s de processeur)\n")
                   .arg(QLatin1String(name), -18)
                   .arg(files.size() / t.wall, 0, 'f', 0)
                   .arg(t.wall, 0, 'f', 3)
                   .arg(t.cpu, 0, 'f', 3);
    };
    line("AnalyseMpeg", analysis);
    line("Info Fichier", information);
    out << valid << " analyses valides, " << found << " en-têtes trouvés\n";
    if (!ran) {
        out << "mediainfo indisponible\n";
        return 1;
    }
    line("mediainfo (dossier)", peer);
    out << QStringLiteral("mediainfo / AnalyseMpeg : %1 fois (écoulé), %2 fois (processeur)\n")
               .arg(peer.wall / analysis.wall, 0, 'f', 1)
               .arg(peer.cpu / analysis.cpu, 0, 'f', 1);
    out << QStringLiteral("mediainfo / Info Fichier : %1 fois (écoulé), %2 fois (processeur)\n")
               .arg(peer.wall / information.wall, 0, 'f', 1)
               .arg(peer.cpu / information.cpu, 0, 'f', 1);
    return 0;
}
