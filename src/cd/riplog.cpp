#include "cd/riplog.h"

#include "base/safefs.h"
#include "cd/outputfile.h"

#include <QFile>
#include <QFileInfo>

namespace cd {

namespace {

// Cue sheets quote their texts with '"' and have no escape for it.
QString cueText(const QString &text)
{
    QString t = text;
    return QLatin1Char('"') + t.replace(QLatin1Char('"'), QLatin1Char('\'')) + QLatin1Char('"');
}

const QString logTitle = QStringLiteral("Extraction Tarvex");
const QString cancelledLine = QStringLiteral("Extraction annulée avant la fin");

// The lines of a log that tell which rip it belongs to.
QStringList identityLines(QStringView log)
{
    QStringList lines;
    for (QStringView line : log.split(u'\n')) {
        for (const char *key : {"Lecteur : ", "Disque AccurateRip : ", "Artiste : ", "Album : "}) {
            if (line.startsWith(QLatin1String(key)))
                lines.append(line.toString());
        }
        if (line.startsWith(u"Piste "))
            break;
    }
    return lines;
}

QString readMode(const RipResult &r)
{
    return r.secure ? QStringLiteral("sécurisée") : QStringLiteral("rapide");
}

} // namespace

void addDiscDetails(RipReport &report, const DiscDetails &details, const CdToc &toc)
{
    report.catalogue = details.catalogue;
    report.isrc = details.isrc;
    report.pregaps.clear();
    report.lengths.clear();
    for (int k = 0; k < toc.trackCount(); ++k) {
        report.pregaps.append(details.pregapSectors(k, toc));
        report.lengths.append(toc.trackEnd(k) - toc.trackStart(k));
    }
    const CdText &text = details.text;
    report.cdText = text.isEmpty() ? QString() : text.artist + QStringLiteral(" / ") + text.album;
    report.hiddenSectors = details.hasHiddenTrack() ? details.hiddenSectors : 0;
}

RipReport ripReportHead(const ExtractionSettings &settings, const RipOptions &options,
                        const DiscCheck &disc, const std::optional<EncoderConfig> &mp3)
{
    RipReport report;
    report.drive = settings.drive;
    report.format = mp3 ? encoderDescription(*mp3) : QStringLiteral("WAV");
    report.options = options;
    report.discId = disc.id ? disc.id->name() : QString();
    report.artist = settings.artist;
    report.album = settings.album;
    return report;
}

QString ripLogText(const RipReport &report)
{
    QString log;
    log += logTitle + QStringLiteral("\n\n");
    log += QStringLiteral("Lecteur : %1\n").arg(report.drive);
    log += QStringLiteral("Format : %1\n").arg(report.format);
    log += QStringLiteral("Extraction sécurisée : %1\n")
               .arg(report.options.secure ? QStringLiteral("oui") : QStringLiteral("non"));
    log +=
        QStringLiteral("Décalage de lecture : %1 échantillons\n").arg(report.options.offsetSamples);
    log += QStringLiteral("Disque AccurateRip : %1\n")
               .arg(report.discId.isEmpty() ? QStringLiteral("inconnu") : report.discId);
    log += QStringLiteral("Artiste : %1\n").arg(report.artist);
    log += QStringLiteral("Album : %1\n").arg(report.album);
    if (!report.cueName.isEmpty())
        log += QStringLiteral("Feuille de repères : %1\n").arg(report.cueName);
    if (!report.catalogue.isEmpty())
        log += QStringLiteral("Numéro de catalogue : %1\n").arg(report.catalogue);
    if (!report.cdText.isEmpty())
        log += QStringLiteral("CD-Text : %1\n").arg(report.cdText);
    if (report.hiddenSectors > 0)
        log += QStringLiteral("Piste cachée avant la piste 1 : %1 (%2)\n")
                   .arg(cueTime(report.hiddenSectors), report.hiddenTrack.path.isEmpty()
                                                           ? QStringLiteral("non extraite")
                                                           : QStringLiteral("extraite"));
    if (report.cancelled)
        log += cancelledLine + u'\n';
    QList<RipReport::Track> tracks = report.tracks;
    if (!report.hiddenTrack.path.isEmpty())
        tracks.prepend(report.hiddenTrack);
    for (const RipReport::Track &t : tracks) {
        if (t.track == 0)
            log += QStringLiteral("\nPiste cachée : %1\n").arg(t.title);
        else
            log += QStringLiteral("\nPiste %1 : %2\n").arg(t.track).arg(t.title);
        log += QStringLiteral("  Fichier : %1\n").arg(QFileInfo(t.path).fileName());
        if (const QString isrc = report.isrc.value(t.track - 1); !isrc.isEmpty())
            log += QStringLiteral("  ISRC : %1\n").arg(isrc);
        if (const int gap = report.pregaps.value(t.track - 1); gap > 0)
            log += QStringLiteral("  Pré-gap : %1\n").arg(cueTime(gap));
        log += QStringLiteral("  Lecture : %1\n").arg(readMode(t.result));
        log += QStringLiteral("  Secteurs relus : %1\n").arg(t.result.rereadSectors);
        log += QStringLiteral("  Secteurs inexacts : %1\n").arg(t.result.unreadableSectors);
        log += QStringLiteral("  CRC32 : %1\n").arg(hex8(t.result.crc32));
        log += QStringLiteral("  AccurateRip v1 : %1, v2 : %2\n")
                   .arg(hex8(t.result.accurateRipV1), hex8(t.result.accurateRipV2));
        log += QStringLiteral("  %1\n").arg(accurateRipText(t.verdict));
    }
    return log;
}

bool isCancelledRunOf(const QString &logText, const RipReport &report)
{
    if (report.discId.isEmpty() || !logText.startsWith(logTitle + u'\n') ||
        !logText.contains(u'\n' + cancelledLine + u'\n'))
        return false;
    return identityLines(logText) == identityLines(ripLogText(report));
}

QString cueSheetText(const RipReport &report)
{
    QString cue;
    if (!report.catalogue.isEmpty())
        cue += QStringLiteral("CATALOG %1\n").arg(report.catalogue);
    if (!report.artist.isEmpty())
        cue += QStringLiteral("PERFORMER %1\n").arg(cueText(report.artist));
    if (!report.album.isEmpty())
        cue += QStringLiteral("TITLE %1\n").arg(cueText(report.album));
    const auto file = [&cue](const QString &path) {
        const QString name = QFileInfo(path).fileName();
        // Players read a FLAC file as a WAVE one: the sheet format has no FLAC type.
        const bool mp3 = name.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive);
        cue += QStringLiteral("FILE %1 %2\n")
                   .arg(cueText(name), mp3 ? QStringLiteral("MP3") : QStringLiteral("WAVE"));
    };
    const auto head = [&](const RipReport::Track &t) {
        cue += QStringLiteral("  TRACK %1 AUDIO\n").arg(t.track, 2, 10, QLatin1Char('0'));
        cue += QStringLiteral("    TITLE %1\n").arg(cueText(t.title));
        if (const QString isrc = report.isrc.value(t.track - 1); !isrc.isEmpty())
            cue += QStringLiteral("    ISRC %1\n").arg(isrc);
    };
    // The track whose file was opened last, and that file's length in sectors.
    int previous = -1;
    int previousLength = 0;
    const bool hidden = !report.hiddenTrack.path.isEmpty() && !report.tracks.isEmpty() &&
                        report.tracks.first().track == 1;
    if (hidden) {
        file(report.hiddenTrack.path);
        previous = 0;
        previousLength = report.hiddenSectors;
    }
    for (const RipReport::Track &t : report.tracks) {
        const int gap =
            t.track == 1 && hidden ? report.hiddenSectors : report.pregaps.value(t.track - 1);
        if (gap > 0 && previous == t.track - 1 && gap <= previousLength) {
            head(t);
            cue += QStringLiteral("    INDEX 00 %1\n").arg(cueTime(previousLength - gap));
            file(t.path);
        } else {
            file(t.path);
            head(t);
        }
        cue += QStringLiteral("    INDEX 01 00:00:00\n");
        previous = t.track;
        previousLength = report.lengths.value(t.track - 1);
    }
    return cue;
}

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    // A log is small; anything larger is no log of this program.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 1 << 20)
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

