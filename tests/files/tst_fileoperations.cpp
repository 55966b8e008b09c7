#include "files/fileoperations.h"
#include "rename/renamebatch.h"
#include "rename/safefs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

using files::Command;
using files::OperationReport;
using renaming::joinPath;

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(content), content.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<absent>";
    return file.readAll();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QStringList failedNames(const OperationReport &report)
{
    QStringList names;
    for (const files::FileFailure &f : report.failures)
        names.append(f.fichier);
    return names;
}

// A small tmpfs mounted for the life of the object, so that a move crosses file systems.
// Mounting needs root; without it the object is invalid and the test skips.
class Tmpfs
{
public:
    explicit Tmpfs(const char *options = "size=8m")
    {
        if (::geteuid() == 0 && m_dir.isValid())
            m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                                0, options) == 0;
    }
    ~Tmpfs()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool isValid() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

#define REQUIRE_TMPFS(fs)                                                                          \
    if (!(fs).isValid())                                                                           \
        QSKIP("needs root to mount a tmpfs for a move across file systems");

} // namespace

class TestFileOperations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void copy_data();
    void copy();
    void copyKeepsModeAndTime();
    void copyLargeFile();
    void copyThroughSymbolicLink();
    void copyIntoReadOnlyFileSystem();
    void move_data();
    void move();
    void moveAcrossFileSystems();
    void moveAcrossFileSystemsRefusesExisting();
    void moveAcrossFileSystemsWhenFull();
    void deleteFiles();
    void messages();
    void contentsSurviveRandomBatches();

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_source;
    QString m_target;
};

void TestFileOperations::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_source = m_root->filePath("source");
    m_target = m_root->filePath("cible");
    QVERIFY(QDir().mkpath(m_source));
    QVERIFY(QDir().mkpath(m_target));
    writeFile(joinPath(m_source, "a.mp3"), "contenu a");
    writeFile(joinPath(m_source, "b.mp3"), "contenu b");
}

void TestFileOperations::copy_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("intoSource"); // target folder = source folder
    QTest::addColumn<QStringList>("targetBefore"); // "name=content"
    QTest::addColumn<QStringList>("targetAfter");
    QTest::addColumn<QStringList>("failed");
    QTest::addColumn<int>("skipped");

    QTest::newRow("new files") << QStringList{"a.mp3", "b.mp3"} << false << QStringList{}
                               << QStringList{"a.mp3=contenu a", "b.mp3=contenu b"} << QStringList{} << 0;
    QTest::newRow("existing target replaced") << QStringList{"a.mp3"} << false << QStringList{"a.mp3=ancien", "c.mp3=c"}
                                              << QStringList{"a.mp3=contenu a", "c.mp3=c"} << QStringList{} << 0;
    QTest::newRow("onto itself") << QStringList{"a.mp3", "b.mp3"} << true << QStringList{}
                                 << QStringList{"a.mp3=contenu a", "b.mp3=contenu b"} << QStringList{} << 2;
    QTest::newRow("missing file, others copied") << QStringList{"x.mp3", "b.mp3"} << false << QStringList{}
                                                 << QStringList{"b.mp3=contenu b"} << QStringList{"x.mp3"} << 0;
    QTest::newRow("folder of that name in the target") << QStringList{"a.mp3", "b.mp3"} << false
                                                       << QStringList{"a.mp3/"} << QStringList{"b.mp3=contenu b"}
                                                       << QStringList{"a.mp3"} << 0;
    QTest::newRow("name leaving the folder") << QStringList{"../source/a.mp3"} << false << QStringList{}
                                             << QStringList{} << QStringList{"../source/a.mp3"} << 0;
}

void TestFileOperations::copy()
{
    QFETCH(QStringList, names);
    QFETCH(bool, intoSource);
    QFETCH(QStringList, targetBefore);
    QFETCH(QStringList, targetAfter);
    QFETCH(QStringList, failed);
    QFETCH(int, skipped);
    const QString target = intoSource ? m_source + "/" : m_target;
    for (const QString &entry : targetBefore) {
        if (entry.endsWith('/'))
            QVERIFY(QDir(target).mkdir(entry.chopped(1)));
        else
            writeFile(joinPath(target, entry.section('=', 0, 0)), entry.section('=', 1).toUtf8());
    }

    const OperationReport report = files::copyFiles(m_source, names, target);

    QStringList after;
    for (const QString &name : entries(target))
        after.append(name + "=" + QString::fromUtf8(readFile(joinPath(target, name))));
    QCOMPARE(after, targetAfter);
    QCOMPARE(failedNames(report), failed);
    QCOMPARE(report.skipped, skipped);
    QCOMPARE(readFile(joinPath(m_source, "a.mp3")), QByteArray("contenu a"));
    QCOMPARE(readFile(joinPath(m_source, "b.mp3")), QByteArray("contenu b"));
}

