// The undo journal on real files: tag saves of every kind come back byte for byte, a file
// another program changed is left alone and named, renames go back without replacing.
#include "files/undojournal.h"
#include "rename/renamebatch.h"
#include "tags/tagbatch.h"

#include "mpegstream.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace mpegstream;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
}

tags::TagChanges titled(const QString &titre, int v1 = 0)
{
    tags::TagChanges changes;
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(255);
    t.setTitre(titre);
    changes.v2 = t;
    if (v1 > 0) {
        tags::TypeTagV1 block;
        block.setValide(true);
        block.setTitre(titre);
        changes.v1 = block;
    }
    changes.removeV1 = v1 < 0;
    return changes;
}

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void tagSaveComesBack_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("titre");
        QTest::addColumn<int>("v1"); // 1 writes the block, -1 removes it
        const FrameHeader h;
        const QByteArray audio = frames(h, 30);
        const QByteArray padded = id3v2Tag(3, {id3v2TextFrame(3, "TIT2", "Ancien")}, 200);
        const QByteArray block = id3v1Block("Ancien", "A", "B", "1999", "C", 2, 13);
        QTest::newRow("in place") << padded + audio << "Nouveau" << 0;
        QTest::newRow("tag grows: rewritten") << padded + audio << QString(500, 'x') << 0;
        QTest::newRow("no tag before") << audio + block << "Nouveau" << 0;
        QTest::newRow("ID3v1 block added") << padded + audio << "Nouveau" << 1;
        QTest::newRow("ID3v1 block removed, tag grows")
            << padded + audio + block << QString(500, 'x') << -1;
        QTest::newRow("Xing byte count and junk before the audio")
            << id3v2Tag(4, {id3v2TextFrame(4, "TIT2", "v2.4")}) + QByteArray(7, '\x55') +
                   xingFrame(h, {"Xing", 31, quint32(audio.size())}) + audio
            << "Nouveau" << 0;
    }
    void tagSaveComesBack()
    {
        QFETCH(QByteArray, original);
        QFETCH(QString, titre);
        QFETCH(int, v1);
        const QString path = m_dir.filePath("tag.mp3");
        QFile::remove(path);
        QVERIFY(writeFile(path, original));
        const QDateTime modified = QDateTime::currentDateTime().addDays(-3);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();

        std::optional<tags::TagBackup> backup;
        const tags::Result<tags::SaveKind> saved =
            tags::saveTagsUndoable(path, titled(titre, v1), &backup);
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
        QVERIFY(backup && contentOf(path) != original);
        files::UndoJournal journal;
        journal.recordTagSaves("Enregistrement", {*backup});
        const files::UndoReport report = journal.undo();
        QVERIFY2(report.failures.isEmpty(), qPrintable(report.message()));
        QCOMPARE(contentOf(path), original);
        QCOMPARE(QFileInfo(path).lastModified(), modified);
        QVERIFY(journal.isEmpty());
    }

    // A batch saved twice over the same files goes back one step at a time; a file another
    // program wrote meanwhile stays as that program left it, and the message names it.
    void batchUndoneStepByStep()
    {
        QStringList paths;
        QList<QByteArray> originals;
        for (int i = 0; i < 3; ++i) {
            paths.append(m_dir.filePath(QString("b%1.mp3").arg(i)));
            originals.append(id3v2Tag(3, {id3v2TextFrame(3, "TPE1", "Brel")}, i * 40) +
                             frames(FrameHeader(), 10));
            QVERIFY(writeFile(paths.last(), originals.last()));
        }
        files::UndoJournal journal;
        QList<QByteArray> first;
        for (const char *titre : {"Un", "Deux et bien plus long que la place libre"}) {
            tags::FieldEdit edit;
            edit.titre = titre;
            QList<tags::TagBackup> backups;
            QVERIFY(tags::saveBatch(paths, edit, {}, &backups).failures.isEmpty());
            QCOMPARE(backups.size(), 3);
            journal.recordTagSaves(titre, backups);
            if (first.isEmpty())
                for (const QString &p : paths)
                    first.append(contentOf(p));
        }
        QCOMPARE(journal.lastLabel(), "Deux et bien plus long que la place libre");
        QCOMPARE(journal.undo().restored, 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(contentOf(paths[i]), first[i]);

        QFile other(paths[1]);
        QVERIFY(other.open(QIODevice::Append) && other.write("!") == 1);
        other.close();
        const QByteArray changed = contentOf(paths[1]);
        const files::UndoReport report = journal.undo();
        QCOMPARE(report.restored, 2);
        QCOMPARE(report.failures.size(), 1);
        QVERIFY(report.message().contains(QFileInfo(paths[1]).fileName()));
        QVERIFY(report.message().contains("modifié par un autre programme"));
        QCOMPARE(contentOf(paths[1]), changed);
        QCOMPARE(contentOf(paths[0]), originals[0]);
        QCOMPARE(contentOf(paths[2]), originals[2]);
    }

    void renamesGoBackWithoutReplacing()
    {
        QTemporaryDir dir;
        for (const char *name : {"a.mp3", "b.mp3"})
            QVERIFY(writeFile(dir.filePath(name), name));
        const renaming::RenameOutcome outcome = renaming::renameFiles(
            dir.path(), {{"a.mp3", "Brel/a.mp3"}, {"b.mp3", "Brel/Best/b.mp3"}}, true);
        QCOMPARE(outcome.done.size(), 2);
        QList<files::MovedFile> moves;
        for (const renaming::RenameRow &row : outcome.done)
            moves.append({dir.filePath(row.fichier), dir.filePath(row.nouveau)});
        files::UndoJournal journal;
        journal.recordMoves("Renommage", moves, outcome.createdFolders);
        QVERIFY(writeFile(dir.filePath("a.mp3"), "another a"));

        const files::UndoReport report = journal.undo();
        QCOMPARE(report.restored, 1);
        QCOMPARE(report.failures.size(), 1);
        QCOMPARE(report.failures[0].fichier, dir.filePath("Brel/a.mp3"));
        QCOMPARE(contentOf(dir.filePath("a.mp3")), "another a");
        QCOMPARE(contentOf(dir.filePath("b.mp3")), "b.mp3");
        // "Best" was emptied and goes; "Brel" still holds a.mp3 and stays.
        QCOMPARE(QDir(dir.filePath("Brel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"a.mp3"});
    }
};

QTEST_GUILESS_MAIN(TestUndo)
#include "tst_undo.moc"
