#include "files/fileoperations.h"
#include "rename/renamebatch.h"
#include "rename/safefs.h"

#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

using renaming::joinPath;

namespace {

void put(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(content) == content.size(),
             qPrintable(path));
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
}

// "name=content" of each file of the folder, by name, joined with "|".
QString state(const QString &folder)
{
    QStringList out;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QByteArray content = contentOf(joinPath(folder, name));
        out.append(
            name + "=" +
            (content.size() > 99 ? QByteArray::number(content.size()) + " octets" : content));
    }
    return out.join(u'|');
}

} // namespace

class TestFileOperations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void transfer_data();
    void transfer();
    void largeFileKeepsModeAndTime();
    void copyThroughSymbolicLink();
    void deleteFiles();
    void contentsSurviveRandomBatches();

private:
    // A tmpfs of its own, so that a move crosses file systems; empty when not root.
    QString mountTmpfs(const char *options);
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_source;
    QString m_target;
    QStringList m_mounts;
};

QString TestFileOperations::mountTmpfs(const char *options)
{
    const QString path = m_root->filePath("tmpfs" + QString::number(m_mounts.size()));
    if (::geteuid() != 0 || !QDir().mkpath(path) ||
        ::mount("tmpfs", QFile::encodeName(path), "tmpfs", 0, options) != 0)
        return {};
    m_mounts.append(path);
    return path;
}

void TestFileOperations::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    m_source = m_root->filePath("source");
    m_target = m_root->filePath("cible");
    QVERIFY(QDir().mkpath(m_source) && QDir().mkpath(m_target));
    put(joinPath(m_source, "a.mp3"), "a");
    put(joinPath(m_source, "b.mp3"), "b");
}

void TestFileOperations::cleanup()
{
    for (const QString &path : std::as_const(m_mounts))
        ::umount2(QFile::encodeName(path), MNT_DETACH);
    m_mounts.clear();
}

void TestFileOperations::transfer_data()
{
    QTest::addColumn<bool>("move");
    QTest::addColumn<QString>("target"); // "cible", "source", or a tmpfs: "tmpfs", "ro", "64k"
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("sourceAfter");
    QTest::addColumn<QString>("targetAfter"); // a file "a.mp3=ancien" is there before
    QTest::addColumn<QString>("failures");
    QTest::addColumn<int>("skipped");

    const QStringList ab = {"a.mp3", "b.mp3"};
    const QString untouched = QStringLiteral("a.mp3=a|b.mp3=b");
    const QString exists = QStringLiteral("a.mp3: un fichier de ce nom existe déjà");
    QTest::newRow("copy onto itself")
        << false << "source" << ab << untouched << untouched << "" << 2;
    QTest::newRow("copy replaces a target")
        << false << "cible" << QStringList{"x.mp3", "a.mp3"} << untouched << "a.mp3=a"
        << "x.mp3: fichier introuvable" << 0;
    QTest::newRow("copy, a name leaving the folder")
        << false << "cible" << QStringList{"../source/b.mp3"} << untouched << "a.mp3=ancien"
        << "../source/b.mp3: nom de fichier interdit" << 0;
    QTest::newRow("copy to a read-only file system")
        << false << "ro" << ab << untouched << "a.mp3=ancien"
        << "a.mp3: support en lecture seule|b.mp3: support en lecture seule" << 0;
    QTest::newRow("move never replaces") << true << "cible" << ab << "a.mp3=a"
                                         << "a.mp3=ancien|b.mp3=b" << exists << 0;
    QTest::newRow("move across file systems never replaces")
        << true << "tmpfs" << QStringList{"a.mp3", "b.mp3", "x.mp3"} << "a.mp3=a"
        << "a.mp3=ancien|b.mp3=b" << exists + "|x.mp3: fichier introuvable" << 0;
    QTest::newRow("move into its own folder")
        << true << "source" << ab << untouched << untouched << "" << 0;
    // The copy does not fit: it is removed and the source stays.
    QTest::newRow("move to a full disk")
        << true << "64k" << QStringList{"big", "b.mp3"} << "a.mp3=a|big=262144 octets"
        << "a.mp3=ancien|b.mp3=b"
        << "big: plus de place sur le disque" << 0;
}

