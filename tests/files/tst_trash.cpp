// Deletion puts files in the desktop's trash; deleting for good is a call of its own.
#include "files/fileoperations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestTrash : public QObject
{
    Q_OBJECT
    QTemporaryDir m_home;
    QTemporaryDir m_folder;

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path())); }

    void deleteGoesToTheTrash()
    {
        for (const char *name : {"a.mp3", "b.mp3"}) {
            QFile file(m_folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(name) > 0);
        }
        const files::OperationReport trashed =
            files::deleteFiles(m_folder.path(), {"a.mp3", "absent.mp3", "../x"});
        QCOMPARE(trashed.done, 1);
        QCOMPARE(trashed.failures.size(), 2);
        QCOMPARE(trashed.failures[0].fichier, "absent.mp3");
        QVERIFY(!QFile::exists(m_folder.filePath("a.mp3")));
        QFile inTrash(m_home.filePath("Trash/files/a.mp3"));
        QVERIFY(inTrash.open(QIODevice::ReadOnly));
        QCOMPARE(inTrash.readAll(), "a.mp3");
        QVERIFY(QFile::exists(m_home.filePath("Trash/info/a.mp3.trashinfo")));

        QCOMPARE(files::deleteFilesForGood(m_folder.path(), {"b.mp3"}).done, 1);
        QVERIFY(!QFile::exists(m_folder.filePath("b.mp3")));
        QCOMPARE(QDir(m_home.filePath("Trash/files")).entryList(QDir::Files), QStringList{"a.mp3"});
    }
};

QTEST_GUILESS_MAIN(TestTrash)
#include "tst_trash.moc"
