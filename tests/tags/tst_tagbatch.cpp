// Saving a few fields into many files: only those fields change (mutagen reads every other frame
// back as it was), failures are listed, progress is told, a cancelled batch writes nothing.
#include "tags/tagbatch.h"

#include "tagtestutil.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace tagtest;

namespace {

QByteArray richtag(const QStringList &args)
{
    QProcess p;
    p.start("/usr/bin/python3", QStringList{QFINDTESTDATA("richtag.py")} + args);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? p.readAllStandardOutput() : "";
}

} // namespace

class TestTagBatch : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QStringList m_files;

private slots:
    void init()
    {
        m_files.clear();
        for (int i = 0; i < 4; ++i) {
            m_files.append(m_dir.filePath(QString("f%1.mp3").arg(i)));
            QFile::remove(m_files.last());
            QVERIFY(writeAll(m_files.last(), mpegFrames(8)));
            QVERIFY(richtag({"write", m_files.last(), "4"}).isEmpty());
        }
    }

    void onlyTheEditedFields()
    {
        const QByteArray before = richtag({"dump", m_files[0]});
        QVERIFY(!before.isEmpty());
        QVERIFY(writeAll(m_dir.filePath("pas-mp3.mp3"), QByteArray(3000, 'x')));
        QList<qsizetype> progress;
        tags::BatchControl control;
        control.progress = [&](qsizetype done, qsizetype total) {
            QCOMPARE(total, 5);
            progress.append(done);
        };
        tags::FieldEdit edit;
        edit.titre = "Nouveau titre";
        edit.genre = tags::v2Genre("Jazz");
        const tags::BatchReport report =
            tags::saveBatch(m_files + QStringList{m_dir.filePath("pas-mp3.mp3")}, edit, control);
        QCOMPARE(progress, (QList<qsizetype>{1, 2, 3, 4, 5}));
        QCOMPARE(report.saved, 4);
        QCOMPARE(report.failures.size(), 1);
        QCOMPARE(report.failures[0].fichier, m_dir.filePath("pas-mp3.mp3"));
        QVERIFY(report.failures[0].raison.contains("n'est pas un fichier MP3"));

        QJsonObject expected = QJsonDocument::fromJson(before).object();
        expected["TIT2"] = "Nouveau titre";
        expected["TCON"] = "Jazz";
        for (const QString &file : m_files)
            QCOMPARE(QJsonDocument::fromJson(richtag({"dump", file})).object(), expected);
    }

    void cancelledBatchTouchesNothing()
    {
        std::atomic_bool cancel = true;
        tags::BatchControl control;
        control.cancel = &cancel;
        QList<QByteArray> before;
        for (const QString &file : m_files)
            before.append(readAll(file));
        tags::FieldEdit edit;
        edit.artiste = "Autre";
        const tags::BatchReport report = tags::saveBatch(m_files, edit, control);
        QVERIFY(report.cancelled);
        QCOMPARE(report.failures.size(), m_files.size());
        for (const tags::BatchFailure &failure : report.failures) {
            QCOMPARE(failure.raison, tags::cancelledText());
            QCOMPARE(readAll(failure.fichier), before[m_files.indexOf(failure.fichier)]);
        }
    }
};

QTEST_GUILESS_MAIN(TestTagBatch)
#include "tst_tagbatch.moc"
