// A save that cannot finish leaves the original byte for byte and no temporary file behind.
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"

#include "../tags/tagtestutil.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <csignal>
#include <sys/mount.h>
#include <unistd.h>

using namespace tagtest;

namespace {

// Names in a folder, hidden ones included: a left-over temporary file would show here.
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class TestSaveSafety : public QObject
{
    Q_OBJECT
private slots:
    void refused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason"); // part of the error given
        QTest::newRow("read-only file") << "fichier" << "lecture seule";
        QTest::newRow("read-only folder") << "dossier" << "";
        QTest::newRow("full file system") << "plein" << "place";
    }

    void refused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString folder = dir.filePath("d"), path = folder + "/a.mp3";
        const QByteArray where = QFile::encodeName(folder);
        QVERIFY(QDir().mkpath(folder));
        // As root a small tmpfs is mounted there; otherwise the folder's permission bits serve.
        const bool tmpfs = geteuid() == 0 && kind != "fichier";
        if (kind == "plein" && !tmpfs)
            QSKIP("monter un petit tmpfs demande les droits root : système de fichiers plein non testé");
        QVERIFY(!tmpfs || mount("tmpfs", where.constData(), "tmpfs", 0, "size=1m") == 0);
        const auto cleanup = qScopeGuard([&] {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            if (tmpfs)
                umount2(where.constData(), MNT_DETACH);
        });
        // 700 KB of audio in a 1 MB file system: the rewritten copy cannot fit beside it.
        const QByteArray content = tag(3, frame(3, "TIT2", latin("vieux"))) + mpegFrames(1700);
        QVERIFY(writeAll(path, content));
        if (kind == "fichier")
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        else if (kind == "dossier" && tmpfs)
            QVERIFY(mount("tmpfs", where.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        else if (kind == "dossier")
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        tags::TypeTagV2 t;
        t.setValide(true);
        t.setTitre("neuf");
        const tags::Result<bool> written = tags::writeTagV2(path, t);
        QVERIFY2(!written.ok() && written.error().contains(reason), qPrintable(written.error()));
        QCOMPARE(readAll(path), content);
        QCOMPARE(namesIn(folder), QStringList{"a.mp3"});
    }

    void killedMidSave()
    {
        const QString cli = qEnvironmentVariable("TARVEX_CLI");
        QVERIFY2(QFile::exists(cli), "TARVEX_CLI ne désigne pas tarvex-cli");
        QTemporaryDir dir;
        const QString path = dir.filePath("long.mp3"), reference = dir.filePath("fini.mp3");
        // About 80 MB: long enough to copy and flush that a kill lands in the middle.
        const QByteArray original = tag(3, frame(3, "TIT2", latin("vieux"))) + mpegFrames(2000).repeated(100);
        QVERIFY(writeAll(path, original) && QFile::copy(path, reference));
        // The content a finished save gives.
        QCOMPARE(QProcess::execute(cli, {"set", "--v2", "--titre=neuf", reference}), 0);
        const QByteArray saved = readAll(reference);
        QVERIFY(QFile::remove(reference) && saved != original);
        int interrupted = 0;
        for (int delay : {5, 20, 50, 100, 200, 400, 800}) {
            QVERIFY(writeAll(path, original));
            QProcess process;
            process.start(cli, {"set", "--v2", "--titre=neuf", path});
            QVERIFY(process.waitForStarted());
            QTest::qWait(delay);
            if (process.state() == QProcess::Running) {
                kill(pid_t(process.processId()), SIGKILL);
                ++interrupted;
            }
            process.waitForFinished(120000);
            const QByteArray now = readAll(path);
            QVERIFY2(now == original || now == saved, qPrintable(QString("contenu abîmé après un arrêt à %1 ms").arg(delay)));
            QCOMPARE(namesIn(dir.path()), QStringList{"long.mp3"});
        }
        QVERIFY2(interrupted > 0, "aucune sauvegarde n'a pu être interrompue");
    }
};

QTEST_GUILESS_MAIN(TestSaveSafety)
#include "tst_savesafety.moc"
