#include "cd/extractionjob.h"

#include "discimage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace cd;

class TestExtractionJob : public QObject
{
    Q_OBJECT

private slots:
    void nameFormats_data();
    void nameFormats();
    void safeNames_data();
    void safeNames();
    void rowNames_data();
    void rowNames();
    void folderJoin_data();
    void folderJoin();
    void mp3JobOnDisc();
    void wavJobIgnoresTheNameFormat();
    void failedRowsAreMarkedError();
    void namesStayInTheFolder();
    void tagOptionNoneWritesNoTag();
    void cancelStopsTheJob();
    void unreadableMessage();
};

void TestExtractionJob::nameFormats_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("name");
    QTest::newRow("artist - title") << 0 << "Les Amis - Le Vent.mp3";
    QTest::newRow("title - artist") << 1 << "Le Vent - Les Amis.mp3";
    QTest::newRow("title(artist) without blank") << 2 << "Le Vent(Les Amis).mp3";
    QTest::newRow("title") << 3 << "Le Vent.mp3";
    QTest::newRow("unknown format") << 7 << "Les Amis - Le Vent.mp3";
}

void TestExtractionJob::nameFormats()
{
    QFETCH(int, format);
    QFETCH(QString, name);
    QCOMPARE(mp3FileName(format, QStringLiteral("Les Amis"), QStringLiteral("Le Vent"), 4), name);
}

void TestExtractionJob::safeNames_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("slash in artist") << 0 << "AC/DC" << "Thunder" << "AC-DC - Thunder.mp3";
    QTest::newRow("climbing title") << 3 << "" << "../../etc/passwd" << "..-..-etc-passwd.mp3";
    QTest::newRow("NUL in title") << 3 << "" << QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b") << "a-b.mp3";
    QTest::newRow("empty title") << 3 << "x" << "" << "Piste 4.mp3";
    QTest::newRow("dot title") << 3 << "x" << "." << "Piste 4.mp3";
    QTest::newRow("dot-dot title") << 3 << "x" << ".." << "Piste 4.mp3";
    QTest::newRow("empty artist keeps its dash") << 0 << "" << "Le Vent" << " - Le Vent.mp3";
}

void TestExtractionJob::safeNames()
{
    QFETCH(int, format);
    QFETCH(QString, artist);
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(mp3FileName(format, artist, title, 4), name);
    QCOMPARE(wavFileName(title, 4).endsWith(QLatin1String(".wav")), true);
    QVERIFY(!wavFileName(title, 4).contains(QLatin1Char('/')));
}

void TestExtractionJob::rowNames_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("import");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("title");
    QTest::newRow("split around the dash") << "Les Amis - Le Vent" << true << "Les Amis" << "Le Vent";
    QTest::newRow("no dash takes the disc artist") << "Le Vent" << true << "Disque" << "Le Vent";
    QTest::newRow("not asked") << "Les Amis - Le Vent" << false << "Disque" << "Les Amis - Le Vent";
    QTest::newRow("dash first") << "-Le Vent" << true << "" << "e Vent";
    QTest::newRow("dash last") << "Les Amis -" << true << "Les Amis" << "";
    QTest::newRow("first dash counts") << "A - B - C" << true << "A" << "B - C";
}

void TestExtractionJob::rowNames()
{
    QFETCH(QString, row);
    QFETCH(bool, import);
    QFETCH(QString, artist);
    QFETCH(QString, title);
    const RowNames names = rowArtistTitle(row, import, QStringLiteral("Disque"));
    QCOMPARE(names.artist, artist);
    QCOMPARE(names.title, title);
}

void TestExtractionJob::folderJoin_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("without final slash") << "/music/cd" << "/music/cd/a.mp3";
    QTest::newRow("with final slash") << "/music/cd/" << "/music/cd/a.mp3";
    QTest::newRow("root") << "/" << "/a.mp3";
}

