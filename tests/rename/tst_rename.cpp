// The six name operations, called as the preview calls them, and the refusals of a batch of
// renames.
#include "rename/preview.h"
#include "rename/renamebatch.h"

#include "mpegstream.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace renaming;

Q_DECLARE_METATYPE(renaming::RenameSettings)

// Each row names only the settings it changes; the others keep the page's initial values.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

class TestRename : public QObject
{
    Q_OBJECT

private slots:
    void preview_data()
    {
        QTest::addColumn<RenameSettings>("settings");
        QTest::addColumn<QString>("fichier");
        QTest::addColumn<QString>("nouveau"); // the new-name cell

        // "name>cell"; "(Non compatible)" is a checked name the operation cannot handle (an
        // unchecked row shows "(Pas selectionné)").
        const auto row = [](const char *name, const RenameSettings &settings, const QString &cell) {
            QTest::newRow(name) << settings << cell.section('>', 0, 0) << cell.section('>', 1);
        };
        using enum Operation;
        row("delete after position", {.nombre = 2, .position = 3}, "01 - Song.mp3>01 Song.mp3");
        row("delete nothing at the end", {.position = 13}, "01 - Song.mp3>01 - Song.mp3");
        row("position past the end", {.position = 14}, "01 - Song.mp3>(Non compatible)");
        row("delete into the extension", {.nombre = 3, .position = 2}, "ab.mp3>ab3");
        row("astral character counts once", {.nombre = 1, .position = 1},
            "a\U0001F600b.mp3>ab.mp3");
        row("too short to split", {}, "abc>abc");
        row("replace, extension untouched", {.operation = Remplacer, .recherche = "_"},
            "a_b._mp>a-b._mp");
        row("first character of R only",
            {.operation = Remplacer, .recherche = "_", .remplacement = "xyz"}, "a_b.mp3>axb.mp3");
        row("empty replacement", {.operation = Remplacer, .recherche = "_", .remplacement = ""},
            "a_b.mp3>a_b.mp3");
        row("empty search fills the name", {.operation = Remplacer, .remplacement = "x"},
            "abc.mp3>xxx.mp3");
        row("overlapping occurrences",
            {.operation = Remplacer, .recherche = "aa", .remplacement = "b"}, "aaaa.mp3>bbba.mp3");
        row("case split by position, not by dot", {.operation = Lettrage}, "name.flac>name..lac");
        row("upper with accents", {.operation = Lettrage, .lettrageNom = 1, .lettrageExt = 1},
            "été à Paris.mp3>ÉTÉ À PARIS.MP3");
        row("lower with accents", {.operation = Lettrage, .lettrageNom = 2, .lettrageExt = 2},
            "ÉTÉ Œuvre.MP3>été œuvre.mp3");
        row("every word keeps inner case", {.operation = Lettrage, .lettrageNom = 3},
            "le  bEST.mp3>Le  BEST.mp3");
        row("extension initial", {.operation = Lettrage, .lettrageExt = 3}, "x.MP3>x.Mp3");
        row("first word only", {.operation = Lettrage, .lettrageNom = 4},
            "élan VITAL.mp3>Élan vital.mp3");
        row("artist and title swapped", {.operation = Inverser}, "A - B - C.mp3>B - C - A.mp3");
        row("dash without blanks", {.operation = Inverser}, "A-B.mp3> - .mp3");
        row("name begins with dash", {.operation = Inverser}, "-AB.mp3>(Non compatible)");
        row("no dash", {.operation = Inverser}, "NoDash.mp3>(Non compatible)");
        row("title (artist)", {.operation = Inverser, .inversion = 1},
            "a (b) (c).mp3>c - a (b) .mp3");
        row("no parenthesis", {.operation = Inverser, .inversion = 1}, "Song.mp3>(Non compatible)");
        row("parenthesis ends the name", {.operation = Inverser, .inversion = 1},
            "Title (.mp3>(Non compatible)");
        row("manual name", {.operation = Manuellement, .nomManuel = "Nouveau.mp3"},
            "x.mp3>Nouveau.mp3");
        row("empty manual name", {.operation = Manuellement}, "x.mp3>");
        row("add before and after", {.operation = Ajouter, .avant = "01 ", .apres = " (live)"},
            "Song.mp3>01 Song (live).mp3");
        row("add, too short to split", {.operation = Ajouter, .avant = "x"},
            "abc>(Non compatible)");
        row("file below keeps its folder", {.nombre = 2, .position = 3},
            "CD 1/01 - Song.mp3>CD 1/01 Song.mp3");
        row("manual name below", {.operation = Manuellement, .nomManuel = "Nouveau.mp3"},
            "CD 1/x.mp3>CD 1/Nouveau.mp3");
    }

