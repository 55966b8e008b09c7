#include "cd/extractionjob.h"
#include "cd/ripper.h"

#include "discimage.h"
#include "mp3frames.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace cd;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Run
{
    QList<TrackOutcome> outcomes;
    ExtractionJob::Summary summary;
};

Run runJob(ExtractionJob::Kind kind, const ExtractionSettings &settings, const QList<TrackRow> &rows,
           const RipProgress &progress = {})
{
    Run run;
    ExtractionJob job;
    job.trackFinished = [&run](const TrackOutcome &o) { run.outcomes << o; };
    job.progress = progress;
    run.summary = job.run(kind, settings, rows);
    return run;
}

} // namespace

class TestRipper : public QObject
{
    Q_OBJECT

private slots:
    void ripTrack_data();
    void ripTrack();
    void cancelKeepsTheOldFile();
    void fileNames_data();
    void fileNames();
    void mp3Job_data();
    void mp3Job();
    void unreadableSectorsBecomeSilence();
    void ripCountsTracksFromOne();
};

void TestRipper::ripTrack_data()
{
    QTest::addColumn<int>("sectors");
    QTest::addColumn<bool>("mp3");
    QTest::newRow("WAV of 1000 sectors: 37 batches and 1 sector") << 1000 << false;
    QTest::newRow("WAV of exactly one batch") << 27 << false;
    QTest::newRow("WAV of one batch and one sector") << 28 << false;
    QTest::newRow("WAV of a single sector") << 1 << false;
    QTest::newRow("MP3 of 1000 sectors") << 1000 << true;
    QTest::newRow("MP3 of 27 sectors is not empty") << 27 << true;
}

// The track sits between two others so that reading a sector too many or too few shows; the
// result is checked against the image's bytes, then against what a peer tool makes of it.
void TestRipper::ripTrack()
{
    QFETCH(int, sectors);
    QFETCH(bool, mp3);
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {40, sectors, 33});
    const QString out = dir.filePath(mp3 ? QStringLiteral("t.mp3") : QStringLiteral("t.wav"));
    const RipResult r = mp3 ? ripTrackToMp3(image.cuePath(), 1, out) : ripTrackToWav(image.cuePath(), 1, out);
    QVERIFY(r.ok() && r.unreadableSectors == 0);
    const QByteArray bytes = readAll(out);
    if (!mp3) {
        QCOMPARE(bytes.size(), 44 + sectors * 2352);
        QVERIFY(bytes.mid(44) == image.trackPcm(1));
        if (QStandardPaths::findExecutable(QStringLiteral("cd-paranoia")).isEmpty())
            QSKIP("cd-paranoia n'est pas installé");
        QProcess paranoia;
        paranoia.start(QStringLiteral("cd-paranoia"), {"-q", "-d", image.cuePath(), "-w", "2", dir.filePath("p.wav")});
        QVERIFY(paranoia.waitForFinished(60000) && paranoia.exitCode() == 0);
        QVERIFY(readAll(dir.filePath(QStringLiteral("p.wav"))) == bytes); // header included
        return;
    }
    qsizetype rest = -1;
    const auto frames = testsupport::mp3Frames(bytes, &rest);
    QCOMPARE(rest, 0); // frames from the first byte to the last: no tag, no VBR header
    for (const auto &f : frames) {
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(f.version).arg(f.layer).arg(f.bitrate).arg(f.sampleRate),
                 QStringLiteral("1 3 128 44100"));
        QVERIFY(f.mode == 0 && f.original && !f.crc && !f.copyright);
    }
    if (QStandardPaths::findExecutable(QStringLiteral("mpg123")).isEmpty())
        QSKIP("mpg123 n'est pas installé");
    const QByteArray pcm = testsupport::decodeWithMpg123(out);
    // The decoder's output starts with the encoder's delay (576) and its own (529).
    const qint64 decoded = pcm.size() / 4 - 1105;
    QVERIFY2(qAbs(decoded - sectors * 588) <= 1152, qPrintable(QString::number(decoded)));
}

// A stopped rip leaves the earlier file as it was and no partial file beside it.
void TestRipper::cancelKeepsTheOldFile()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {200});
    const QString out = dir.filePath(QStringLiteral("old.out"));
    for (bool mp3 : {false, true}) {
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("previous take") > 0);
        old.close();
        int calls = 0;
        const auto stopAfterTwo = [&calls](qint64, qint64) { return ++calls < 3; };
        const RipResult r = mp3 ? ripTrackToMp3(image.cuePath(), 0, out, stopAfterTwo)
                                : ripTrackToWav(image.cuePath(), 0, out, stopAfterTwo);
        QCOMPARE(int(r.status), int(RipStatus::Cancelled));
        QCOMPARE(calls, 3);
        QCOMPARE(readAll(out), QByteArray("previous take"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"disc.bin", "disc.cue", "old.out"}));
    }
}

void TestRipper::fileNames_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("artist - title") << 0 << "Les Amis" << "Le Vent" << "Les Amis - Le Vent.mp3";
    QTest::newRow("title - artist") << 1 << "Les Amis" << "Le Vent" << "Le Vent - Les Amis.mp3";
    QTest::newRow("title(artist)") << 2 << "Les Amis" << "Le Vent" << "Le Vent(Les Amis).mp3";
    QTest::newRow("title") << 3 << "Les Amis" << "Le Vent" << "Le Vent.mp3";
    QTest::newRow("slash in the artist") << 0 << "AC/DC" << "Thunder" << "AC-DC - Thunder.mp3";
    QTest::newRow("climbing title") << 3 << "" << "../../etc/passwd" << "..-..-etc-passwd.mp3";
    QTest::newRow("NUL in the title") << 3 << "" << QStringLiteral("a") + QChar(u'\0') + "b" << "a-b.mp3";
    QTest::newRow("empty title") << 3 << "" << "" << "Piste 4.mp3";
    QTest::newRow("dot title") << 3 << "" << "." << "Piste 4.mp3";
    QTest::newRow("dot-dot title") << 3 << "" << ".." << "Piste 4.mp3";
}

