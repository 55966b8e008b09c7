// The six name operations and the renaming, through tarvex-cli rename as a script runs it, and
// the refusals of a batch of renames.
#include "rename/renamebatch.h"

#include "mpegstream.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestRename : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void preview_data();
    void preview();
    void renamesAndReportsRefusals();
    void help_data();
    void help();
    void batch_data();
    void batch();

private:
    int run(const QStringList &args, const QString &command = QStringLiteral("rename"));
    QString m_cli;
    QTemporaryDir m_dir;
    QByteArray m_out;
    QByteArray m_err;
};

void TestRename::initTestCase()
{
    m_cli = qEnvironmentVariable("TARVEX_CLI");
    if (m_cli.isEmpty() || !QFile::exists(m_cli))
        QSKIP("TARVEX_CLI does not name the built tarvex-cli");
    for (const char *name : {"Artist - Title.mp3", "Song.mp3"})
        QVERIFY(mpegstream::writeFile(m_dir.filePath(name), name));
}

int TestRename::run(const QStringList &args, const QString &command)
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(m_cli, QStringList{command} + args);
    if (!process.waitForFinished(30000))
        return -1;
    m_out = process.readAllStandardOutput();
    m_err = process.readAllStandardError();
    return process.exitCode();
}

void TestRename::preview_data()
{
    QTest::addColumn<QString>("options"); // separated by "|"
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<QString>("nouveau"); // the new-name cell

    const QString failure = QStringLiteral("(Pas selectionné)");
    const auto row = [](const char *name, const char *options, const QString &fichier,
                        const QString &nouveau) {
        QTest::newRow(name) << QString::fromUtf8(options) << fichier << nouveau;
    };
    row("delete leading number", "--supprimer=5", "01 - Song.mp3", "Song.mp3");
    row("delete after position", "--supprimer=2|--position=3", "01 - Song.mp3", "01 Song.mp3");
    row("delete nothing at the end", "--supprimer=0|--position=13", "01 - Song.mp3",
        "01 - Song.mp3");
    row("position past the end", "--supprimer=0|--position=14", "01 - Song.mp3", failure);
    row("delete into the extension", "--supprimer=3|--position=2", "ab.mp3", "ab3");
    row("more than the name holds", "--supprimer=30", "12345678.mp3", failure);
    row("astral character counts once", "--supprimer=1|--position=1", "a\U0001F600b.mp3", "ab.mp3");
    row("too short to split", "--supprimer=0", "abc", "abc");
    row("replace, extension untouched", "--remplacer=_", "a_b._mp", "a-b._mp");
    row("first character of R only", "--remplacer=_|--par=xyz", "a_b.mp3", "axb.mp3");
    row("empty replacement", "--remplacer=_|--par=", "a_b.mp3", "a_b.mp3");
    row("empty search fills the name", "--remplacer=|--par=x", "abc.mp3", "xxx.mp3");
    row("overlapping occurrences", "--remplacer=aa|--par=b", "aaaa.mp3", "bbba.mp3");
    row("case split by position, not by dot", "--lettrage-nom=0", "name.flac", "name..lac");
    row("upper with accents", "--lettrage-nom=1|--lettrage-ext=1", "été à Paris.mp3",
        "ÉTÉ À PARIS.MP3");
    row("lower with accents", "--lettrage-nom=2|--lettrage-ext=2", "ÉTÉ Œuvre.MP3",
        "été œuvre.mp3");
    row("every word keeps inner case", "--lettrage-nom=3", "le  bEST.mp3", "Le  BEST.mp3");
    row("extension initial", "--lettrage-ext=3", "x.MP3", "x.Mp3");
    row("first word only", "--lettrage-nom=4", "élan VITAL.mp3", "Élan vital.mp3");
    row("artist and title swapped", "--inverser=0", "A - B - C.mp3", "B - C - A.mp3");
    row("dash without blanks", "--inverser=0", "A-B.mp3", " - .mp3");
    row("name begins with dash", "--inverser=0", "-AB.mp3", failure);
    row("no dash", "--inverser=0", "NoDash.mp3", failure);
    row("title (artist)", "--inverser=1", "a (b) (c).mp3", "c - a (b) .mp3");
    row("no parenthesis", "--inverser=1", "Song.mp3", "(Non compatible)");
    row("parenthesis ends the name", "--inverser=1", "Title (.mp3", failure);
    row("manual name", "--nom=Nouveau.mp3", "x.mp3", "Nouveau.mp3");
    row("empty manual name", "--nom=", "x.mp3", "");
    row("add before and after", "--avant=01 |--apres= (live)", "Song.mp3", "01 Song (live).mp3");
    row("add, too short to split", "--avant=x", "abc", failure);
}

void TestRename::preview()
{
    QFETCH(QString, options);
    QFETCH(QString, fichier);
    QFETCH(QString, nouveau);
    QCOMPARE(run(options.split(u'|') + QStringList{"--apercu", "--", "dossier/" + fichier}), 0);
    const QJsonArray rows = QJsonDocument::fromJson(m_out).array();
    QCOMPARE(rows, QJsonArray({QJsonObject{{"fichier", fichier}, {"nouveau", nouveau}}}));
}