void TestFileOperations::transfer()
{
    QFETCH(bool, move);
    QFETCH(QString, target);
    QFETCH(QStringList, names);
    QFETCH(QString, sourceAfter);
    QFETCH(QString, targetAfter);
    QFETCH(QString, failures);
    QFETCH(int, skipped);
    const QString kind = target;
    if (kind == "source") {
        target = m_source + "/";
    } else {
        target = kind == "cible" ? m_target : mountTmpfs(kind == "64k" ? "size=64k" : "size=1m");
        if (target.isEmpty())
            QSKIP("needs root to mount a tmpfs for a move across file systems");
        put(joinPath(target, "a.mp3"), "ancien");
    }
    if (kind == "ro")
        QVERIFY(::mount(nullptr, QFile::encodeName(target), nullptr, MS_REMOUNT | MS_RDONLY,
                        nullptr) == 0);
    if (names.contains("big"))
        put(joinPath(m_source, "big"), QByteArray(256 * 1024, 'x'));

    const files::OperationReport report = move ? files::moveFiles(m_source, names, target)
                                               : files::copyFiles(m_source, names, target);

    QCOMPARE(state(m_source), sourceAfter);
    QCOMPARE(state(target), targetAfter);
    QStringList reasons;
    for (const files::FileFailure &f : report.failures)
        reasons.append(f.fichier + ": " + f.raison);
    QCOMPARE(reasons.join(u'|'), failures);
    QCOMPARE(report.skipped, skipped);
}

// Through a temporary file for a copy, through a copy for a move to another file system: the
// content, permission bits and modification time arrive, and no temporary file is left.
void TestFileOperations::largeFileKeepsModeAndTime()
{
    QByteArray content(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < content.size(); ++i)
        content[i] = char(i * 7 + i / 1000);
    const QString big = joinPath(m_source, "grand.wav");
    put(big, content);
    const QDateTime old = QDateTime::fromString("2001-02-03T04:05:06", Qt::ISODate);
    QFile file(big);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFile::FileModificationTime));
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    file.close();
    const QFile::Permissions mode = QFileInfo(big).permissions();
    const auto arrived = [&](const QString &target) {
        const QFileInfo info(joinPath(target, "grand.wav"));
        return info.permissions() == mode && info.lastModified() == old &&
               contentOf(info.filePath()) == content &&
               QDir(target).entryList(QDir::Files | QDir::Hidden).size() == 1;
    };
    QStringList targets = {m_target};
    if (const QString other = mountTmpfs("size=8m"); !other.isEmpty())
        targets.append(other);
    for (const QString &target : targets) {
        QCOMPARE(files::copyFiles(m_source, {"grand.wav"}, target).done, 1);
        QVERIFY(arrived(target));
        QVERIFY(QFile::remove(joinPath(target, "grand.wav")));
        QCOMPARE(files::moveFiles(m_source, {"grand.wav"}, target).done, 1);
        QVERIFY(!QFile::exists(big) && arrived(target));
        QVERIFY(QFile::rename(joinPath(target, "grand.wav"), big));
    }
}

void TestFileOperations::copyThroughSymbolicLink()
{
    // A link in the target folder is written through; one that leads back to the original is
    // the original itself.
    const QString elsewhere = m_root->filePath("ailleurs.mp3");
    put(elsewhere, "ancien");
    QVERIFY(QFile::link(elsewhere, joinPath(m_target, "a.mp3")));
    QVERIFY(QFile::link(joinPath(m_source, "b.mp3"), joinPath(m_target, "b.mp3")));
    const files::OperationReport report = files::copyFiles(m_source, {"a.mp3", "b.mp3"}, m_target);
    QCOMPARE(report.done, 1);
    QCOMPARE(report.skipped, 1);
    QVERIFY(QFileInfo(joinPath(m_target, "a.mp3")).isSymLink());
    QCOMPARE(contentOf(elsewhere), QByteArray("a"));
    QCOMPARE(state(m_source), QStringLiteral("a.mp3=a|b.mp3=b"));
}

void TestFileOperations::deleteFiles()
{
    const files::OperationReport report = files::deleteFiles(m_source + "/", {"a.mp3", "x.mp3"});
    QCOMPARE(report.done, 1);
    QCOMPARE(state(m_source), QStringLiteral("b.mp3=b"));
    QCOMPARE(files::failureMessage(files::Command::Suppression, report),
             QStringLiteral("Ces fichiers n'ont pas pu être supprimés :\n"
                            "« x.mp3 » : fichier introuvable"));
    QVERIFY(files::failureMessage(files::Command::Copie, {}).isEmpty());
}

// Random batches of renames (with clashing and repeated names) and moves between three folders,
// one on another file system when possible: no content is ever lost or duplicated.
void TestFileOperations::contentsSurviveRandomBatches()
{
    QString other = mountTmpfs("size=1m");
    if (other.isEmpty())
        QVERIFY(QDir().mkpath(other = m_root->filePath("autre")));
    const QStringList folders = {m_source, m_target, other};
    const QStringList pool = {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3", "f.mp3"};
    put(joinPath(m_target, "c.mp3"), "c");
    put(joinPath(m_target, "d.mp3"), "d");
    put(joinPath(other, "a.mp3"), "autre a");
    auto contents = [&] {
        QList<QByteArray> all;
        for (const QString &folder : folders)
            for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                all.append(contentOf(joinPath(folder, name)));
        std::sort(all.begin(), all.end());
        return all;
    };
    const QList<QByteArray> before = contents();
    QCOMPARE(before.size(), 5);

    QRandomGenerator random(20261206);
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