// Names built from the disc information never leave the output folder.
void TestRipper::fileNames()
{
    QFETCH(int, format);
    QFETCH(QString, artist);
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(mp3FileName(format, artist, title, 4), name);
    if (format == TitleOnly)
        QCOMPARE(wavFileName(title, 4), name.chopped(4) + QStringLiteral(".wav"));
}

void TestRipper::mp3Job_data()
{
    QTest::addColumn<int>("tagOption");
    QTest::addColumn<bool>("importNames");
    QTest::addColumn<QStringList>("tags"); // artist, title, album, year, genre, genre index, track
    QTest::newRow("rows split into artist and title")
        << int(TagOption::V1AndV2) << true
        << QStringList{"Les Amis|Le Vent|Album|1999|Rock|17|1", "Disque|Pluie/Neige|Album|1999|Rock|17|3"};
    QTest::newRow("rows as titles") << int(TagOption::V2) << false
        << QStringList{"Disque|Les Amis - Le Vent|Album|1999|Rock|17|1", "Disque|Pluie/Neige|Album|1999|Rock|17|3"};
    QTest::newRow("no tag") << int(TagOption::None) << true << QStringList{};
}

// Unchecked rows are skipped; track numbers are row positions; names stay in the folder; a row
// whose rip failed is marked "Erreur" and leaves no file.
void TestRipper::mp3Job()
{
    QFETCH(int, tagOption);
    QFETCH(bool, importNames);
    QFETCH(QStringList, tags);
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 31, 150, 33});
    const ExtractionSettings s{image.cuePath(), dir.path(), TitleArtist, importNames, "Disque", "Album", "1999",
                               "Rock", 17, TagOption(tagOption)};
    const Run run = runJob(ExtractionJob::Mp3, s, {{"Les Amis - Le Vent", true}, {"Piste 2", false},
                                                   {"Pluie/Neige", true}, {"x", false}, {"Hors du disque", true}});
    QStringList marks, written;
    for (const TrackOutcome &o : run.outcomes) {
        marks << o.mark;
        if (o.writeTags)
            written << QStringList{o.tags.artist, o.tags.title, o.tags.album, o.tags.year, o.tags.genre,
                                   QString::number(o.tags.genreIndex), QString::number(o.tags.track)}.join(u'|');
    }
    QCOMPARE(marks, (QStringList{markOk, markNotSelected, markOk, markNotSelected, markError}));
    QCOMPARE(run.outcomes.last().message, QStringLiteral("N° de piste incorrecte"));
    QCOMPARE(run.summary.failed, 1);
    QCOMPARE(written, tags);
    QCOMPARE(QDir(dir.path()).entryList({"*.mp3"}), (QStringList{"Les Amis - Le Vent - Disque.mp3", "Pluie-Neige - Disque.mp3"}));
    // The third row's file holds the third track, of 150 sectors.
    const auto frames = testsupport::mp3Frames(readAll(dir.filePath("Pluie-Neige - Disque.mp3")));
    QVERIFY(qAbs(frames.size() - 150 * 588 / 1152) <= 3);
}

// Reads that fail, as on a scratched disc, become silence, never the previous batch again, and
// the end of the job names the tracks concerned.
void TestRipper::unreadableSectorsBecomeSilence()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {100});
    const QByteArray pcm = image.trackPcm(0);
    const ExtractionSettings s{image.cuePath(), dir.path(), TitleOnly, false, "", "", "", ""};
    const QList<TrackRow> rows{{"Un", true}};
    const Run run = runJob(ExtractionJob::Wav, s, rows, [&image](qint64 done, qint64) {
        if (done == 27)
            QFile::resize(image.binPath(), 40 * 2352); // the later reads fail
        return true;
    });
    QCOMPARE(run.summary.unreadableRows, QList<int>{1});
    QCOMPARE(unreadableTracksMessage(run.summary.unreadableRows, rows),
             QStringLiteral("Des secteurs illisibles ont été remplacés par du silence dans les pistes suivantes :\n1. Un"));
    const QByteArray samples = readAll(dir.filePath(QStringLiteral("Un.wav"))).mid(44);
    QCOMPARE(samples.size(), 100 * 2352);
    // libcdio's read-ahead still holds some sectors past the cut; from wherever the data stops,
    // only silence follows.
    qsizetype same = 0;
    while (same < samples.size() && samples.at(same) == pcm.at(same))
        ++same;
    QVERIFY(same >= 27 * 2352 && same <= 60 * 2352);
    QVERIFY(samples.mid(same) == QByteArray(samples.size() - same, '\0'));
}

// "--piste=2" is the second track of the disc whatever number the disc gives it.
void TestRipper::ripCountsTracksFromOne()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {50, 101, 20}, 2);
    const QString out = dir.filePath(QStringLiteral("p2.wav"));
    QCOMPARE(QProcess::execute(qEnvironmentVariable("TARVEX_CLI"),
                               {"rip", "--cd-image=" + image.cuePath(), "--piste=2", "--wav", out}), 0);
    QVERIFY(readAll(out).mid(44) == image.trackPcm(1));
    QCOMPARE(QProcess::execute(qEnvironmentVariable("TARVEX_CLI"),
                               {"rip", "--cd-image=" + image.cuePath(), "--piste=4", "--mp3", out + ".mp3"}), 1);
    QVERIFY(!QFile::exists(out + ".mp3"));
}

QTEST_GUILESS_MAIN(TestRipper)
#include "tst_ripper.moc"
