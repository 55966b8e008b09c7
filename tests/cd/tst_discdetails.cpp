#include "cd/discdetails.h"

#include "discimage.h"
#include "peers.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace cd;
using testsupport::DiscImage;

namespace {

const auto tone = DiscImage::Content::Tone;

QString run(const QStringList &args, int *exitCode = nullptr)
{
    QProcess cli;
    cli.start(qEnvironmentVariable("TARVEX_CLI"), args);
    if (!cli.waitForFinished(60000))
        cli.kill();
    if (exitCode)
        *exitCode = cli.exitCode();
    return QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
}

} // namespace

class TestDiscDetails : public QObject
{
    Q_OBJECT

private slots:
    // A catalogue number of zeros is none; silence before track 1 is a long pre-gap, no hidden
    // track. (The rip below reads a disc that has them.)
    void noCatalogueNoHiddenTrack()
    {
        QTemporaryDir dir;
        const DiscImage image = DiscImage::withContents(dir.path(), "d", {{100, tone, 150}, {50}},
                                                        {"0000000000000", {}});
        const DiscDetails d = readDiscDetails(image.cuePath());
        QCOMPARE(d.catalogue + QStringLiteral("|%1|%2").arg(d.hiddenSectors).arg(d.hiddenAudible),
                 "|150|0");
    }

    void pregapSearch_data()
    {
        QTest::addColumn<int>("gapStart");      // of track 5, which starts at sector 1000; -1: none
        QTest::addColumn<QList<int>>("silent"); // sectors whose Q gives no position
        QTest::addColumn<int>("found");         // -2: the drive cannot tell
        QTest::newRow("two seconds") << 850 << QList<int>{} << 850;
        QTest::newRow("one sector") << 999 << QList<int>{} << 999;
        QTest::newRow("the whole track before") << 400 << QList<int>{} << 400;
        QTest::newRow("none") << -1 << QList<int>{} << -1;
        QTest::newRow("positions missing on the way") << 850 << QList<int>{699, 924} << 850;
        QTest::newRow("no position at all") << 850 << QList<int>{-1} << -2;
    }
    // The sub-channel of a drive says where the pre-gap of track 5 starts, from the start of track
    // 4 (sector 400) on.
    void pregapSearch()
    {
        QFETCH(int, gapStart);
        QFETCH(QList<int>, silent);
        const auto position = [&](int sector) -> std::optional<SectorPosition> {
            if (silent.contains(sector) || silent.contains(-1))
                return std::nullopt;
            return gapStart >= 0 && sector >= gapStart ? SectorPosition{5, 0}
                                                       : SectorPosition{4, 1};
        };
        QTEST(findPregapStart(400, 1000, 5, position).value_or(-2), "found");
    }