void TestExtractionJob::folderJoin()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(joinPath(folder, QStringLiteral("a.mp3")), path);
}

namespace {

struct Run
{
    QList<TrackOutcome> outcomes;
    QStringList started;
    ExtractionJob::Summary summary;
};

Run runJob(ExtractionJob::Kind kind, const ExtractionSettings &settings, const QList<TrackRow> &rows)
{
    Run run;
    ExtractionJob job;
    job.trackStarted = [&run](int, const QString &name) { run.started << name; };
    job.trackFinished = [&run](const TrackOutcome &o) { run.outcomes << o; };
    run.summary = job.run(kind, settings, rows);
    return run;
}

} // namespace

void TestExtractionJob::mp3JobOnDisc()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 31, 32, 33, 34});
    ExtractionSettings s;
    s.drive = image.cuePath();
    s.folder = dir.path() + QLatin1Char('/');
    s.nameFormat = TitleArtist;
    s.importNames = true;
    s.artist = QStringLiteral("Disque");
    s.album = QStringLiteral("Album");
    s.year = QStringLiteral("1999");
    s.genre = QStringLiteral("Rock");
    s.genreIndex = 17;
    const QList<TrackRow> rows{{QStringLiteral("Les Amis - Le Vent"), true},
                               {QStringLiteral("Piste 2"), false},
                               {QStringLiteral("Pluie"), true},
                               {QStringLiteral("Piste 4"), false},
                               {QStringLiteral("Neige"), true}};
    const Run run = runJob(ExtractionJob::Mp3, s, rows);
    QCOMPARE(run.outcomes.size(), 5);
    QCOMPARE(run.started, (QStringList{QStringLiteral("Les Amis - Le Vent - Disque.mp3"),
                                       QStringLiteral("Pluie - Disque.mp3"), QStringLiteral("Neige - Disque.mp3")}));
    const QStringList marks{markOk, markNotSelected, markOk, markNotSelected, markOk};
    for (int i = 0; i < 5; ++i) {
        const TrackOutcome &o = run.outcomes.at(i);
        QCOMPARE(o.row, i + 1);
        QCOMPARE(o.mark, marks.at(i));
        if (o.mark != markOk)
            continue;
        QVERIFY(QFile::exists(o.path));
        QVERIFY(o.writeTags);
        // Track numbers are row positions, not a running count.
        QCOMPARE(o.tags.track, i + 1);
        QCOMPARE(o.tags.album, QStringLiteral("Album"));
        QCOMPARE(o.tags.year, QStringLiteral("1999"));
        QCOMPARE(o.tags.genre, QStringLiteral("Rock"));
        QCOMPARE(o.tags.genreIndex, 17);
    }
    QCOMPARE(run.outcomes.at(0).tags.artist, QStringLiteral("Les Amis"));
    QCOMPARE(run.outcomes.at(0).tags.title, QStringLiteral("Le Vent"));
    QCOMPARE(run.outcomes.at(2).tags.artist, QStringLiteral("Disque"));
    QCOMPARE(run.outcomes.at(2).tags.title, QStringLiteral("Pluie"));
    // The third row's file holds the third track: 32 sectors, about 0.43 s of MP3 frames.
    QCOMPARE(run.outcomes.at(2).path, dir.filePath(QStringLiteral("Pluie - Disque.mp3")));
    QVERIFY(QFileInfo(run.outcomes.at(2).path).size() > 5000);
    QCOMPARE(run.summary.failed, 0);
}

void TestExtractionJob::wavJobIgnoresTheNameFormat()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 31, 32});
    ExtractionSettings s;
    s.drive = image.cuePath();
    s.folder = dir.path();
    s.nameFormat = TitleParenArtist;
    s.artist = QStringLiteral("X");
    const Run run = runJob(ExtractionJob::Wav, s, {{"Piste 1", false}, {"Piste 2", false}, {"Piste 3", true}});
    QCOMPARE(run.outcomes.at(2).path, dir.filePath(QStringLiteral("Piste 3.wav")));
    QCOMPARE(QFileInfo(run.outcomes.at(2).path).size(), 44 + 32 * 2352);
    QVERIFY(!run.outcomes.at(2).writeTags);
}

