#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Runs tarvex-cli rename as a script would.
class TestRenameCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void preview_data();
    void preview();
    void renamesAndReportsRefusals();
    void usageErrors_data();
    void usageErrors();

private:
    int run(const QStringList &args);
    QString m_cli;
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_out;
    QByteArray m_err;
};

void TestRenameCli::initTestCase()
{
    m_cli = qEnvironmentVariable("TARVEX_CLI");
    if (m_cli.isEmpty() || !QFile::exists(m_cli))
        QSKIP("TARVEX_CLI does not name the built tarvex-cli");
}

void TestRenameCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    for (const char *name : {"Artist - Title.mp3", "Song.mp3", "Title (Artist).mp3"}) {
        QFile file(m_dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name);
    }
}

int TestRenameCli::run(const QStringList &args)
{
    QProcess process;
    process.setWorkingDirectory(m_dir->path());
    process.start(m_cli, QStringList{"rename"} + args);
    if (!process.waitForFinished(30000))
        return -1;
    m_out = process.readAllStandardOutput();
    m_err = process.readAllStandardError();
    return process.exitCode();
}

void TestRenameCli::preview_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("expected"); // one new-name cell per file, in order
    QTest::newRow("swap rule 0") << QStringList{"--inverser=0"}
                                 << QStringList{"Title - Artist.mp3", "(Pas selectionné)", "(Pas selectionné)"};
    QTest::newRow("swap rule 1") << QStringList{"--inverser=1"}
                                 << QStringList{"(Non compatible)", "(Non compatible)", "Artist - Title .mp3"};
    QTest::newRow("delete") << QStringList{"--supprimer=2", "--position=1"}
                            << QStringList{"Aist - Title.mp3", "Sg.mp3", "Tle (Artist).mp3"};
    QTest::newRow("add") << QStringList{"--avant=01 ", "--apres= (live)"}
                         << QStringList{"01 Artist - Title (live).mp3", "01 Song (live).mp3", "01 Title (Artist) (live).mp3"};
}

void TestRenameCli::preview()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, expected);
    const QStringList files = {"Artist - Title.mp3", m_dir->filePath("Song.mp3"), "Title (Artist).mp3"};
    QCOMPARE(run(options + QStringList{"--apercu"} + files), 0);
    const QJsonArray rows = QJsonDocument::fromJson(m_out).array();
    QCOMPARE(rows.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rows[i].toObject().value("fichier").toString(), QFileInfo(files[i]).fileName());
        QCOMPARE(rows[i].toObject().value("nouveau").toString(), expected[i]);
    }
    // A preview renames nothing.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 3);
    QVERIFY(QFile::exists(m_dir->filePath("Song.mp3")));
}

void TestRenameCli::renamesAndReportsRefusals()
{
    // Both names become "x.mp3": the first is renamed, the second refused and named.
    QCOMPARE(run({"--nom=x.mp3", "Song.mp3", "Artist - Title.mp3"}), 1);
    QCOMPARE(QFile(m_dir->filePath("x.mp3")).exists(), true);
    QVERIFY(QFile::exists(m_dir->filePath("Artist - Title.mp3")));
    QVERIFY(!QFile::exists(m_dir->filePath("Song.mp3")));
    QVERIFY(QString::fromUtf8(m_err).contains("Artist - Title.mp3"));
    QVERIFY(QString::fromUtf8(m_err).contains("existe déjà"));

    QCOMPARE(run({"--nom=../évadé.mp3", "x.mp3"}), 1);
    QVERIFY(QFile::exists(m_dir->filePath("x.mp3")));
    QVERIFY(!QFile::exists(m_dir->filePath("../évadé.mp3")));

    QCOMPARE(run({"--inverser=0", "Artist - Title.mp3"}), 0);
    QVERIFY(QFile::exists(m_dir->filePath("Title - Artist.mp3")));
    QVERIFY(m_err.isEmpty());
}

void TestRenameCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no operation") << QStringList{"Song.mp3"};
    QTest::newRow("two operations") << QStringList{"--nom=a", "--inverser=0", "Song.mp3"};
    QTest::newRow("rule out of range") << QStringList{"--lettrage-ext=4", "Song.mp3"};
    QTest::newRow("negative count") << QStringList{"--supprimer=-1", "Song.mp3"};
    QTest::newRow("position alone") << QStringList{"--position=2", "Song.mp3"};
    QTest::newRow("no file") << QStringList{"--inverser=1"};
    QTest::newRow("unknown option") << QStringList{"--renommer=1", "Song.mp3"};
}

void TestRenameCli::usageErrors()
{
    QFETCH(QStringList, args);
    QCOMPARE(run(args), 2);
    QVERIFY(!m_err.isEmpty());
    QVERIFY(QFile::exists(m_dir->filePath("Song.mp3")));
}

QTEST_GUILESS_MAIN(TestRenameCli)
#include "tst_renamecli.moc"
