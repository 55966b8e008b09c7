#include "files/fileoperations.h"

#include "base/fileaccess.h"
#include "base/safefs.h"
#include "files/trash.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

using base::Fd;
using base::joinPath;
using base::renameNoReplace;
using base::systemError;

QString failureMessage(Command command, const OperationReport &report)
{
    if (report.failures.isEmpty())
        return {};
    QString text;
    switch (command) {
    case Command::Copie:
        text = QCoreApplication::translate("files", "Ces fichiers n'ont pas pu être copiés :");
        break;
    case Command::Deplacement:
        text = QCoreApplication::translate("files", "Ces fichiers n'ont pas pu être déplacés :");
        break;
    case Command::Suppression:
        text = QCoreApplication::translate("files", "Ces fichiers n'ont pas pu être supprimés :");
        break;
    }
    for (const FileFailure &f : report.failures)
        text += QCoreApplication::translate("files", "\n« %1 » : %2").arg(f.fichier, f.raison);
    return text;
}

namespace {

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

// Writes a full copy of from into a new hidden temporary file of folder, flushed to disk,
// with the given mode and from's modification time. On success *temporary names it; on failure
// nothing is left behind and the errno value is returned.
int copyToTemporary(const QByteArray &from, const struct stat &source, const QString &folder,
                    mode_t mode, QByteArray *temporary)
{
    Fd in(::open(from.constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return errno;
    QByteArray pattern = QFile::encodeName(joinPath(folder, QStringLiteral(".tarvex-XXXXXX")));
    Fd out(::mkostemp(pattern.data(), O_CLOEXEC));
    if (out.get() < 0)
        return errno;
    auto fail = [&](int error) {
        ::unlink(pattern.constData());
        return error;
    };

    static constexpr size_t chunk = 1 << 20;
    QByteArray buffer(chunk, Qt::Uninitialized);
    off_t copied = 0;
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (got == 0)
            break;
        for (ssize_t written = 0; written < got;) {
            const ssize_t n =
                ::write(out.get(), buffer.constData() + written, size_t(got - written));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return fail(errno);
            }
            written += n;
        }
        copied += got;
    }
    // The copy must hold exactly what the original held.
    struct stat written;
    if (::fstat(out.get(), &written) != 0)
        return fail(errno);
    if (copied != source.st_size || written.st_size != source.st_size)
        return fail(EIO);
    ::fchmod(out.get(), mode & 07777);
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    ::futimens(out.get(), times);
    if (::fsync(out.get()) != 0)
        return fail(errno);
    if (!out.close())
        return fail(errno);
    *temporary = pattern;
    return 0;
}

// Reads the original's properties; only regular files are copied or moved.
int statSource(const QByteArray &path, struct stat *st)
{
    if (::stat(path.constData(), st) != 0)
        return errno;
    if (S_ISDIR(st->st_mode))
        return EISDIR;
    if (!S_ISREG(st->st_mode))
        return EINVAL;
    return 0;
}

QString sameFileReason()
{
    return QCoreApplication::translate("files", "la destination est le fichier lui-même");
}

// The answers of one command: "Tout remplacer" holds for the files after it.
class Clashes
{
public:
    explicit Clashes(const ClashQuestion &ask) : m_ask(ask) {}