bool writeRipReport(const RipReport &report, const QString &folder, const QString &stem,
                    QString *error)
{
    RipReport named = report;
    QString logPath, cuePath;
    for (int n = 1;; ++n) {
        const QString base = n == 1 ? stem : QStringLiteral("%1 (%2)").arg(stem).arg(n);
        logPath = base::joinPath(folder, base + QStringLiteral(".log"));
        cuePath = base::joinPath(folder, base + QStringLiteral(".cue"));
        named.cueName = base + QStringLiteral(".cue");
        // The names of a cancelled run of this rip are taken again; its cue sheet only when its
        // log names it.
        const QString earlier = outputExists(logPath) ? readText(logPath) : QString();
        const bool again = !earlier.isEmpty() && isCancelledRunOf(earlier, named);
        const bool logFree = !outputExists(logPath) || again;
        const bool cueFree =
            !outputExists(cuePath) ||
            (again &&
             earlier.contains(QStringLiteral("\nFeuille de repères : %1\n").arg(named.cueName)));
        if (logFree && cueFree)
            break;
    }
    const QList<std::pair<QString, QString>> files = {{logPath, ripLogText(named)},
                                                      {cuePath, cueSheetText(named)}};
    for (const auto &[path, text] : files) {
        OutputFile file;
        const QByteArray bytes = text.toUtf8();
        if (!file.open(path, outputExists(path) ? Overwrite::Replace : Overwrite::Refuse) ||
            !file.write(bytes.constData(), bytes.size()) || !file.commit()) {
            *error = file.errorMessage();
            return false;
        }
    }
    return true;
}

} // namespace cd
