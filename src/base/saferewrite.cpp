#include "base/saferewrite.h"

#include "base/fileaccess.h"
#include "base/safefs.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace base {

namespace {

// Copies length bytes from `in` at inOffset to `out` at outOffset: in the kernel when it can,
// through a bounded buffer otherwise.
bool copyRange(int in, qint64 inOffset, int out, qint64 outOffset, qint64 length)
{
    loff_t inPos = inOffset, outPos = outOffset;
    qint64 left = length;
    while (left > 0) {
        const ssize_t done =
            copy_file_range(in, &inPos, out, &outPos, size_t(std::min<qint64>(left, 1 << 30)), 0);
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0 &&
            (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
            break; // not offered here: copy by hand below
        if (done < 0)
            return false;
        if (done == 0) {
            errno = EIO; // the source ended early
            return false;
        }
        left -= done;
    }
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    while (left > 0) {
        const qint64 chunk = std::min<qint64>(left, buffer.size());
        if (!readAt(in, buffer.data(), chunk, inPos) ||
            !writeAt(out, buffer.constData(), chunk, outPos))
            return false;
        inPos += chunk;
        outPos += chunk;
        left -= chunk;
    }
    return true;
}

// ".NAME.tarvex-": the start of the name of every temporary file of a save of NAME.
QByteArray temporaryPrefix(const QByteArray &target)
{
    return '.' + target.mid(target.lastIndexOf('/') + 1) + ".tarvex-";
}

QByteArray temporaryName(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + temporaryPrefix(target) +
           QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// Removes the named temporary files that a save killed between naming its new file and the
// rename left behind.
void removeLeftovers(const QByteArray &target)
{
    const QByteArray folder = folderOf(target), prefix = temporaryPrefix(target);
    DIR *dir = opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (name.startsWith(prefix))
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

// Copies every extended attribute (POSIX ACLs are stored as such) of one file to another.
bool copyAttributes(int from, int to)
{
    const ssize_t size = flistxattr(from, nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP;
    QByteArray names(qsizetype(size), '\0');
    const ssize_t got = flistxattr(from, names.data(), size_t(names.size()));
    if (got < 0)
        return false;
    for (qsizetype at = 0; at < got;) {
        const char *name = names.constData() + at;
        at += qsizetype(strlen(name)) + 1;
        const ssize_t length = fgetxattr(from, name, nullptr, 0);
        if (length < 0)
            return false;
        QByteArray value(qsizetype(length), '\0');
        const ssize_t read = fgetxattr(from, name, value.data(), size_t(value.size()));
        if (read < 0 || fsetxattr(to, name, value.constData(), size_t(read), 0) != 0)
            return false;
    }
    return true;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

bool unchangedSince(int fd, const struct stat &before)
{
    struct stat now;
    return fstat(fd, &now) == 0 && sameFile(now, before) && now.st_size == before.st_size &&
           now.st_mtim.tv_sec == before.st_mtim.tv_sec &&
           now.st_mtim.tv_nsec == before.st_mtim.tv_nsec;
}

QString changedMeanwhile(const QString &fichier)
{
    return QCoreApplication::translate(
               "base", "« %1 » a été modifié par un autre programme pendant l'enregistrement : "
                       "il garde ce que ce programme a écrit, rien n'a été enregistré")
        .arg(shownPath(fichier));
}

QString rewriteFile(const QString &fichier, int fd, const struct stat &before,
                    const Rewrite &rewrite)
{
    const QString shown = shownPath(fichier);
    const auto failure = [&](int error) {
        return QCoreApplication::translate("base", "Écriture impossible de « %1 » : %2")
            .arg(shown, systemError(error));
    };
    if (before.st_nlink > 1)
        return QCoreApplication::translate(
                   "base", "« %1 » a d'autres liens physiques (%2 noms) : il faudrait le "
                           "réécrire, ce qui le séparerait d'eux ; rien n'a été écrit")
            .arg(shown)
            .arg(before.st_nlink);

    // Work on the file a symbolic link points to, so that the link stays a link.
    char resolved[PATH_MAX];
    if (!realpath(nativePath(fichier).constData(), resolved))
        return failure(errno);
    const QByteArray target(resolved);
    struct stat named;
    if (stat(target.constData(), &named) != 0 || !sameFile(named, before))
        return changedMeanwhile(fichier);
    if (rewrite.keepFrom < 0 || rewrite.keepFrom > rewrite.keepTo ||
        rewrite.keepTo > before.st_size)
        return failure(EINVAL);
    removeLeftovers(target);

    // An unnamed temporary file disappears by itself if the process dies before the end.
    const QByteArray folder = folderOf(target);
    QByteArray namedTemporary;
    Fd temporary(open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (temporary.get() < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        namedTemporary = temporaryName(target);
        temporary =
            Fd(open(namedTemporary.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600));
    }
    if (temporary.get() < 0)
        return failure(errno);
    const auto abandon = [&](const QString &why) {
        temporary.close();
        if (!namedTemporary.isEmpty())
            unlink(namedTemporary.constData());
        return why;
    };

    struct stat created;
    if (fstat(temporary.get(), &created) != 0)
        return abandon(failure(errno));
    if ((created.st_uid != before.st_uid || created.st_gid != before.st_gid) &&
        fchown(temporary.get(), before.st_uid, before.st_gid) != 0)
        return abandon(QCoreApplication::translate(
                           "base", "« %1 » appartient à un autre utilisateur ou groupe : le "
                                   "réécrire lui ferait changer de propriétaire ; rien n'a été "
                                   "écrit")
                           .arg(shown));
    if (fchmod(temporary.get(), before.st_mode & 07777) != 0)
        return abandon(failure(errno));
    if (!copyAttributes(fd, temporary.get()))
        return abandon(QCoreApplication::translate(
                           "base", "Les attributs étendus de « %1 » ne peuvent pas être gardés "
                                   "(%2) : rien n'a été écrit")
                           .arg(shown, systemError(errno)));
    const qint64 kept = rewrite.keepTo - rewrite.keepFrom;
    if (!writeAt(temporary.get(), rewrite.head.constData(), rewrite.head.size(), 0) ||
        !copyRange(fd, rewrite.keepFrom, temporary.get(), rewrite.head.size(), kept) ||
        !writeAt(temporary.get(), rewrite.trailer.constData(), rewrite.trailer.size(),
                 rewrite.head.size() + kept))
        return abandon(failure(errno));
    if (fsync(temporary.get()) != 0)
        return abandon(failure(errno));

    if (namedTemporary.isEmpty()) {
        // Give the finished file a name beside the target, then put it in the target's place.
        const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(temporary.get());
        for (int attempt = 0; namedTemporary.isEmpty(); ++attempt) {
            const QByteArray name = temporaryName(target);
            if (linkat(AT_FDCWD, procPath.constData(), AT_FDCWD, name.constData(),
                       AT_SYMLINK_FOLLOW) == 0)
                namedTemporary = name;
            else if (errno != EEXIST || attempt > 10)
                return abandon(failure(errno));
        }
    }
    if (!temporary.close())
        return abandon(failure(errno));
    // Another program may have written to the file while it was copied: its work wins.
    if (!unchangedSince(fd, before) || stat(target.constData(), &named) != 0 ||
        !sameFile(named, before))
        return abandon(changedMeanwhile(fichier));
    if (rename(namedTemporary.constData(), target.constData()) != 0)
        return abandon(failure(errno));
    // The new name must reach the disk too.
    const Fd directory(open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        fsync(directory.get());
    return {};
}

} // namespace base
