#include "base/safefs.h"
#include "files/fileoperations.h"

#include "mpegstream.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using base::joinPath;

namespace {

void put(const QString &path, const QByteArray &content)
{
    QVERIFY2(mpegstream::writeFile(path, content), qPrintable(path));
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

QString failures(const files::OperationReport &report)
{
    QStringList out;
    for (const files::FileFailure &f : report.failures)
        out.append(f.fichier + ": " + f.raison);
    return out.join(u'|');
}

} // namespace

class TestFileOperations : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_source;
    QString m_target;
    QStringList m_mounts;

    // A tmpfs of its own, so that a move crosses file systems; empty when not root.
    QString mountTmpfs(const char *options)
    {
        const QString path = m_root->filePath("tmpfs" + QString::number(m_mounts.size()));
        if (::geteuid() != 0 || !QDir().mkpath(path) ||
            ::mount("tmpfs", QFile::encodeName(path), "tmpfs", 0, options) != 0)
            return {};
        m_mounts.append(path);
        return path;
    }

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        m_source = m_root->filePath("source");
        m_target = m_root->filePath("cible");
        QVERIFY(QDir().mkpath(m_source) && QDir().mkpath(m_target));
        put(joinPath(m_source, "a.mp3"), "a");
        put(joinPath(m_source, "b.mp3"), "b");
    }

    void cleanup()
    {
        for (const QString &path : std::as_const(m_mounts))
            ::umount2(QFile::encodeName(path), MNT_DETACH);
        m_mounts.clear();
    }

    // Each failing file is named with its reason and the others are still handled. Copying onto
    // the same folder, replacing a target and moving without replacing are checked through the
    // window's commands.
    void failuresAreNamed()
    {
        // A read-only file is refused even when the administrator copies.
        const QString readOnly = joinPath(m_target, "a.mp3");
        put(readOnly, "ancien");
        QVERIFY(QFile::setPermissions(readOnly,
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        files::OperationReport report =
            files::copyFiles(m_source, {"x.mp3", "../source/b.mp3", "a.mp3", "b.mp3"}, m_target);
        QCOMPARE(failures(report),
                 "x.mp3: fichier introuvable|../source/b.mp3: nom de fichier interdit|"
                 "a.mp3: fichier en lecture seule dans le dossier de destination");
        QCOMPARE(state(m_target), "a.mp3=ancien|b.mp3=b");
        struct stat kept;
        QVERIFY(::stat(QFile::encodeName(readOnly).constData(), &kept) == 0);
        QCOMPARE(kept.st_mode & 0777, 0444u);
        report = files::deleteFiles(m_source + "/", {"a.mp3", "x.mp3"});
        QCOMPARE(failures(report), "x.mp3: fichier introuvable");
        QCOMPARE(state(m_source), "b.mp3=b");
    }

    void otherFileSystems()
    {
        const QString other = mountTmpfs("size=64k");
        if (other.isEmpty())
            QSKIP("needs root to mount a tmpfs");
        put(joinPath(other, "a.mp3"), "ancien");
        put(joinPath(m_source, "big"), QByteArray(256 * 1024, 'x'));
        // A move never replaces; a copy that does not fit is removed and its source stays.
        files::OperationReport report =
            files::moveFiles(m_source, {"a.mp3", "big", "b.mp3"}, other);
        QCOMPARE(failures(report),
                 "a.mp3: un fichier de ce nom existe déjà|big: plus de place sur le disque");
        QCOMPARE(state(m_source), "a.mp3=a|big=262144 octets");
        QCOMPARE(state(other), "a.mp3=ancien|b.mp3=b");
        QVERIFY(::mount(nullptr, QFile::encodeName(other), nullptr, MS_REMOUNT | MS_RDONLY,
                        nullptr) == 0);
        report = files::copyFiles(m_source, {"a.mp3"}, other);
        QCOMPARE(failures(report), "a.mp3: support en lecture seule");
        QCOMPARE(state(other), "a.mp3=ancien|b.mp3=b");
    }

    void copyThroughSymbolicLink()
    {
        // A link in the target folder is written through; one that leads back to the original is
        // the original itself.
        const QString elsewhere = m_root->filePath("ailleurs.mp3");
        put(elsewhere, "ancien");
        QVERIFY(QFile::link(elsewhere, joinPath(m_target, "a.mp3")));
        QVERIFY(QFile::link(joinPath(m_source, "b.mp3"), joinPath(m_target, "b.mp3")));
        const files::OperationReport report =
            files::copyFiles(m_source, {"a.mp3", "b.mp3"}, m_target);
        QCOMPARE(report.done, 1);
        QCOMPARE(report.skipped, 1);
        QVERIFY(QFileInfo(joinPath(m_target, "a.mp3")).isSymLink());
        QCOMPARE(contentOf(elsewhere), QByteArray("a"));
        QCOMPARE(state(m_source), QStringLiteral("a.mp3=a|b.mp3=b"));
    }
};

QTEST_GUILESS_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
