#include "base/fileaccess.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>

namespace base {

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

bool mayWrite(const struct stat &info, const QByteArray &path)
{
    if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return false;
    return access(path.constData(), W_OK) == 0;
}

bool readAt(int fd, char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t got = pread(fd, data, size_t(size), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = EIO; // the file ended early: it shrank meanwhile
            return false;
        }
        data += got;
        size -= got;
        offset += got;
    }
    return true;
}

bool writeAt(int fd, const char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t done = pwrite(fd, data, size_t(size), off_t(offset));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            if (done == 0)
                errno = ENOSPC;
            return false;
        }
        data += done;
        size -= done;
        offset += done;
    }
    return true;
}

Fd::~Fd()
{
    close();
}

bool Fd::close()
{
    if (m_fd < 0)
        return true;
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

QString systemError(int error)
{
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return QStringLiteral("un fichier de ce nom existe déjà");
    case ENOENT:
        return QStringLiteral("fichier introuvable");
    case EACCES:
    case EPERM:
        return QStringLiteral("accès refusé");
    case EROFS:
        return QStringLiteral("support en lecture seule");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("plus de place sur le disque");
    case EISDIR:
        return QStringLiteral("c'est un dossier");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("fichier en cours d'utilisation");
    case EXDEV:
        return QStringLiteral("autre système de fichiers");
    case EIO:
        return QStringLiteral("erreur de lecture ou d'écriture");
    case EFBIG:
        return QStringLiteral("fichier trop grand");
    case ENOTDIR:
        return QStringLiteral("un élément du chemin n'est pas un dossier");
    case ENAMETOOLONG:
        return QStringLiteral("nom trop long");
    case EINVAL:
        return QStringLiteral("nom ou opération refusés par le système de fichiers");
    case ELOOP:
        return QStringLiteral("trop de liens symboliques");
    default:
        return QStringLiteral("erreur système %1").arg(error);
    }
}

QString shownPath(const QString &fichier)
{
    const QFileInfo info(fichier);
    return info.isRelative() ? info.absoluteFilePath() : fichier;
}

} // namespace base
