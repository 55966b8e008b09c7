#include "cd/outputfile.h"

#include "base/fileaccess.h"
#include "base/safefs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cd {

namespace {

// A temporary file left this long without a write belongs to no running job.
constexpr time_t staleSeconds = 6 * 3600;

// ".tarvex-<pid>-<random>": the owner's process id tells whether the job may still be running.
QByteArray temporaryName(const QByteArray &folder)
{
    return folder + "/.tarvex-" + QByteArray::number(::getpid()) + '-' +
           QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

bool isStale(const QByteArrayView name, const struct stat &info)
{
    // The names of temporary outputs (with their owner's process id, or without it as older
    // versions made them) and of copies between folders (".tarvex-" and six letters or digits).
    static const QRegularExpression temporary(
        QStringLiteral("^\\.tarvex-(?:(\\d+)-)?[0-9A-Za-z]+$"));
    const QRegularExpressionMatch match = temporary.match(QString::fromLatin1(name));
    if (!match.hasMatch() || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    if (::time(nullptr) - info.st_mtime > staleSeconds)
        return true;
    const qint64 pid = match.captured(1).toLongLong();
    return pid > 0 && pid != ::getpid() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// Removes the hidden temporary files that Tarvex programs killed in the middle of a job left in
// folder: those whose program is gone, or that nothing has written to for hours.
void removeStaleTemporaries(const QByteArray &folder)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        struct stat info;
        if (QByteArrayView(entry->d_name).startsWith(".tarvex-") &&
            ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            isStale(entry->d_name, info))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

bool outputExists(const QString &path)
{
    struct stat info;
    return ::lstat(base::nativePath(path).constData(), &info) == 0;
}

QString displayPath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

OutputFile::~OutputFile()
{
    m_fd.close();
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

bool OutputFile::fail(int error)
{
    m_error = error;
    m_fd.close();
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    return false;
}

bool OutputFile::open(const QString &path, Overwrite overwrite)
{
    m_path = path;
    m_step = Step::Create;
    m_target = base::nativePath(path);
    struct stat info;
    mode_t mode = 0666;
    if (::lstat(m_target.constData(), &info) == 0) {
        if (overwrite == Overwrite::Refuse)
            return fail(EEXIST);
        m_replace = true;
        if (::stat(m_target.constData(), &info) == 0) {
            if (S_ISDIR(info.st_mode))
                return fail(EISDIR);
            if (!S_ISREG(info.st_mode)) {
                m_fd = base::Fd(::open(m_target.constData(), O_WRONLY | O_CLOEXEC));
                return m_fd.get() >= 0 || fail(errno);
            }
            char resolved[PATH_MAX];
            if (::realpath(m_target.constData(), resolved))
                m_target = resolved;
            // A file the user marked read-only stays, as cp leaves it.
            if (!base::mayWrite(info, m_target)) {
                m_readOnly = true;
                return fail(EACCES);
            }
            mode = info.st_mode & 07777;
        }
    }
    // A short hidden name: one built from the target's could pass the length limit of names.
    const QByteArray folder = base::folderOf(m_target);
    removeStaleTemporaries(folder);
    // A name the folder cannot hold is refused now, not after the whole track was read.
    const long nameMax = ::pathconf(folder.constData(), _PC_NAME_MAX);
    if (nameMax > 0 && m_target.size() - m_target.lastIndexOf('/') - 1 > nameMax)
        return fail(ENAMETOOLONG);
    for (int attempt = 0; m_fd.get() < 0; ++attempt) {
        m_temporary = temporaryName(folder);
        m_fd = base::Fd(
            ::open(m_temporary.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
        if (m_fd.get() < 0 && (errno != EEXIST || attempt == 10)) {
            m_temporary.clear();
            return fail(errno);
        }
    }
    // A replaced file keeps its permissions.
    if (m_replace && ::fchmod(m_fd.get(), mode) != 0)
        return fail(errno);
    return true;
}

bool OutputFile::write(const char *data, qint64 size)
{
    m_step = Step::Write;
    while (size > 0) {
        const ssize_t done = ::write(m_fd.get(), data, size_t(size));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return fail(done == 0 ? ENOSPC : errno);
        data += done;
        size -= done;
        m_written += done;
    }
    // The disk starts writing a long file while the rest is produced, so that the sync of
    // commit() waits only for the last few megabytes.
    constexpr qint64 flushStep = 8 << 20;
    if (!m_temporary.isEmpty() && m_written - m_flushed >= flushStep) {
        ::sync_file_range(m_fd.get(), m_flushed, m_written - m_flushed, SYNC_FILE_RANGE_WRITE);
        m_flushed = m_written;
    }
    return true;
}

bool OutputFile::writeAt(qint64 offset, const QByteArray &data)
{
    m_step = Step::Write;
    errno = 0;
    if (::pwrite(m_fd.get(), data.constData(), size_t(data.size()), off_t(offset)) != data.size())
        return fail(errno ? errno : ENOSPC);
    return true;
}

bool OutputFile::commit(const BeforeNaming &beforeNaming)
{
    m_step = Step::Write;
    // A delayed write failure (a full disk, a network share) shows at the latest here.
    if (!m_temporary.isEmpty() && ::fsync(m_fd.get()) != 0)
        return fail(errno);
    if (!m_fd.close())
        return fail(errno);
    if (beforeNaming) {
        m_failure = beforeNaming(QFile::decodeName(m_temporary.isEmpty() ? m_target : m_temporary));
        if (!m_failure.isEmpty())
            return fail(0);
    }
    if (m_temporary.isEmpty())
        return true;
    m_step = Step::Name;
    const int error =
        m_replace ? (::rename(m_temporary.constData(), m_target.constData()) == 0 ? 0 : errno)
                  : base::renameNoReplace(m_temporary, m_target);
    if (error != 0)
        return fail(error);
    m_temporary.clear();
    return true;
}

QString OutputFile::errorMessage() const
{
    if (!m_failure.isEmpty())
        return m_failure;
    const QString name = displayPath(m_path);
    if (m_error == EEXIST)
        return QCoreApplication::translate("cd", "Le fichier « %1 » existe déjà.").arg(name);
    if (m_readOnly)
        return QCoreApplication::translate(
                   "cd", "Impossible de remplacer le fichier « %1 » : il est en lecture seule.")
            .arg(name);
    if (m_step == Step::Create && m_error == ENOENT)
        return QCoreApplication::translate(
                   "cd", "Impossible de créer le fichier « %1 » : le dossier « %2 » n'existe pas.")
            .arg(name, QFileInfo(name).path());
    const QString text =
        m_step == Step::Write
            ? QCoreApplication::translate("cd", "Impossible d'écrire le fichier « %1 » : %2")
            : QCoreApplication::translate("cd", "Impossible de créer le fichier « %1 » : %2");
    return text.arg(name, base::systemError(m_error));
}

} // namespace cd
