#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"
#include "tags/zelltagctrl.h"

#include "../tags/tagtestutil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/mount.h>
#include <unistd.h>

using namespace tagtest;

namespace {

tags::TypeTagV2 record(const QString &titre)
{
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(255);
    t.setTitre(titre);
    return t;
}

// Names in a folder, hidden ones included: a left-over temporary file would show here.
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A small tmpfs mounted for the test; unmounted at the end. Needs root.
class SmallFileSystem
{
public:
    SmallFileSystem(const QString &where, const QByteArray &options) : m_where(where)
    {
        m_mounted = geteuid() == 0 && mount("tmpfs", QFile::encodeName(where).constData(), "tmpfs",
                                            0, options.constData()) == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            umount2(QFile::encodeName(m_where).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly()
    {
        return mount("tmpfs", QFile::encodeName(m_where).constData(), "tmpfs",
                     MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QString m_where;
    bool m_mounted = false;
};

} // namespace

class TestSaveSafety : public QObject
{
    Q_OBJECT
private slots:
    void readOnlyFile();
    void readOnlyFolder();
    void fullFileSystem();
    void killedMidSave();
};

void TestSaveSafety::readOnlyFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray content = tag(3, frame(3, "TIT2", QByteArray("\0vieux", 6))) + mpegFrames(4);
    QVERIFY(writeAll(path, content));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const tags::Result<bool> written = tags::writeTagV2(path, record("neuf"));
    QVERIFY(!written.ok());
    QVERIFY2(written.error().contains(QStringLiteral("lecture seule")),
             qPrintable(written.error()));
    QCOMPARE(readAll(path), content);
    QCOMPARE(namesIn(dir.path()), QStringList{"a.mp3"});
}

void TestSaveSafety::readOnlyFolder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("dossier");
    QVERIFY(QDir().mkpath(folder));
    SmallFileSystem fs(folder, "size=4m");
    const QString path = folder + "/a.mp3";
    const QByteArray content = mpegFrames(6);
    QVERIFY(writeAll(path, content));
    if (fs.mounted()) {
        QVERIFY(fs.makeReadOnly());
    } else {
        // Not root: the folder's permission bits are enough.
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    const tags::Result<bool> written = tags::writeTagV2(path, record("neuf"));
    QVERIFY(!written.ok());
    QVERIFY(!written.error().isEmpty());
    QCOMPARE(readAll(path), content);
    QCOMPARE(namesIn(folder), QStringList{"a.mp3"});
    if (!fs.mounted())
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestSaveSafety::fullFileSystem()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("petit");
    QVERIFY(QDir().mkpath(folder));
    SmallFileSystem fs(folder, "size=1m");
    if (!fs.mounted())
        QSKIP(
            "monter un petit tmpfs demande les droits root : système de fichiers plein non testé");
    // 700 KB of audio in a 1 MB file system: the rewritten copy cannot fit beside it.
    const QString path = folder + "/a.mp3";
    const QByteArray content =
        tag(3, frame(3, "TIT2", QByteArray("\0vieux", 6))) + mpegFrames(1700);
    QVERIFY(writeAll(path, content));
    const tags::Result<bool> written = tags::writeTagV2(path, record("neuf"));
    QVERIFY(!written.ok());
    QVERIFY2(written.error().contains(QStringLiteral("place")), qPrintable(written.error()));
    QCOMPARE(readAll(path), content);
    QCOMPARE(namesIn(folder), QStringList{"a.mp3"});
    // Once room is made (the file is smaller), the same save works.
    const QByteArray smaller = mpegFrames(200);
    QVERIFY(writeAll(path, smaller));
    QVERIFY(*tags::writeTagV2(path, record("neuf")));
    QCOMPARE(tags::readTagV2(path)->Titre(), QStringLiteral("neuf"));
}

void TestSaveSafety::killedMidSave()
{
    const QString cli = qEnvironmentVariable("TARVEX_CLI");
    QVERIFY2(QFile::exists(cli), "TARVEX_CLI ne désigne pas tarvex-cli");
    QTemporaryDir dir;
    const QString path = dir.filePath("long.mp3");
    // About 80 MB: long enough to copy and flush that a kill lands in the middle.
    const QByteArray original =
        tag(3, frame(3, "TIT2", QByteArray("\0vieux", 6))) + mpegFrames(2000).repeated(100);
    QVERIFY(writeAll(path, original));
    const QStringList args{"set", "--v2", "--titre=neuf", path};

    // The content a finished save gives.
    const QString reference = dir.filePath("reference.mp3");
    QVERIFY(QFile::copy(path, reference));
    QProcess finished;
    finished.start(cli, {"set", "--v2", "--titre=neuf", reference});
    QVERIFY(finished.waitForFinished(120000));
    QCOMPARE(finished.exitCode(), 0);
    const QByteArray saved = readAll(reference);
    QVERIFY(QFile::remove(reference));
    QVERIFY(saved != original);

    int interrupted = 0;
    for (int delay : {5, 20, 50, 100, 200, 400, 800}) {
        QVERIFY(writeAll(path, original));
        QProcess process;
        process.start(cli, args);
        QVERIFY(process.waitForStarted());
        QTest::qWait(delay);
        const bool running = process.state() == QProcess::Running;
        if (running) {
            kill(pid_t(process.processId()), SIGKILL);
            ++interrupted;
        }
        process.waitForFinished(120000);
        const QByteArray now = readAll(path);
        QVERIFY2(now == original || now == saved,
                 qPrintable(QStringLiteral("contenu abîmé après un arrêt à %1 ms").arg(delay)));
        QCOMPARE(namesIn(dir.path()), QStringList{"long.mp3"});
    }
    QVERIFY2(interrupted > 0, "aucune sauvegarde n'a pu être interrompue");
}

QTEST_GUILESS_MAIN(TestSaveSafety)
#include "tst_savesafety.moc"
