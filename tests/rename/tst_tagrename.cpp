// "D'après le tag": names from tags, renames into new folders, and the command line both ways
// (names from tags, tags from names) checked with mutagen.
#include "rename/preview.h"
#include "rename/renamebatch.h"

#include "mpegstream.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace renaming;
using tags::PatternField;

namespace {

QByteArray runTool(const QString &program, const QStringList &args, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, args);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
               ? process.readAllStandardOutput()
               : QByteArray();
}

} // namespace

class TestTagRename : public QObject
{
    Q_OBJECT
private slots:
    void cell_data()
    {
        QTest::addColumn<QString>("modele");
        QTest::addColumn<bool>("withValues");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("marker");
        QTest::newRow("folders, padding, slash in a value")
            << "%artiste%/%piste:2% %titre%" << true << "AC-DC/07 Back.mp3" << false;
        QTest::newRow("missing field") << "%album% - %titre%" << true << "(Non compatible)" << true;
        QTest::newRow("tags not read") << "%titre%" << false << "(Pas selectionné)" << true;
    }
    void cell()
    {
        QFETCH(QString, modele);
        QFETCH(bool, withValues);
        RenameSettings settings;
        settings.operation = Operation::DapresTag;
        settings.modele = modele;
        PreviewRow row{"x.mp3", true, std::nullopt};
        if (withValues)
            row.valeurs = tags::PatternValues{{PatternField::Artiste, "AC/DC"},
                                              {PatternField::Piste, "7"},
                                              {PatternField::Titre, "Back"}};
        QTEST(previewCell(row, settings).text, "text");
        QTEST(previewCell(row, settings).marker, "marker");
    }

    void renamesIntoFolders()
    {
        QTemporaryDir dir;
        for (const char *name : {"a.mp3", "b.mp3", "c.mp3", "taken.mp3"})
            QVERIFY(mpegstream::writeFile(dir.filePath(name), name));
        QVERIFY(QDir(dir.path()).mkpath("Old"));
        QVERIFY(QFile::link(dir.filePath("Old"), dir.filePath("lien")));
        const RenameOutcome outcome =
            renameFiles(dir.path(),
                        {{"a.mp3", "Brel/Best/01 a.mp3"},
                         {"gone.mp3", "Neuf/gone.mp3"}, // refused: its new folder goes again
                         {"b.mp3", "taken.mp3"},        // refused: never replaces
                         {"c.mp3", "lien/c.mp3"},       // refused: a link is no folder
                         {"b.mp3", "../b.mp3"}},
                        true);
        QCOMPARE(outcome.renamed, 1);
        QCOMPARE(outcome.refused.size(), 4);
        QCOMPARE(outcome.createdFolders,
                 (QStringList{dir.filePath("Brel"), dir.filePath("Brel/Best")}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"b.mp3", "Brel", "c.mp3", "lien", "Old", "taken.mp3"}));
        QVERIFY(QFile::exists(dir.filePath("Brel/Best/01 a.mp3")));
        // Without folders allowed, a "/" stays refused as for the six other operations.
        QCOMPARE(renameFiles(dir.path(), {{"b.mp3", "Brel/b.mp3"}}).renamed, 0);
    }

    // tarvex-cli set --depuis-nom fills the tags from the name; rename --format names the file
    // from them.
    void commandLineBothWays()
    {
        const QString cli = qEnvironmentVariable("TARVEX_CLI");
        QVERIFY2(QFile::exists(cli), "TARVEX_CLI does not name the built tarvex-cli");
        QTemporaryDir dir;
        const QString name = "Brel/1959/03 - Ne me quitte pas.mp3";
        QVERIFY(QDir(dir.path()).mkpath("Brel/1959"));
        QVERIFY(mpegstream::writeFile(dir.filePath(name), mpegstream::frames({}, 20)));
        QVERIFY(!runTool(cli,
                         {"set", "--depuis-nom=%artiste%/%annee%/%piste% - %titre%", "--v2", name},
                         dir.path())
                     .isEmpty());
        const QByteArray read = runTool(
            "/usr/bin/python3",
            {"-c",
             "import sys; from mutagen.id3 import ID3; t = ID3(sys.argv[1], translate=False); "
             "print('|'.join(str(t[k].text[0]) for k in ('TPE1', 'TYER', 'TRCK', 'TIT2')))",
             name},
            dir.path());
        QCOMPARE(read.trimmed(), "Brel|1959|3|Ne me quitte pas");

        const QStringList format = {"rename", "--format=%annee%/%artiste% - %titre%"};
        const QJsonObject preview =
            QJsonDocument::fromJson(
                runTool(cli, format + QStringList{"--apercu", name}, dir.path()))
                .array()
                .at(0)
                .toObject();
        QCOMPARE(preview["nouveau"].toString(), "1959/Brel - Ne me quitte pas.mp3");
        QVERIFY(!runTool(cli, format + QStringList{name}, dir.path()).isEmpty());
        QVERIFY(QFile::exists(dir.filePath("Brel/1959/1959/Brel - Ne me quitte pas.mp3")));
    }
};

QTEST_GUILESS_MAIN(TestTagRename)
#include "tst_tagrename.moc"