void TestRename::renamesAndReportsRefusals()
{
    // Both names become "x.mp3": the first is renamed, the second refused with its reason.
    QCOMPARE(run({"--nom=x.mp3", "Song.mp3", "Artist - Title.mp3"}), 1);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files),
             QStringList({"Artist - Title.mp3", "x.mp3"}));
    const QJsonArray rows = QJsonDocument::fromJson(m_out).array();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0], QJsonObject({{"fichier", "Song.mp3"}, {"nouveau", "x.mp3"}, {"ok", true}}));
    QCOMPARE(rows[1]["fichier"], "Artist - Title.mp3");
    QCOMPARE(rows[1]["ok"], false);
    QVERIFY(!rows[1]["erreur"].toString().isEmpty());

    QCOMPARE(run({"--nom=../évadé.mp3", "x.mp3"}), 1);
    QVERIFY(!QFile::exists(m_dir.filePath("../évadé.mp3")));
    // A usage mistake renames nothing.
    QCOMPARE(run({"--nom=a.mp3", "--inverser=0", "x.mp3"}), 2);
    QCOMPARE(run({"--inverser=0", m_dir.filePath("Artist - Title.mp3")}), 0);
    QVERIFY(m_err.isEmpty());
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files),
             QStringList({"Title - Artist.mp3", "x.mp3"}));
}

// Help and version go to standard output and end well; a command's help runs nothing.
void TestRename::help_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("begins");
    const QString all = QStringLiteral("Utilisation : tarvex-cli COMMANDE");
    const QString rename = QStringLiteral("Utilisation : tarvex-cli rename OPERATION");
    QTest::newRow("--help") << QStringList{"--help"} << all;
    QTest::newRow("help") << QStringList{"help"} << all;
    QTest::newRow("help rename") << QStringList{"help", "rename"} << rename;
    QTest::newRow("rename --help")
        << QStringList{"rename", "--nom=y.mp3", "--help", "x.mp3"} << rename;
    QTest::newRow("info --help") << QStringList{"info", "--help"}
                                 << QStringLiteral("Utilisation : tarvex-cli info FICHIER");
    QTest::newRow("--version") << QStringList{"--version"}
                               << QStringLiteral("tarvex-cli " TARVEX_VERSION "\n");
}

void TestRename::help()
{
    QFETCH(QStringList, args);
    QFETCH(QString, begins);
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    QCOMPARE(run(args.mid(1), args.first()), 0);
    QVERIFY2(QString::fromUtf8(m_out).startsWith(begins), m_out.constData());
    QVERIFY(m_err.isEmpty());
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
}

void TestRename::batch_data()
{
    QTest::addColumn<QStringList>("rows"); // "old>new"
    QTest::addColumn<QString>("after");    // each file and the name it was created with
    QTest::addColumn<QStringList>("refused");

    const QString untouched = QStringLiteral("a.mp3=a.mp3|b.mp3=b.mp3");
    const auto refusedAlone = [&](const char *name, const QString &row) {
        QTest::newRow(name) << QStringList{row} << untouched << QStringList{"a.mp3"};
    };
    QTest::newRow("swap meets existing files")
        << QStringList{"a.mp3>b.mp3", "b.mp3>a.mp3"} << untouched << QStringList{"a.mp3", "b.mp3"};
    QTest::newRow("chain in order")
        << QStringList{"b.mp3>c.mp3", "a.mp3>b.mp3"} << "b.mp3=a.mp3|c.mp3=b.mp3" << QStringList{};
    QTest::newRow("file gone") << QStringList{"x.mp3>y.mp3", "a.mp3>z.mp3"}
                               << "b.mp3=b.mp3|z.mp3=a.mp3" << QStringList{"x.mp3"};
    refusedAlone("existing folder of that name", "a.mp3>d");
    refusedAlone("slash leaves the folder", "a.mp3>../a.mp3");
    refusedAlone("dot", "a.mp3>.");
    refusedAlone("dot dot", "a.mp3>..");
    refusedAlone("NUL in the name", QString("a.mp3>x") + QChar(0) + "y.mp3");
    QTest::newRow("markers, empty cell and same name skipped")
        << QStringList{"a.mp3>(Pas selectionné)", "b.mp3>(Non compatible)", "a.mp3>", "b.mp3>b.mp3"}
        << untouched << QStringList{};
}

void TestRename::batch()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, after);
    QFETCH(QStringList, refused);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("d"));
    for (const char *name : {"a.mp3", "b.mp3"})
        QVERIFY(mpegstream::writeFile(dir.filePath(name), name));
    QList<renaming::RenameRow> batch;
    for (const QString &row : rows)
        batch.append({row.section('>', 0, 0), row.section('>', 1)});

    const renaming::RenameOutcome outcome = renaming::renameFiles(dir.path() + "/", batch);

    QStringList state;
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files)) {
        QFile file(dir.filePath(name));
        state.append(name + "=" + (file.open(QIODevice::ReadOnly) ? file.readAll() : ""));
    }
    QCOMPARE(state.join(u'|'), after);
    QVERIFY(!QFile::exists(dir.filePath("../a.mp3")));
    QStringList refusedNames;
    for (const renaming::RenameRefusal &r : outcome.refused) {
        refusedNames.append(r.fichier);
        // One message names every refused file.
        QVERIFY(outcome.message().contains("« " + r.fichier + " » → « " + r.nouveau + " » : "));
    }
    QCOMPARE(refusedNames, refused);
    QCOMPARE(outcome.message().isEmpty(), refused.isEmpty());
}

QTEST_GUILESS_MAIN(TestRename)
#include "tst_rename.moc"