void TestExtractionJob::failedRowsAreMarkedError()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 31});
    ExtractionSettings s;
    s.drive = image.cuePath();
    s.folder = dir.path();
    // A third row that the two-track disc does not have.
    const Run run = runJob(ExtractionJob::Mp3, s, {{"a", true}, {"b", true}, {"c", true}});
    QCOMPARE(run.outcomes.at(0).mark, markOk);
    QCOMPARE(run.outcomes.at(1).mark, markOk);
    QCOMPARE(run.outcomes.at(2).mark, markError);
    QCOMPARE(run.outcomes.at(2).message, QStringLiteral("N° de piste incorrecte"));
    QVERIFY(!run.outcomes.at(2).writeTags);
    QCOMPARE(run.summary.failed, 1);

    s.drive = dir.filePath(QStringLiteral("nothing.cue"));
    const Run none = runJob(ExtractionJob::Wav, s, {{"a", true}});
    QCOMPARE(none.outcomes.at(0).mark, markError);
    QVERIFY(none.outcomes.at(0).message.isEmpty());
}

void TestExtractionJob::namesStayInTheFolder()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out")));
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 30});
    ExtractionSettings s;
    s.drive = image.cuePath();
    s.folder = dir.filePath(QStringLiteral("out"));
    s.nameFormat = ArtistTitle;
    s.artist = QStringLiteral("AC/DC");
    const Run run = runJob(ExtractionJob::Mp3, s, {{"../Back/In Black", true}, {"..", true}});
    QCOMPARE(run.outcomes.at(0).mark, markOk);
    QCOMPARE(QDir(s.folder).entryList(QDir::Files),
             (QStringList{QStringLiteral("AC-DC - ..-Back-In Black.mp3"), QStringLiteral("AC-DC - ...mp3")}));
}

void TestExtractionJob::tagOptionNoneWritesNoTag()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30});
    ExtractionSettings s;
    s.drive = image.cuePath();
    s.folder = dir.path();
    for (TagOption option : {TagOption::V1, TagOption::V2, TagOption::V1AndV2, TagOption::None}) {
        s.tagOption = option;
        const Run run = runJob(ExtractionJob::Mp3, s, {{"a", true}});
        QCOMPARE(run.outcomes.at(0).writeTags, option != TagOption::None);
    }
}

void TestExtractionJob::cancelStopsTheJob()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 80, 30});
    ExtractionSettings s;
    s.drive = image.cuePath();
    s.folder = dir.path();
    ExtractionJob job;
    QList<int> finished;
    int row = 0;
    job.trackStarted = [&row](int r, const QString &) { row = r; };
    job.progress = [&row](qint64 done, qint64) { return !(row == 2 && done >= 27); };
    job.trackFinished = [&finished](const TrackOutcome &o) { finished << o.row; };
    const auto summary = job.run(ExtractionJob::Wav, s, {{"a", true}, {"b", true}, {"c", true}});
    QVERIFY(summary.cancelled);
    QCOMPARE(finished, QList<int>{1});
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("a.wav"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("b.wav"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("c.wav"))));
}

void TestExtractionJob::unreadableMessage()
{
    const QList<TrackRow> rows{{"Un", true}, {"Deux", true}, {"Trois", true}};
    QCOMPARE(unreadableTracksMessage({}, rows), QString());
    QCOMPARE(unreadableTracksMessage({1, 3}, rows),
             QStringLiteral("Des secteurs illisibles ont été remplacés par du silence dans les pistes suivantes :\n"
                            "1. Un\n3. Trois"));
}

QTEST_GUILESS_MAIN(TestExtractionJob)
#include "tst_extractionjob.moc"