    // A rip to FLAC and MP3 with the disc's own names and its hidden track: the log, the cue
    // sheet and the tags say what the disc says. No CDDB server answers: the names come from
    // the disc.
    void rip()
    {
        QTemporaryDir dir;
        // Catalogue, ISRCs, a pre-gap before track 3, sound hidden before track 1, CD-Text in
        // English and French.
        const QByteArray cdText = testsupport::cdTextPacks(
            {{0x09, {"The Wind", "First", "Second", ""}, {"The Friends"}},
             {0x0F, {"Le Vent", "Première", "Seconde", ""}, {"Les Amis", "Les Amis", "Jean"}}});
        const DiscImage image = DiscImage::withContents(dir.path(), "plein",
                                                        {{100, tone, 150, true, "FRZ039800212"},
                                                         {90, tone, 0, false, "FRZ039800213"},
                                                         {60, tone, 30}},
                                                        {"3700123456789", cdText});
        const QString out = dir.filePath("sortie");
        QVERIFY(image.isValid() && QDir().mkdir(out));
        const QString disc = "--cd-image=" + image.cuePath();
        const QJsonObject found =
            QJsonDocument::fromJson(run({"cddb", disc, "--serveur=http://127.0.0.1:9"}).toUtf8())
                .object();
        QCOMPARE(found["source"].toString() + u':' + found["Album"].toString() + u':' +
                     found["Pistes"].toVariant().toStringList().join(u'|'),
                 "CD-Text:Le Vent:Première|Jean / Seconde|Piste 3");
        int status = -1;
        const QString said = run({"rip", disc, "--toutes", "--flac", "--mp3", "--tags=v2",
                                  "--cd-text", "--piste-cachee", "--ejecter", "--rapide",
                                  "--accuraterip=http://127.0.0.1:9", out},
                                 &status);
        QVERIFY2(status == 0, qPrintable(said));
        const auto read = [&out](const QString &name) {
            QFile file(out + u'/' + name);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        const QString log = read("Le Vent.log");
        for (const char *line :
             {"\nNuméro de catalogue : 3700123456789\n", "\nCD-Text : Les Amis / Le Vent\n",
              "\nPiste cachée avant la piste 1 : 00:02:00 (extraite)\n",
              "\nPiste 1 : Première\n  Fichier : Les Amis - Première.flac\n  ISRC : FRZ039800212\n"
              "  Pré-gap : 00:02:00\n",
              "  ISRC : FRZ039800213\n  Lecture",
              "\nPiste 3 : Piste 3\n  Fichier : Les Amis - "
              "Piste 3.flac\n  Pré-gap : 00:00:30\n"})
            QVERIFY2(log.contains(QString::fromUtf8(line)), line);
        // The pre-gaps lie at the end of the file before, where the rip puts them.
        QCOMPARE(read("Le Vent.cue").split(u'\n'), QString(R"(CATALOG 3700123456789
PERFORMER "Les Amis"
TITLE "Le Vent"
FILE "Les Amis - Piste cachée.flac" WAVE
  TRACK 01 AUDIO
    TITLE "Première"
    ISRC FRZ039800212
    INDEX 00 00:00:00
FILE "Les Amis - Première.flac" WAVE
    INDEX 01 00:00:00
FILE "Les Amis - Jean - Seconde.flac" WAVE
  TRACK 02 AUDIO
    TITLE "Jean / Seconde"
    ISRC FRZ039800213
    INDEX 01 00:00:00
  TRACK 03 AUDIO
    TITLE "Piste 3"
    INDEX 00 00:01:15
FILE "Les Amis - Piste 3.flac" WAVE
    INDEX 01 00:00:00
)")
                                                       .split(u'\n'));
        // The hidden track's FLAC file holds its two seconds, and decodes.
        QProcess flac;
        flac.setWorkingDirectory(out);
        flac.start("metaflac", {"--show-total-samples", "Les Amis - Piste cachée.flac"});
        if (!flac.waitForFinished(30000) || flac.exitStatus() != QProcess::NormalExit)
            TARVEX_PEER_MISSING("flac");
        QCOMPARE(flac.readAllStandardOutput().trimmed(), "88200");
        flac.start("flac", {"-t", "-s", "Les Amis - Piste cachée.flac"});
        QVERIFY(flac.waitForFinished(30000) && flac.exitCode() == 0);
        QProcess mutagen;
        mutagen.setWorkingDirectory(out);
        mutagen.start("/usr/bin/python3", {"-c",
                                           "import sys, mutagen.id3\n"
                                           "for f in sys.argv[1:]:\n"
                                           "  t = mutagen.id3.ID3(f)\n"
                                           "  print(t['TIT2'], t.get('TSRC', '-'), sep=':')",
                                           "Les Amis - Piste cachée.mp3", "Les Amis - Première.mp3",
                                           "Les Amis - Jean - Seconde.mp3"});
        if (!mutagen.waitForFinished(30000) || mutagen.exitCode() != 0)
            TARVEX_PEER_MISSING("python3-mutagen");
        QCOMPARE(QString::fromUtf8(mutagen.readAllStandardOutput()),
                 "Piste cachée:-\nPremière:FRZ039800212\nJean / Seconde:FRZ039800213\n");
    }
};

QTEST_GUILESS_MAIN(TestDiscDetails)
#include "tst_discdetails.moc"
