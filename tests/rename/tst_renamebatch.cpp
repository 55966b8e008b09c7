#include "rename/renamebatch.h"
#include "rename/safefs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace renaming;

namespace {

// Each file starts holding its own name, so that the test can tell where a content went.
void createFiles(const QString &folder, const QStringList &names)
{
    for (const QString &name : names) {
        QFile file(joinPath(folder, name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
}

// "name=original name" for every file of the folder, sorted.
QStringList folderState(const QString &folder)
{
    QStringList state;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        QFile file(joinPath(folder, name));
        if (!file.open(QIODevice::ReadOnly))
            return {"unreadable " + name};
        state.append(name + "=" + QString::fromUtf8(file.readAll()));
    }
    return state;
}

} // namespace

class TestRenameBatch : public QObject
{
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
    void intoExistingFolderRefused();
    void refusalMessage();
    void joinPath_data();
    void joinPath();
    void firstSlash_data();
    void firstSlash();
};

void TestRenameBatch::apply_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("rows"); // "old>new"
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("refused");

    const QStringList ab = {"a.mp3", "b.mp3"};
    QTest::newRow("simple rename") << ab << QStringList{"a.mp3>c.mp3"}
                                   << QStringList{"b.mp3=b.mp3", "c.mp3=a.mp3"} << QStringList{};
    QTest::newRow("existing target kept") << ab << QStringList{"a.mp3>b.mp3"}
                                          << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"} << QStringList{"a.mp3"};
    QTest::newRow("two rows, same new name") << ab << QStringList{"a.mp3>c.mp3", "b.mp3>c.mp3"}
                                             << QStringList{"b.mp3=b.mp3", "c.mp3=a.mp3"} << QStringList{"b.mp3"};
    QTest::newRow("swap meets existing files") << ab << QStringList{"a.mp3>b.mp3", "b.mp3>a.mp3"}
                                               << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"}
                                               << QStringList{"a.mp3", "b.mp3"};
    QTest::newRow("chain in order") << ab << QStringList{"b.mp3>c.mp3", "a.mp3>b.mp3"}
                                    << QStringList{"b.mp3=a.mp3", "c.mp3=b.mp3"} << QStringList{};
    QTest::newRow("slash leaves the folder") << ab << QStringList{"a.mp3>../a.mp3"} << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"} << QStringList{"a.mp3"};
    QTest::newRow("slash into a subfolder") << ab << QStringList{"a.mp3>sub/x.mp3"} << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"} << QStringList{"a.mp3"};
    QTest::newRow("dot") << ab << QStringList{"a.mp3>."} << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"} << QStringList{"a.mp3"};
    QTest::newRow("dot dot") << ab << QStringList{"a.mp3>.."} << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"} << QStringList{"a.mp3"};
    QTest::newRow("NUL in the name") << ab << QStringList{QString("a.mp3>x") + QChar(0) + "y.mp3"}
                                     << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"} << QStringList{"a.mp3"};
    QTest::newRow("marker skipped") << ab << QStringList{"a.mp3>(Pas selectionné)", "b.mp3>(Non compatible)"}
                                    << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"} << QStringList{};
    QTest::newRow("empty cell skipped") << ab << QStringList{"a.mp3>"} << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"} << QStringList{};
    QTest::newRow("same name left alone") << ab << QStringList{"a.mp3>a.mp3"} << QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"} << QStringList{};
    QTest::newRow("file gone") << ab << QStringList{"x.mp3>y.mp3", "a.mp3>z.mp3"}
                               << QStringList{"b.mp3=b.mp3", "z.mp3=a.mp3"} << QStringList{"x.mp3"};
    QTest::newRow("case only") << ab << QStringList{"a.mp3>A.MP3"} << QStringList{"A.MP3=a.mp3", "b.mp3=b.mp3"} << QStringList{};
    QTest::newRow("accents and blanks") << ab << QStringList{"a.mp3>Été 2 - Noël.mp3"}
                                        << QStringList{"b.mp3=b.mp3", "Été 2 - Noël.mp3=a.mp3"} << QStringList{};
}

void TestRenameBatch::apply()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, after);
    QFETCH(QStringList, refused);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    createFiles(dir.path(), files);
    QList<RenameRow> batch;
    for (const QString &row : rows)
        batch.append({row.section('>', 0, 0), row.section('>', 1)});

    const RenameOutcome outcome = renameFiles(dir.path(), batch);

    QStringList expected = after;
    expected.sort();
    QStringList actual = folderState(dir.path());
    actual.sort();
    QCOMPARE(actual, expected);
    QStringList refusedNames;
    for (const RenameRefusal &r : outcome.refused)
        refusedNames.append(r.fichier);
    QCOMPARE(refusedNames, refused);
    QCOMPARE(QDir(dir.path() + "/..").exists("a.mp3"), false);
}

void TestRenameBatch::intoExistingFolderRefused()
{
    QTemporaryDir dir;
    createFiles(dir.path(), {"a.mp3"});
    QVERIFY(QDir(dir.path()).mkdir("d"));
    const RenameOutcome outcome = renameFiles(dir.path() + "/", {{"a.mp3", "d"}});
    QCOMPARE(outcome.refused.size(), 1);
    QCOMPARE(outcome.refused[0].raison, QStringLiteral("un fichier de ce nom existe déjà"));
    QVERIFY(QFile::exists(dir.filePath("a.mp3")));
    QVERIFY(QFileInfo(dir.filePath("d")).isDir());
}

void TestRenameBatch::refusalMessage()
{
    QTemporaryDir dir;
    createFiles(dir.path(), {"a.mp3", "b.mp3", "c.mp3"});
    const RenameOutcome outcome =
        renameFiles(dir.path(), {{"a.mp3", "b.mp3"}, {"c.mp3", "../c.mp3"}, {"b.mp3", "d.mp3"}});
    QCOMPARE(outcome.renamed, 1);
    QCOMPARE(outcome.message(), QStringLiteral("Ces fichiers n'ont pas été renommés :\n"
                                               "« a.mp3 » → « b.mp3 » : un fichier de ce nom existe déjà\n"
                                               "« c.mp3 » → « ../c.mp3 » : nom de fichier interdit"));
    QVERIFY(RenameOutcome().message().isEmpty());
}

void TestRenameBatch::joinPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain folder") << "/music" << "/music/a.mp3";
    QTest::newRow("trailing separator") << "/music/" << "/music/a.mp3";
    QTest::newRow("root") << "/" << "/a.mp3";
}

void TestRenameBatch::joinPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(renaming::joinPath(folder, "a.mp3"), path);
}

void TestRenameBatch::firstSlash_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one slash") << "AC/DC" << "AC-DC";
    QTest::newRow("second slash kept") << "A/B/C" << "A-B/C";
    QTest::newRow("no slash") << "Titre" << "Titre";
    QTest::newRow("slash alone") << "/" << "-";
    QTest::newRow("empty") << "" << "";
}

void TestRenameBatch::firstSlash()
{
    QFETCH(QString, title);
    QFETCH(QString, expected);
    QCOMPARE(firstSlashToDash(title), expected);
}

QTEST_GUILESS_MAIN(TestRenameBatch)
#include "tst_renamebatch.moc"
