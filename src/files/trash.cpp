#include "files/trash.h"

#include "base/fileaccess.h"
#include "base/safefs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

using base::Fd;
using base::joinPath;
using base::systemError;

namespace {

// Creates the missing folders of path, each with mode 0700. 0 or the errno value.
int makeFolders(const QByteArray &path)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;
    const QByteArray parent = base::folderOf(path);
    if (parent != path) {
        if (const int error = makeFolders(parent))
            return error;
    }
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return errno;
    return 0;
}

// The device of path, or of its nearest existing parent when it does not exist yet.
dev_t deviceOf(QByteArray path)
{
    struct stat st;
    while (::stat(path.constData(), &st) != 0) {
        const QByteArray parent = base::folderOf(path);
        if (parent == path)
            return 0;
        path = parent;
    }
    return st.st_dev;
}

// The top folder of the mount that holds folder (a canonical path) on device.
QByteArray mountTop(QByteArray folder, dev_t device)
{
    while (folder != "/") {
        const QByteArray parent = base::folderOf(folder);
        struct stat st;
        if (::stat(parent.constData(), &st) != 0 || st.st_dev != device)
            break;
        folder = parent;
    }
    return folder;
}

// "$topdir/.Trash-$uid", made when missing; it must be the user's own folder, not a link.
int topTrash(const QByteArray &top, QByteArray *trash)
{
    *trash = (top == "/" ? QByteArray() : top) + "/.Trash-" + QByteArray::number(::getuid());
    if (::mkdir(trash->constData(), 0700) != 0 && errno != EEXIST)
        return errno;
    struct stat st;
    if (::lstat(trash->constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return EPERM;
    return 0;
}

// The name the trash gives to the n-th file called name: "a.mp3", "a.2.mp3", "a.3.mp3" ...
// shortened so that its ".trashinfo" stays within the system's limit on a name.
QByteArray trashName(const QString &name, int n)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    const QString number = n > 1 ? QStringLiteral(".%1").arg(n) : QString();
    QByteArray native;
    for (;;) {
        native = QFile::encodeName(stem + number + extension);
        if (native.size() + qsizetype(sizeof(".trashinfo")) - 1 <= NAME_MAX || stem.size() <= 1)
            return native;
        stem.chop(1);
        if (!stem.isEmpty() && stem.back().isHighSurrogate())
            stem.chop(1);
    }
}

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

} // namespace

QString homeTrash()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        dataHome = joinPath(QDir::homePath(), QStringLiteral(".local/share"));
    return joinPath(QDir::cleanPath(dataHome), QStringLiteral("Trash"));
}

QByteArray trashInfo(const QByteArray &path, const QDateTime &deleted)
{
    return "[Trash Info]\nPath=" + path.toPercentEncoding("/") +
           "\nDeletionDate=" + deleted.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
           "\n";
}

std::optional<TrashedFile> moveToTrash(const QString &path, QString *error)
{
    const QFileInfo info(path);
    const QByteArray native = QFile::encodeName(info.absoluteFilePath());
    struct stat file;
    if (::lstat(native.constData(), &file) != 0) {
        *error = systemError(errno);
        return std::nullopt;
    }
    // The file's folder without links, so that the mount found is the file's own.
    const QString canonicalFolder = info.absoluteDir().canonicalPath();
    if (canonicalFolder.isEmpty()) {
        *error = systemError(ENOENT);
        return std::nullopt;
    }
    const QByteArray folder = QFile::encodeName(canonicalFolder);
    const QByteArray fullPath = QFile::encodeName(joinPath(canonicalFolder, info.fileName()));

    QByteArray trash = QFile::encodeName(homeTrash());
    QByteArray infoPath = fullPath; // the home trash records absolute paths
    if (deviceOf(trash) != file.st_dev) {
        const QByteArray top = mountTop(folder, file.st_dev);
        if (const int failure = topTrash(top, &trash)) {
            *error =
                QCoreApplication::translate(
                    "files", "ce disque n'a pas de corbeille utilisable (« %1 » : %2) ; le fichier "
                             "n'a pas été supprimé")
                    .arg(QFile::decodeName(trash), systemError(failure));
            return std::nullopt;
        }
        // A trash at the top of a mount records paths from that top: the disk may be mounted
        // elsewhere later.
        infoPath = fullPath.mid(top == "/" ? 1 : top.size() + 1);
    }
    const QByteArray files = trash + "/files", infos = trash + "/info";
    for (const QByteArray &made : {files, infos}) {
        if (const int failure = makeFolders(made)) {
            *error = QCoreApplication::translate(
                         "files",
                         "impossible de créer la corbeille « %1 » (%2) ; le fichier n'a pas été "
                         "supprimé")
                         .arg(QFile::decodeName(trash), systemError(failure));
            return std::nullopt;
        }
    }

    // The ".trashinfo" is created first, exclusively: it reserves the name in the trash.
    const QByteArray text = trashInfo(infoPath, QDateTime::currentDateTime());
    for (int n = 1; n < 10000; ++n) {
        const QByteArray name = trashName(info.fileName(), n);
        const QByteArray infoFile = infos + '/' + name + ".trashinfo";
        const QByteArray target = files + '/' + name;
        Fd fd(::open(infoFile.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (fd.get() < 0) {
            if (errno == EEXIST)
                continue;
            *error = systemError(errno);
            return std::nullopt;
        }
        struct stat taken;
        if (::lstat(target.constData(), &taken) == 0) {
            ::unlink(infoFile.constData());
            continue;
        }
        const bool written = writeAll(fd.get(), text) && ::fsync(fd.get()) == 0 && fd.close();
        const int moved = written ? base::renameNoReplace(native, target) : (errno ? errno : EIO);
        if (moved != 0) {
            ::unlink(infoFile.constData());
            *error = systemError(moved);
            return std::nullopt;
        }
        // Only a file found in the trash counts as deleted.
        struct stat there;
        if (::lstat(target.constData(), &there) != 0 || there.st_dev != file.st_dev ||
            there.st_ino != file.st_ino) {
            *error = QCoreApplication::translate(
                         "files", "le fichier n'a pas été retrouvé dans la corbeille « %1 »")
                         .arg(QFile::decodeName(trash));
            return std::nullopt;
        }
        return TrashedFile{info.absoluteFilePath(), QFile::decodeName(target),
                           QFile::decodeName(infoFile)};
    }
    *error = systemError(EEXIST);
    return std::nullopt;
}

QString restoreFromTrash(const TrashedFile &file)
{
    if (const int failure = base::renameNoReplace(file.trashed, file.original))
        return failure == ENOENT && QFileInfo::exists(file.trashed)
                   ? QCoreApplication::translate("files", "son dossier n'existe plus")
                   : systemError(failure);
    ::unlink(QFile::encodeName(file.info).constData());
    return {};
}

} // namespace files