    Clash answer(const QString &existing)
    {
        if (m_all)
            return Clash::Replace;
        const Clash answer = m_ask ? m_ask(existing) : Clash::Skip;
        m_all = answer == Clash::ReplaceAll;
        return m_all ? Clash::Replace : answer;
    }

private:
    const ClashQuestion &m_ask;
    bool m_all = false;
};

bool isLink(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Settles a file that already has the name `to`: false when the file copied or moved is to be
// left alone (a refusal, the user keeping the file there, or "Annuler", each noted in the
// report); *replace tells whether there is a file to replace.
bool settleClash(const QString &name, const struct stat &source, const QString &to,
                 Clashes &clashes, OperationReport *report, bool *replace)
{
    *replace = QFileInfo::exists(to) || isLink(to);
    if (!*replace)
        return true;
    const auto refuse = [&](const QString &reason) {
        report->failures.append({name, reason});
        return false;
    };
    const QByteArray t = QFile::encodeName(to);
    struct stat existing;
    if (::stat(t.constData(), &existing) != 0)
        return refuse(systemError(errno));
    if (sameFile(source, existing))
        return refuse(sameFileReason());
    if (S_ISDIR(existing.st_mode))
        return refuse(systemError(EISDIR));
    // A file that may not be written is not replaced, as cp refuses to: not even by the
    // administrator, whom the system lets write anywhere.
    if (!(existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        return refuse(QCoreApplication::translate(
            "files", "fichier en lecture seule dans le dossier de destination"));
    if (::access(t.constData(), W_OK) != 0)
        return refuse(systemError(errno));
    switch (clashes.answer(to)) {
    case Clash::Replace:
    case Clash::ReplaceAll:
        return true;
    case Clash::Skip:
        ++report->skipped;
        return false;
    case Clash::Cancel:
        report->cancelled = true;
        return false;
    }
    return false;
}

// Puts the file that has the name `to` into the trash before another takes its name.
QString trashTarget(const QString &to, OperationReport *report)
{
    QString error;
    const std::optional<TrashedFile> trashed = moveToTrash(to, &error);
    if (!trashed)
        return QCoreApplication::translate(
                   "files", "le fichier qu'il remplacerait n'a pas pu être mis à la corbeille (%1)")
            .arg(error);
    report->steps.append({FileStep::Trashed, trashed->original, trashed->trashed, trashed->info});
    return {};
}

// Takes back the trashing of the last step after the file meant to replace it failed.
void untrashTarget(OperationReport *report)
{
    const FileStep step = report->steps.takeLast();
    restoreFromTrash({step.from, step.to, step.info});
}

// Copies from onto to, asking before an existing file is replaced.
void copyOne(const QString &name, const QString &from, QString to, Clashes &clashes,
             OperationReport *report)
{
    const auto fail = [&](const QString &reason) { report->failures.append({name, reason}); };
    const QByteArray f = QFile::encodeName(from);
    struct stat source;
    if (const int error = statSource(f, &source))
        return fail(systemError(error));
    // A target that is a symbolic link is written through: the link stays.
    const QFileInfo targetInfo(to);
    if (targetInfo.isSymLink() && !targetInfo.canonicalFilePath().isEmpty())
        to = targetInfo.canonicalFilePath();
    bool replace = false;
    if (!settleClash(name, source, to, clashes, report, &replace))
        return;
    // A replacing copy takes the permissions of the file it replaces.
    mode_t mode = source.st_mode;
    struct stat existing;
    if (replace && ::stat(QFile::encodeName(to).constData(), &existing) == 0)
        mode = existing.st_mode;
    QByteArray temporary;
    if (const int error = copyToTemporary(f, source, folderOf(to), mode, &temporary))
        return fail(systemError(error));
    if (replace) {
        if (const QString error = trashTarget(to, report); !error.isEmpty()) {
            ::unlink(temporary.constData());
            return fail(error);
        }
    }
    if (const int error = renameNoReplace(QFile::decodeName(temporary), to)) {
        ::unlink(temporary.constData());
        if (replace)
            untrashTarget(report);
        return fail(systemError(error));
    }
    report->steps.append({FileStep::Created, {}, to, {}});
    ++report->done;
}

QString moveNoReplace(const QString &from, const QString &to)
{
    const QByteArray f = QFile::encodeName(from);
    struct stat source;
    if (const int error = statSource(f, &source))
        return systemError(error);
    const int error = renameNoReplace(from, to);
    if (error != EXDEV)
        return error == 0 ? QString() : systemError(error);

    // Another file system: copy, then put the copy in place under its name without replacing
    // anything, and only then remove the original.
    QByteArray temporary;
    if (const int copyError = copyToTemporary(f, source, folderOf(to), source.st_mode, &temporary))
        return systemError(copyError);
    if (const int placeError = renameNoReplace(QFile::decodeName(temporary), to)) {
        ::unlink(temporary.constData());
        return systemError(placeError);
    }
    if (::unlink(f.constData()) != 0)
        return QCoreApplication::translate("files",
                                           "copié, mais l'original n'a pas pu être supprimé (%1)")
            .arg(systemError(errno));
    return {};
}

// Moves from to to, asking before an existing file is replaced.
void moveOne(const QString &name, const QString &from, const QString &to, Clashes &clashes,
             OperationReport *report)
{
    const auto fail = [&](const QString &reason) { report->failures.append({name, reason}); };
    struct stat source;
    if (const int error = statSource(QFile::encodeName(from), &source))
        return fail(systemError(error));
    bool replace = false;
    if (!settleClash(name, source, to, clashes, report, &replace))
        return;
    if (replace) {
        if (const QString error = trashTarget(to, report); !error.isEmpty())
            return fail(error);
    }
    if (const QString error = moveNoReplace(from, to); !error.isEmpty()) {
        if (replace)
            untrashTarget(report);
        return fail(error);
    }
    report->steps.append({FileStep::Moved, from, to, {}});
    ++report->done;
}

bool acceptableName(const QString &name, OperationReport *report)
{
    if (base::isAcceptableRelative(name))
        return true;
    report->failures.append(
        {name, QCoreApplication::translate("files", "nom de fichier interdit")});
    return false;
}

} // namespace

OperationReport copyFiles(const QString &source, const QStringList &names, const QString &target,
                          const ClashQuestion &ask)
{
    OperationReport report;
    Clashes clashes(ask);
    for (const QString &name : names) {
        if (report.cancelled)
            break;
        if (acceptableName(name, &report))
            copyOne(name, joinPath(source, name), joinPath(target, base::lastPart(name).toString()),
                    clashes, &report);
    }
    return report;
}

OperationReport moveFiles(const QString &source, const QStringList &names, const QString &target,
                          const ClashQuestion &ask)
{
    OperationReport report;
    Clashes clashes(ask);
    for (const QString &name : names) {
        if (report.cancelled)
            break;
        if (acceptableName(name, &report))
            moveOne(name, joinPath(source, name), joinPath(target, base::lastPart(name).toString()),
                    clashes, &report);
    }
    return report;
}

QString moveFile(const QString &from, const QString &to)
{
    return moveNoReplace(from, to);
}

OperationReport deleteFiles(const QString &folder, const QStringList &names)
{
    OperationReport report;
    for (const QString &name : names) {
        if (!acceptableName(name, &report))
            continue;
        QString error;
        const std::optional<TrashedFile> trashed = moveToTrash(joinPath(folder, name), &error);
        if (!trashed) {
            report.failures.append({name, error});
            continue;
        }
        report.steps.append(
            {FileStep::Trashed, trashed->original, trashed->trashed, trashed->info});
        ++report.done;
    }
    return report;
}

OperationReport deleteFilesForGood(const QString &folder, const QStringList &names)
{
    OperationReport report;
    for (const QString &name : names) {
        if (!acceptableName(name, &report))
            continue;
        if (::unlink(QFile::encodeName(joinPath(folder, name)).constData()) == 0)
            ++report.done;
        else
            report.failures.append({name, systemError(errno)});
    }
    return report;
}

} // namespace files
