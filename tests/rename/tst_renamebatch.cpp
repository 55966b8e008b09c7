#include "rename/renamebatch.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace renaming;

class TestRenameBatch : public QObject
{
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
};

void TestRenameBatch::apply_data()
{
    QTest::addColumn<QStringList>("rows"); // "old>new"
    QTest::addColumn<QString>("after");    // each file and the name it was created with
    QTest::addColumn<QStringList>("refused");

    const QString untouched = QStringLiteral("a.mp3=a.mp3|b.mp3=b.mp3");
    const auto refusedAlone = [&](const char *name, const QString &row) {
        QTest::newRow(name) << QStringList{row} << untouched << QStringList{"a.mp3"};
    };
    QTest::newRow("simple rename") << QStringList{"a.mp3>Été 2 - Noël.mp3"}
                                   << "b.mp3=b.mp3|Été 2 - Noël.mp3=a.mp3" << QStringList{};
    QTest::newRow("case only") << QStringList{"a.mp3>A.MP3"} << "A.MP3=a.mp3|b.mp3=b.mp3"
                               << QStringList{};
    QTest::newRow("two rows, same new name") << QStringList{"a.mp3>c.mp3", "b.mp3>c.mp3"}
                                             << "b.mp3=b.mp3|c.mp3=a.mp3" << QStringList{"b.mp3"};
    QTest::newRow("swap meets existing files")
        << QStringList{"a.mp3>b.mp3", "b.mp3>a.mp3"} << untouched << QStringList{"a.mp3", "b.mp3"};
    QTest::newRow("chain in order")
        << QStringList{"b.mp3>c.mp3", "a.mp3>b.mp3"} << "b.mp3=a.mp3|c.mp3=b.mp3" << QStringList{};
    QTest::newRow("file gone") << QStringList{"x.mp3>y.mp3", "a.mp3>z.mp3"}
                               << "b.mp3=b.mp3|z.mp3=a.mp3" << QStringList{"x.mp3"};
    refusedAlone("existing folder of that name", "a.mp3>d");
    refusedAlone("slash leaves the folder", "a.mp3>../a.mp3");
    refusedAlone("slash into a subfolder", "a.mp3>d/x.mp3");
    refusedAlone("dot", "a.mp3>.");
    refusedAlone("dot dot", "a.mp3>..");
    refusedAlone("NUL in the name", QString("a.mp3>x") + QChar(0) + "y.mp3");
    QTest::newRow("markers, empty cell and same name skipped")
        << QStringList{"a.mp3>(Pas selectionné)", "b.mp3>(Non compatible)", "a.mp3>", "b.mp3>b.mp3"}
        << untouched << QStringList{};
}

void TestRenameBatch::apply()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, after);
    QFETCH(QStringList, refused);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("d"));
    for (const char *name : {"a.mp3", "b.mp3"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name) > 0);
    }
    QList<RenameRow> batch;
    for (const QString &row : rows)
        batch.append({row.section('>', 0, 0), row.section('>', 1)});

    const RenameOutcome outcome = renameFiles(dir.path() + "/", batch);

    QStringList state;
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        state.append(name + "=" + QString::fromUtf8(file.readAll()));
    }
    QCOMPARE(state.join(u'|'), after);
    QVERIFY(QDir(dir.filePath("d")).isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("../a.mp3")));
    // Every refused file is named in the one message.
    QStringList refusedNames;
    for (const RenameRefusal &r : outcome.refused) {
        refusedNames.append(r.fichier);
        QVERIFY(outcome.message().contains("« " + r.fichier + " » → « " + r.nouveau + " » : "));
    }
    QCOMPARE(refusedNames, refused);
    QCOMPARE(outcome.message().isEmpty(), refused.isEmpty());
}

QTEST_GUILESS_MAIN(TestRenameBatch)
#include "tst_renamebatch.moc"