void TestFileOperations::copyKeepsModeAndTime()
{
    const QString a = joinPath(m_source, "a.mp3");
    QVERIFY(QFile::setPermissions(a, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QDateTime old = QDateTime::fromString("2001-02-03T04:05:06", Qt::ISODate);
    {
        QFile file(a);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    QCOMPARE(files::copyFiles(m_source, {"a.mp3"}, m_target).done, 1);
    const QFileInfo copy(joinPath(m_target, "a.mp3"));
    QCOMPARE(copy.permissions() & 0x0777, QFileInfo(a).permissions() & 0x0777);
    QCOMPARE(copy.lastModified(), old);
}

void TestFileOperations::copyLargeFile()
{
    QByteArray content(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < content.size(); ++i)
        content[i] = char(i * 7 + i / 1000);
    writeFile(joinPath(m_source, "grand.wav"), content);
    QCOMPARE(files::copyFiles(m_source, {"grand.wav"}, m_target).done, 1);
    QVERIFY(readFile(joinPath(m_target, "grand.wav")) == content);
    QCOMPARE(entries(m_target), QStringList{"grand.wav"}); // no temporary file left
}

void TestFileOperations::copyThroughSymbolicLink()
{
    const QString elsewhere = m_root->filePath("ailleurs.mp3");
    writeFile(elsewhere, "ancien");
    QVERIFY(QFile::link(elsewhere, joinPath(m_target, "a.mp3")));
    QCOMPARE(files::copyFiles(m_source, {"a.mp3"}, m_target).done, 1);
    QVERIFY(QFileInfo(joinPath(m_target, "a.mp3")).isSymLink());
    QCOMPARE(readFile(elsewhere), QByteArray("contenu a"));

    // A link in the target folder that leads back to the original is the original itself.
    QVERIFY(QFile::link(joinPath(m_source, "b.mp3"), joinPath(m_target, "b.mp3")));
    QCOMPARE(files::copyFiles(m_source, {"b.mp3"}, m_target).skipped, 1);
    QCOMPARE(readFile(joinPath(m_source, "b.mp3")), QByteArray("contenu b"));
}

void TestFileOperations::copyIntoReadOnlyFileSystem()
{
    Tmpfs readOnly("size=1m");
    REQUIRE_TMPFS(readOnly);
    QVERIFY(::mount(nullptr, QFile::encodeName(readOnly.path()).constData(), nullptr,
                    MS_REMOUNT | MS_RDONLY, nullptr) == 0);
    const OperationReport report = files::copyFiles(m_source, {"a.mp3", "b.mp3"}, readOnly.path());
    QCOMPARE(failedNames(report), (QStringList{"a.mp3", "b.mp3"}));
    QCOMPARE(report.failures[0].raison, QStringLiteral("support en lecture seule"));
}

void TestFileOperations::move_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("intoSource");
    QTest::addColumn<QStringList>("targetBefore");
    QTest::addColumn<QStringList>("sourceAfter");
    QTest::addColumn<QStringList>("targetAfter");
    QTest::addColumn<QStringList>("failed");

    QTest::newRow("both moved") << QStringList{"a.mp3", "b.mp3"} << false << QStringList{}
                                << QStringList{} << QStringList{"a.mp3=contenu a", "b.mp3=contenu b"} << QStringList{};
    QTest::newRow("existing target never replaced") << QStringList{"a.mp3", "b.mp3"} << false << QStringList{"a.mp3=ancien"}
                                                    << QStringList{"a.mp3=contenu a"}
                                                    << QStringList{"a.mp3=ancien", "b.mp3=contenu b"} << QStringList{"a.mp3"};
    QTest::newRow("into its own folder") << QStringList{"a.mp3"} << true << QStringList{}
                                         << QStringList{"a.mp3=contenu a", "b.mp3=contenu b"}
                                         << QStringList{"a.mp3=contenu a", "b.mp3=contenu b"} << QStringList{};
    QTest::newRow("missing file, others moved") << QStringList{"x.mp3", "a.mp3"} << false << QStringList{}
                                                << QStringList{"b.mp3=contenu b"} << QStringList{"a.mp3=contenu a"}
                                                << QStringList{"x.mp3"};
}

void TestFileOperations::move()
{
    QFETCH(QStringList, names);
    QFETCH(bool, intoSource);
    QFETCH(QStringList, targetBefore);
    QFETCH(QStringList, sourceAfter);
    QFETCH(QStringList, targetAfter);
    QFETCH(QStringList, failed);
    const QString target = intoSource ? m_source : m_target;
    for (const QString &entry : targetBefore)
        writeFile(joinPath(target, entry.section('=', 0, 0)), entry.section('=', 1).toUtf8());

    const OperationReport report = files::moveFiles(m_source, names, target);

    auto state = [](const QString &folder) {
        QStringList s;
        for (const QString &name : entries(folder))
            s.append(name + "=" + QString::fromUtf8(readFile(joinPath(folder, name))));
        return s;
    };
    QCOMPARE(state(m_source), sourceAfter);
    QCOMPARE(state(target), targetAfter);
    QCOMPARE(failedNames(report), failed);
}

void TestFileOperations::moveAcrossFileSystems()
{
    Tmpfs other;
    REQUIRE_TMPFS(other);
    const QString a = joinPath(m_source, "a.mp3");
    const QDateTime old = QDateTime::fromString("2001-02-03T04:05:06", Qt::ISODate);
    {
        QFile file(a);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const OperationReport report = files::moveFiles(m_source, {"a.mp3", "b.mp3"}, other.path());
    QCOMPARE(report.done, 2);
    QVERIFY(report.failures.isEmpty());
    QCOMPARE(entries(m_source), QStringList{});
    QCOMPARE(entries(other.path()), (QStringList{"a.mp3", "b.mp3"}));
    QCOMPARE(readFile(joinPath(other.path(), "a.mp3")), QByteArray("contenu a"));
    QCOMPARE(QFileInfo(joinPath(other.path(), "a.mp3")).lastModified(), old);
}

void TestFileOperations::moveAcrossFileSystemsRefusesExisting()
{
    Tmpfs other;
    REQUIRE_TMPFS(other);
    writeFile(joinPath(other.path(), "a.mp3"), "ancien");
    const OperationReport report = files::moveFiles(m_source, {"a.mp3", "b.mp3"}, other.path());
    QCOMPARE(failedNames(report), QStringList{"a.mp3"});
    QCOMPARE(readFile(joinPath(other.path(), "a.mp3")), QByteArray("ancien"));
    QCOMPARE(readFile(joinPath(m_source, "a.mp3")), QByteArray("contenu a"));
    QCOMPARE(entries(other.path()), (QStringList{"a.mp3", "b.mp3"}));
}

void TestFileOperations::moveAcrossFileSystemsWhenFull()
{
    Tmpfs small("size=64k");
    REQUIRE_TMPFS(small);
    const QByteArray big(256 * 1024, 'x');
    writeFile(joinPath(m_source, "grand.wav"), big);
    const OperationReport report = files::moveFiles(m_source, {"grand.wav", "a.mp3"}, small.path());
    QCOMPARE(failedNames(report), QStringList{"grand.wav"});
    QCOMPARE(report.failures[0].raison, QStringLiteral("plus de place sur le disque"));
    QVERIFY(readFile(joinPath(m_source, "grand.wav")) == big);
    QCOMPARE(entries(small.path()), QStringList{"a.mp3"}); // no partial copy left behind
}

void TestFileOperations::deleteFiles()
{
    writeFile(joinPath(m_source, "c.mp3"), "c");
    const OperationReport report = files::deleteFiles(m_source + "/", {"a.mp3", "x.mp3", "c.mp3"});
    QCOMPARE(report.done, 2);
    QCOMPARE(failedNames(report), QStringList{"x.mp3"});
    QCOMPARE(report.failures[0].raison, QStringLiteral("fichier introuvable"));
    QCOMPARE(entries(m_source), QStringList{"b.mp3"});
}

void TestFileOperations::messages()
{
    OperationReport report;
    QVERIFY(files::failureMessage(Command::Copie, report).isEmpty());
    report.failures = {{"a.mp3", "fichier introuvable"}, {"b.mp3", "accès refusé"}};
    QCOMPARE(files::failureMessage(Command::Deplacement, report),
             QStringLiteral("Ces fichiers n'ont pas pu être déplacés :\n"
                            "« a.mp3 » : fichier introuvable\n« b.mp3 » : accès refusé"));
    QVERIFY(files::failureMessage(Command::Suppression, report).startsWith("Ces fichiers n'ont pas pu être supprimés :\n"));
    QVERIFY(files::failureMessage(Command::Copie, report).startsWith("Ces fichiers n'ont pas pu être copiés :\n"));
}

// Random batches of renames (with clashing and repeated names) and moves between three folders,
// one on another file system when possible: no content is ever lost or duplicated.
void TestFileOperations::contentsSurviveRandomBatches()
{
    Tmpfs other;
    const QStringList folders = {m_source, m_target, other.isValid() ? other.path() : m_root->filePath("autre")};
    QVERIFY(QDir().mkpath(folders[2]));
    const QStringList pool = {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3", "f.mp3"};
    QRandomGenerator random(20261206);
    for (const char *name : {"c.mp3", "d.mp3"})
        writeFile(joinPath(m_target, name), name);
    writeFile(joinPath(folders[2], "a.mp3"), "autre a");

    auto contents = [&] {
        QList<QByteArray> all;
        for (const QString &folder : folders)
            for (const QString &name : entries(folder))
                all.append(readFile(joinPath(folder, name)));
        std::sort(all.begin(), all.end());
        return all;
    };
    const QList<QByteArray> before = contents();
    QCOMPARE(before.size(), 5);

    for (int batch = 0; batch < 200; ++batch) {
        const QString folder = folders[random.bounded(3)];
        if (random.bounded(2) == 0) {
            QList<renaming::RenameRow> rows;
            for (int i = random.bounded(1, 5); i > 0; --i)
                rows.append({pool[random.bounded(pool.size())], pool[random.bounded(pool.size())]});
            renaming::renameFiles(folder, rows);
        } else {
            QStringList names;
            for (int i = random.bounded(1, 4); i > 0; --i)
                names.append(pool[random.bounded(pool.size())]);
            files::moveFiles(folder, names, folders[random.bounded(3)]);
        }
        QCOMPARE(contents(), before);
    }
}

QTEST_GUILESS_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
