#include "tags/saferewrite.h"

#include "tags/fileaccess.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tags {

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

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : path.left(slash);
}

QByteArray temporaryName(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + ".tarvex-" +
           QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

} // namespace

QString rewriteFile(const QString &fichier, const QByteArray &head, qint64 keepFrom,
                    const QList<Patch> &patches)
{
    const auto failure = [&](int error) {
        return QStringLiteral("Écriture impossible de « %1 » : %2")
            .arg(fichier, systemError(error));
    };

    // Work on the file a symbolic link points to, so that the link stays a link.
    char resolved[PATH_MAX];
    if (!realpath(nativePath(fichier).constData(), resolved))
        return failure(errno);
    const QByteArray target(resolved);

    const Fd source(open(target.constData(), O_RDONLY | O_CLOEXEC));
    struct stat info;
    if (source.get() < 0 || fstat(source.get(), &info) != 0)
        return failure(errno);
    if (!S_ISREG(info.st_mode))
        return failure(EISDIR);
    if (!mayWrite(info, target))
        return QStringLiteral("Écriture impossible de « %1 » : le fichier est en lecture seule")
            .arg(fichier);
    if (keepFrom < 0 || keepFrom > info.st_size)
        return failure(EINVAL);

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
    const auto abandon = [&](int error) {
        temporary.close();
        if (!namedTemporary.isEmpty())
            unlink(namedTemporary.constData());
        return failure(error);
    };

    if (fchmod(temporary.get(), info.st_mode & 07777) != 0)
        return abandon(errno);
    if (geteuid() == 0 && fchown(temporary.get(), info.st_uid, info.st_gid) != 0)
        return abandon(errno);
    const qint64 tail = info.st_size - keepFrom;
    if (!writeAt(temporary.get(), head.constData(), head.size(), 0) ||
        !copyRange(source.get(), keepFrom, temporary.get(), head.size(), tail))
        return abandon(errno);
    for (const Patch &patch : patches) {
        if (!writeAt(temporary.get(), patch.bytes.constData(), patch.bytes.size(), patch.offset))
            return abandon(errno);
    }
    if (fsync(temporary.get()) != 0)
        return abandon(errno);

    if (namedTemporary.isEmpty()) {
        // Give the finished file a name beside the target, then put it in the target's place.
        const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(temporary.get());
        for (int attempt = 0; namedTemporary.isEmpty(); ++attempt) {
            const QByteArray name = temporaryName(target);
            if (linkat(AT_FDCWD, procPath.constData(), AT_FDCWD, name.constData(),
                       AT_SYMLINK_FOLLOW) == 0)
                namedTemporary = name;
            else if (errno != EEXIST || attempt > 10)
                return abandon(errno);
        }
    }
    if (!temporary.close())
        return abandon(errno);
    if (rename(namedTemporary.constData(), target.constData()) != 0)
        return abandon(errno);
    // The new name must reach the disk too.
    const Fd directory(open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        fsync(directory.get());
    return {};
}

} // namespace tags
