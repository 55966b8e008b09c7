#include "base/fileaccess.h"

#include <QCoreApplication>
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
        return QCoreApplication::translate("base", "un fichier de ce nom existe déjà");
    case ENOENT:
        return QCoreApplication::translate("base", "fichier introuvable");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("base", "accès refusé");
    case EROFS:
        return QCoreApplication::translate("base", "support en lecture seule");
    case ENOSPC:
    case EDQUOT:
        return QCoreApplication::translate("base", "plus de place sur le disque");
    case EISDIR:
        return QCoreApplication::translate("base", "c'est un dossier");
    case EBUSY:
    case ETXTBSY:
        return QCoreApplication::translate("base", "fichier en cours d'utilisation");
    case EXDEV:
        return QCoreApplication::translate("base", "autre système de fichiers");
    case EIO:
        return QCoreApplication::translate("base", "erreur de lecture ou d'écriture");
    case EFBIG:
        return QCoreApplication::translate("base", "fichier trop grand");
    case ENOTDIR:
        return QCoreApplication::translate("base", "un élément du chemin n'est pas un dossier");
    case ENAMETOOLONG:
        return QCoreApplication::translate("base", "nom trop long");
    case EINVAL:
        return QCoreApplication::translate("base",
                                           "nom ou opération refusés par le système de fichiers");
    case ELOOP:
        return QCoreApplication::translate("base", "trop de liens symboliques");
    default:
        return QCoreApplication::translate("base", "erreur système %1").arg(error);
    }
}

QString shownPath(const QString &fichier)
{
    const QFileInfo info(fichier);
    return info.isRelative() ? info.absoluteFilePath() : fichier;
}

} // namespace base