    void preview()
    {
        QFETCH(RenameSettings, settings);
        QFETCH(QString, fichier);
        QTEST(previewCell({fichier, true}, settings).text, "nouveau");
    }

    void batch_data()
    {
        QTest::addColumn<QStringList>("rows"); // "old>new"
        QTest::addColumn<QString>("after");    // each file and the name it was created with
        QTest::addColumn<QStringList>("refused");

        const QString untouched = QStringLiteral("a.mp3=a.mp3|b.mp3=b.mp3|d/c.mp3=c.mp3");
        const auto refusedAlone = [&](const char *name, const QString &row) {
            QTest::newRow(name) << QStringList{row} << untouched << QStringList{"a.mp3"};
        };
        QTest::newRow("swap meets existing files") << QStringList{"a.mp3>b.mp3", "b.mp3>a.mp3"}
                                                   << untouched << QStringList{"a.mp3", "b.mp3"};
        QTest::newRow("chain in order") << QStringList{"b.mp3>c.mp3", "a.mp3>b.mp3"}
                                        << "b.mp3=a.mp3|c.mp3=b.mp3|d/c.mp3=c.mp3" << QStringList{};
        QTest::newRow("file gone")
            << QStringList{"x.mp3>y.mp3", "a.mp3>z.mp3"} << "b.mp3=b.mp3|d/c.mp3=c.mp3|z.mp3=a.mp3"
            << QStringList{"x.mp3"};
        QTest::newRow("file below renamed in its folder")
            << QStringList{"d/c.mp3>d/e.mp3"} << "a.mp3=a.mp3|b.mp3=b.mp3|d/e.mp3=c.mp3"
            << QStringList{};
        QTest::newRow("file below cannot leave its folder")
            << QStringList{"d/c.mp3>e.mp3", "d/c.mp3>d/../e.mp3"} << untouched
            << QStringList{"d/c.mp3", "d/c.mp3"};
        refusedAlone("existing folder of that name", "a.mp3>d");
        refusedAlone("slash leaves the folder", "a.mp3>../a.mp3");
        refusedAlone("dot dot", "a.mp3>..");
        refusedAlone("NUL in the name", QString("a.mp3>x") + QChar(0) + "y.mp3");
        QTest::newRow("markers, empty cell and same name skipped")
            << QStringList{"a.mp3>(Pas selectionné)", "b.mp3>(Non compatible)", "a.mp3>",
                           "b.mp3>b.mp3"}
            << untouched << QStringList{};
    }

    void batch()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, refused);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("d"));
        for (const char *name : {"a.mp3", "b.mp3"})
            QVERIFY(mpegstream::writeFile(dir.filePath(name), name));
        QVERIFY(mpegstream::writeFile(dir.filePath("d/c.mp3"), "c.mp3"));
        QList<RenameRow> batch;
        for (const QString &row : rows)
            batch.append({row.section('>', 0, 0), row.section('>', 1)});

        const RenameOutcome outcome = renameFiles(dir.path() + "/", batch);

        QStringList state;
        for (const QString &folder : {QString(), QStringLiteral("d/")})
            for (const QString &name : QDir(dir.filePath(folder)).entryList(QDir::Files))
                state.append(folder + name + "=" +
                             mpegstream::readFile(dir.filePath(folder + name)));
        state.sort();
        QTEST(state.join(u'|'), "after");
        QVERIFY(!QFile::exists(dir.filePath("../a.mp3")));
        QStringList refusedNames;
        for (const RenameRefusal &r : outcome.refused) {
            refusedNames.append(r.fichier);
            // One message names every refused file.
            QVERIFY(outcome.message().contains("« " + r.fichier + " » → « " + r.nouveau + " » : "));
        }
        QCOMPARE(refusedNames, refused);
        QCOMPARE(outcome.message().isEmpty(), refused.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRename)
#include "tst_rename.moc"
