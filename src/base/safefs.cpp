#include "base/safefs.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace base {

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

bool isAcceptableName(QStringView name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(u'\0'));
}

bool isAcceptableRelative(QStringView path)
{
    for (const QStringView part : path.tokenize(u'/', Qt::KeepEmptyParts))
        if (!isAcceptableName(part))
            return false;
    return true;
}

QStringView lastPart(QStringView path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

namespace {

bool sameInode(const QByteArray &a, const QByteArray &b)
{
    struct stat sa, sb;
    return ::lstat(a.constData(), &sa) == 0 && ::lstat(b.constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// For file systems that do not know RENAME_NOREPLACE: a hard link refuses an existing name
// atomically; where hard links are missing too (FAT, some network shares) the name is checked
// first, which leaves only a short race.
int renameWithoutFlag(const QByteArray &from, const QByteArray &to)
{
    if (::link(from.constData(), to.constData()) == 0) {
        if (::unlink(from.constData()) == 0)
            return 0;
        const int error = errno;
        ::unlink(to.constData());
        return error;
    }
    if (errno == EEXIST)
        return EEXIST;
    struct stat st;
    if (::lstat(to.constData(), &st) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

} // namespace

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : path.left(slash);
}

int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    const int error = errno;
    if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP)
        return renameWithoutFlag(from, to);
    return error;
}

int renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (f == t) {
        struct stat st;
        return ::lstat(f.constData(), &st) == 0 ? 0 : errno;
    }
    const int error = renameNoReplace(f, t);
    // On a case-insensitive file system "a.mp3" -> "A.mp3" meets the file itself.
    if (error == EEXIST && from.compare(to, Qt::CaseInsensitive) == 0 && sameInode(f, t))
        return ::rename(f.constData(), t.constData()) == 0 ? 0 : errno;
    return error;
}

namespace {

// Appends to `names` the matching files of the open folder `dir`, each behind `prefix`, and to
// `subfolders` the names of the folders in it that are not hidden.
void readFolder(DIR *dir, const QString &prefix, const QByteArray &wildcard, QStringList *names,
                std::vector<QByteArray> *subfolders)
{
    const int fd = dirfd(dir);
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (subfolders && (entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN)) {
            struct stat folder;
            if (entry->d_type == DT_DIR ||
                (fstatat(fd, entry->d_name, &folder, AT_SYMLINK_NOFOLLOW) == 0 &&
                 S_ISDIR(folder.st_mode))) {
                subfolders->emplace_back(entry->d_name);
                continue;
            }
        }
        if (fnmatch(wildcard.constData(), entry->d_name, FNM_CASEFOLD) != 0)
            continue;
        if (entry->d_type != DT_REG) {
            struct stat target;
            if ((entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) ||
                fstatat(fd, entry->d_name, &target, 0) != 0 || !S_ISREG(target.st_mode))
                continue;
        }
        names->append(prefix + QFile::decodeName(entry->d_name));
    }
}

// Sorted by name ignoring case: lower-case keys made once are compared as plain texts, the
// exact names only to order names that differ by case alone.
QStringList sortedIgnoringCase(const QStringList &names)
{
    std::vector<QString> keys;
    keys.reserve(size_t(names.size()));
    for (const QString &name : names)
        keys.push_back(name.toLower());
    std::vector<qsizetype> order(size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = keys[size_t(a)].compare(keys[size_t(b)]);
        return byKey != 0 ? byKey < 0 : names[a].compare(names[b]) < 0;
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (qsizetype i : order)
        sorted.append(names[i]);
    return sorted;
}

} // namespace

QStringList listFiles(const QString &folder, const QString &pattern)
{
    QStringList names;
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    readFolder(dir, QString(), QFile::encodeName(pattern), &names, nullptr);
    closedir(dir);
    return sortedIgnoringCase(names);
}

QStringList listFilesBelow(const QString &folder, const QString &pattern, QStringList *folders,
                           const std::function<bool(qsizetype files, qsizetype folders)> &goOn)
{
    QStringList names;
    qsizetype read = 0;
    const QByteArray wildcard = QFile::encodeName(pattern);
    // Folders still to read, relative to `folder`; each is opened only when read, so that a
    // folder of thousands of folders holds no descriptor for each.
    std::vector<QString> pending = {QString()};
    while (!pending.empty()) {
        const QString relative = std::move(pending.back());
        pending.pop_back();
        if (goOn && !goOn(names.size(), read)) {
            if (folders)
                folders->clear();
            return {};
        }
        const QString path = relative.isEmpty() ? folder : joinPath(folder, relative);
        // A folder below is not entered through a link.
        const int fd =
            open(QFile::encodeName(path).constData(),
                 O_RDONLY | O_DIRECTORY | O_CLOEXEC | (relative.isEmpty() ? 0 : O_NOFOLLOW));
        DIR *dir = fd < 0 ? nullptr : fdopendir(fd);
        if (!dir) {
            if (fd >= 0)
                close(fd);
            continue;
        }
        ++read;
        if (folders)
            folders->append(path);
        std::vector<QByteArray> subfolders;
        const QString prefix = relative.isEmpty() ? QString() : relative + u'/';
        readFolder(dir, prefix, wildcard, &names, &subfolders);
        closedir(dir);
        for (const QByteArray &sub : subfolders)
            pending.push_back(prefix + QFile::decodeName(sub));
    }
    return sortedIgnoringCase(names);
}

} // namespace base
