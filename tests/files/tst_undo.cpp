// Undo on real files: tag saves come back byte for byte;
// renames into new folders and back without replacing.
#include "files/undojournal.h"
#include "rename/renamebatch.h"
#include "tags/tagbatch.h"

#include "mpegstream.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace mpegstream;

class TestUndo : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void tagSaveComesBack_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("titre");
        QTest::addColumn<bool>("both"); // both versions written: an ID3v1 block added
        const FrameHeader h;
        const QByteArray audio = frames(h, 30);
        const QByteArray padded = id3v2Tag(3, {id3v2TextFrame(3, "TIT2", "Ancien")}, 200);
        QTest::newRow("in place") << padded + audio << "Nouveau" << false;
        QTest::newRow("tag grows: rewritten") << padded + audio << QString(500, 'x') << false;
        QTest::newRow("ID3v1 block added") << padded + audio << "Nouveau" << true;
        QTest::newRow("Xing byte count and junk before the audio")
            << id3v2Tag(4, {id3v2TextFrame(4, "TIT2", "v2.4")}) + QByteArray(7, '\x55') +
                   xingFrame(h, {"Xing", 31, quint32(audio.size())}) + audio
            << "Nouveau" << false;
    }
    void tagSaveComesBack()
    {
        QFETCH(QByteArray, original);
        QFETCH(QString, titre);
        QFETCH(bool, both);
        const QString path = m_dir.filePath("tag.mp3");
        QVERIFY(writeFile(path, original));
        const QDateTime modified = QDateTime::currentDateTime().addDays(-3);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();

        tags::FieldEdit edit;
        edit.titre = titre;
        edit.v1 = edit.v2 = both;
        std::optional<tags::TagBackup> backup;
        QVERIFY(tags::saveFields(path, edit, {}, &backup).ok());
        QVERIFY(backup && readFile(path) != original);
        files::UndoJournal journal;
        journal.recordTagSaves("Enregistrement", {*backup});
        const files::UndoReport report = journal.undo();
        QVERIFY2(report.failures.isEmpty(), qPrintable(report.message()));
        QCOMPARE(readFile(path), original);
        QCOMPARE(QFileInfo(path).lastModified(), modified);
    }

    void renamesIntoFoldersAndBack()
    {
        QTemporaryDir dir;
        for (const char *name : {"a.mp3", "b.mp3", "c.mp3"})
            QVERIFY(writeFile(dir.filePath(name), name));
        QVERIFY(QFile::link("/tmp", dir.filePath("lien")));
        const renaming::RenameOutcome outcome =
            renaming::renameFiles(dir.path(),
                                  {{"a.mp3", "Brel/a.mp3"},
                                   {"b.mp3", "Brel/Best/b.mp3"},
                                   {"gone.mp3", "Neuf/gone.mp3"}, // its new folder goes again
                                   {"c.mp3", "Brel/a.mp3"},       // taken: never replaced
                                   {"c.mp3", "lien/c.mp3"},       // a link is no folder
                                   {"c.mp3", "../c.mp3"}},
                                  true);
        QCOMPARE(outcome.refused.size(), 4);
        QCOMPARE(outcome.createdFolders,
                 (QStringList{dir.filePath("Brel"), dir.filePath("Brel/Best")}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"Brel", "c.mp3", "lien"}));
        QCOMPARE(renaming::renameFiles(dir.path(), {{"c.mp3", "Brel/c.mp3"}}).renamed, 0);

        QList<files::MovedFile> moves;
        for (const renaming::RenameRow &row : outcome.done)
            moves.append({dir.filePath(row.fichier), dir.filePath(row.nouveau)});
        files::UndoJournal journal;
        journal.recordMoves("Renommage", moves, outcome.createdFolders);
        QVERIFY(writeFile(dir.filePath("a.mp3"), "another a"));
        const files::UndoReport report = journal.undo();
        QCOMPARE(report.failures.size(), 1);
        QCOMPARE(report.failures[0].fichier, dir.filePath("Brel/a.mp3"));
        QCOMPARE(readFile(dir.filePath("a.mp3")), "another a");
        QCOMPARE(readFile(dir.filePath("b.mp3")), "b.mp3");
        // "Best" was emptied and goes; "Brel" still holds a.mp3 and stays.
        QCOMPARE(QDir(dir.filePath("Brel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"a.mp3"});
    }
};

QTEST_GUILESS_MAIN(TestUndo)
#include "tst_undo.moc"
