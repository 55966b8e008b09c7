#include "cd/cddb.h"
#include "cd/cddevice.h"
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

using Track = DiscImage::Track;
const auto tone = DiscImage::Content::Tone;

// A disc whose cue sheet says all it can: catalogue, ISRCs, a pre-gap before track 3, sound hidden
// before track 1, CD-Text in English and French.
DiscImage fullDisc(const QString &folder)
{
    const QByteArray cdText = testsupport::cdTextPacks(
        {{0x09, {"The Wind", "First", "Second", ""}, {"The Friends"}},
         {0x0F, {"Le Vent", "Première", "Seconde", ""}, {"Les Amis", "Les Amis", "Jean"}}});
    return DiscImage::withContents(folder, "plein",
                                   {{100, tone, 150, true, "FRZ039800212"},
                                    {90, tone, 0, false, "FRZ039800213"},
                                    {60, tone, 30}},
                                   {"3700123456789", cdText});
}

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
    void details_data()
    {
        QTest::addColumn<QList<Track>>("tracks");
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QByteArray>("cdText");
        // catalogue ; ISRCs ; pre-gap sectors ; hidden sectors, audible ; CD-Text rows
        QTest::addColumn<QString>("expected");
        const QByteArray english = testsupport::cdTextPacks(
            {{0x09, {"Été", "Café", "", "Noël"}, {"Zoé", "Zoé", "Zoé", "Léa"}}});
        QTest::newRow("catalogue, ISRCs and a pre-gap")
            << QList<Track>{{100, tone, 0, false, "FRZ039800212"}, {80, tone, 30}, {40}}
            << "3700123456789" << QByteArray()
            << "3700123456789 ; FRZ039800212,, ; 0,30,0 ; 0,0 ; ";
        QTest::newRow("catalogue of zeros is none")
            << QList<Track>{{100}} << "0000000000000" << QByteArray() << " ;  ; 0 ; 0,0 ; ";
        QTest::newRow("sound before track 1 is a hidden track")
            << QList<Track>{{100, tone, 150, true}, {50}} << "" << QByteArray()
            << " ; , ; 150,0 ; 150,1 ; ";
        QTest::newRow("silence before track 1 is no hidden track")
            << QList<Track>{{100, tone, 150, false}, {50}} << "" << QByteArray()
            << " ; , ; 150,0 ; 150,0 ; ";
        QTest::newRow("CD-Text in ISO-8859-1, track performers")
            << QList<Track>{{60}, {60}, {60}} << "" << english
            << " ; ,, ; 0,0,0 ; 0,0 ; Zoé/Été: Café|Piste 2|Léa / Noël";
        QTest::newRow("CD-Text: the French block of two")
            << QList<Track>{{60}, {60}} << ""
            << testsupport::cdTextPacks({{0x09, {"Wind", "One", "Two"}, {"Friends"}},
                                         {0x0F, {"Vent", "Un", "Deux"}, {"Amis"}}})
            << " ; , ; 0,0 ; 0,0 ; Amis/Vent: Un|Deux";
    }

    // What libcdio reads from a cue sheet (CATALOG, ISRC, INDEX 00, CDTEXTFILE) and the sectors
    // before track 1 reach the disc's details as the disc gives them.
    void details()
    {
        QFETCH(QList<Track>, tracks);
        QFETCH(QString, catalogue);
        QFETCH(QByteArray, cdText);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const DiscImage image =
            DiscImage::withContents(dir.path(), "disque", tracks, {catalogue, cdText});
        QVERIFY(image.isValid());
        const DiscDetails d = readDiscDetails(image.cuePath());
        const auto toc = CdDevice::open(image.cuePath())->readToc();
        QVERIFY(toc);
        QStringList gaps;
        for (int k = 0; k < toc->trackCount(); ++k)
            gaps << QString::number(d.pregapSectors(k, *toc));
        const CddbDisc names = cdTextDisc(d.text, toc->trackCount());
        const QString text = d.text.isEmpty()
                                 ? QString()
                                 : QStringLiteral("%1/%2: %3")
                                       .arg(d.text.artist, d.text.album, names.rows.join(u'|'));
        QCOMPARE(
            QStringList({d.catalogue, d.isrc.join(u','), gaps.join(u','),
                         QStringLiteral("%1,%2").arg(d.hiddenSectors).arg(d.hiddenAudible), text})
                .join(" ; "),
            expected);
    }

    void rip_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("hiddenFile");
        QTest::newRow("MP3 tagged") << "--mp3"
                                    << "Les Amis - Piste cachée.mp3";
        QTest::newRow("WAV") << "--wav"
                             << "Piste cachée.wav";
    }

    // A rip with the disc's own names and its hidden track: the log, the cue sheet and the tags
    // say what the disc says.
    void rip()
    {
        QFETCH(QString, format);
        QFETCH(QString, hiddenFile);
        QTemporaryDir dir;
        const DiscImage image = fullDisc(dir.path());
        const QString out = dir.filePath("sortie");
        QVERIFY(image.isValid() && QDir().mkdir(out));
        int status = -1;
        // No CDDB server answers: the names come from the disc.
        const QJsonObject found =
            QJsonDocument::fromJson(
                run({"cddb", "--cd-image=" + image.cuePath(), "--serveur=http://127.0.0.1:9"},
                    &status)
                    .toUtf8())
                .object();
        QCOMPARE(status, 0);
        QCOMPARE(found["source"].toString() + u':' + found["Album"].toString() + u':' +
                     found["Pistes"].toVariant().toStringList().join(u'|'),
                 "CD-Text:Le Vent:Première|Jean / Seconde|Piste 3");
        const QString said =
            run({"rip", "--cd-image=" + image.cuePath(), "--toutes", format,
                 "--tags=" + QString(format == "--wav" ? "aucun" : "v2"), "--cd-text",
                 "--piste-cachee", "--rapide", "--accuraterip=http://127.0.0.1:9", out},
                &status);
        QVERIFY2(status == 0, qPrintable(said));
        if (format == "--wav") {
            QFile hidden(out + u'/' + hiddenFile);
            QVERIFY(hidden.open(QIODevice::ReadOnly));
            QVERIFY(hidden.readAll().mid(44) == image.trackPcm(-1));
        }
        const auto read = [&out](const QString &name) {
            QFile file(out + u'/' + name);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        const QString log = read("Le Vent.log");
        for (const char *line :
             {"\nNuméro de catalogue : 3700123456789\n", "\nCD-Text : Les Amis / Le Vent\n",
              "\nPiste cachée avant la piste 1 : 00:02:00 (extraite)\n",
              "\nPiste 1 : Première\n  Fichier : ", "  ISRC : FRZ039800212\n  Pré-gap : 00:02:00\n",
              "  ISRC : FRZ039800213\n  Lecture", "\nPiste 3 : Piste 3\n"})
            QVERIFY2(log.contains(QString::fromUtf8(line)), line);
        QVERIFY(log.contains("Pré-gap : 00:00:30\n"));
        const QString kind = format == "--wav" ? "WAVE" : "MP3";
        const QString name = format == "--wav" ? "%2.wav" : "Les Amis - %2.mp3";
        QCOMPARE(read("Le Vent.cue").split(u'\n'), QString("CATALOG 3700123456789\n"
                                                           "PERFORMER \"Les Amis\"\n"
                                                           "TITLE \"Le Vent\"\n"
                                                           "FILE \"" +
                                                           hiddenFile +
                                                           "\" %1\n"
                                                           "  TRACK 01 AUDIO\n"
                                                           "    TITLE \"Première\"\n"
                                                           "    ISRC FRZ039800212\n"
                                                           "    INDEX 00 00:00:00\n"
                                                           "FILE \"" +
                                                           name.arg("Première") +
                                                           "\" %1\n"
                                                           "    INDEX 01 00:00:00\n"
                                                           "FILE \"" +
                                                           name.arg("Jean - Seconde") +
                                                           "\" %1\n"
                                                           "  TRACK 02 AUDIO\n"
                                                           "    TITLE \"Jean / Seconde\"\n"
                                                           "    ISRC FRZ039800213\n"
                                                           "    INDEX 01 00:00:00\n"
                                                           "  TRACK 03 AUDIO\n"
                                                           "    TITLE \"Piste 3\"\n"
                                                           "    INDEX 00 00:01:15\n"
                                                           "FILE \"" +
                                                           name.arg("Piste 3") +
                                                           "\" %1\n"
                                                           "    INDEX 01 00:00:00\n")
                                                       .arg(kind)
                                                       .split(u'\n'));
        if (format == "--wav")
            return;
        QProcess mutagen;
        mutagen.start("/usr/bin/python3",
                      {"-c",
                       "import sys, mutagen.id3\n"
                       "for f in sys.argv[1:]:\n"
                       "  t = mutagen.id3.ID3(f)\n"
                       "  print(t['TIT2'], t.get('TSRC', '-'), sep=':')",
                       out + u'/' + hiddenFile, out + u'/' + name.arg("Première"),
                       out + u'/' + name.arg("Jean - Seconde")});
        QVERIFY(mutagen.waitForFinished(30000));
        if (mutagen.exitCode() != 0)
            TARVEX_PEER_MISSING("python3-mutagen");
        QCOMPARE(QString::fromUtf8(mutagen.readAllStandardOutput()),
                 "Piste cachée:-\nPremière:FRZ039800212\nJean / Seconde:FRZ039800213\n");
    }
};

QTEST_GUILESS_MAIN(TestDiscDetails)
#include "tst_discdetails.moc"
