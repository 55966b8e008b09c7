#include "files/undojournal.h"

#include "base/fileaccess.h"
#include "files/fileoperations.h"
#include "files/trash.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

QString UndoReport::message() const
{
    if (failures.isEmpty())
        return {};
    QString text = QCoreApplication::translate("files", "Ces fichiers n'ont pas été restaurés :");
    for (const FileFailure &f : failures)
        text += QCoreApplication::translate("files", "\n« %1 » : %2").arg(f.fichier, f.raison);
    return text;
}

QString UndoJournal::lastLabel() const
{
    return m_entries.isEmpty() ? QString() : m_entries.last().label;
}

void UndoJournal::recordTagSaves(const QString &label, QList<tags::TagBackup> backups)
{
    if (!backups.isEmpty())
        m_entries.append({label, std::move(backups), {}, {}});
}

void UndoJournal::recordMoves(const QString &label, const QList<MovedFile> &moves,
                              const QStringList &createdFolders)
{
    QList<FileStep> steps;
    for (const MovedFile &move : moves)
        steps.append({FileStep::Moved, move.from, move.to, {}});
    record(label, steps, createdFolders);
}

void UndoJournal::recordSteps(const QString &label, const QList<FileStep> &steps)
{
    record(label, steps, {});
}

void UndoJournal::record(const QString &label, const QList<FileStep> &steps,
                         const QStringList &createdFolders)
{
    Entry entry{label, {}, {}, createdFolders};
    for (const FileStep &step : steps) {
        struct stat st;
        if (::lstat(QFile::encodeName(step.to).constData(), &st) == 0)
            entry.steps.append({step, st.st_dev, st.st_ino, st.st_size, st.st_mtim});
    }
    if (!entry.steps.isEmpty())
        m_entries.append(entry);
}

QString UndoJournal::undoStep(const FileStep &step)
{
    switch (step.kind) {
    case FileStep::Moved:
        return moveFile(step.to, step.from);
    case FileStep::Trashed:
        return restoreFromTrash({step.from, step.to, step.info});
    case FileStep::Created:
        if (::unlink(QFile::encodeName(step.to).constData()) != 0)
            return base::systemError(errno);
        return {};
    }
    return {};
}

UndoReport UndoJournal::undo()
{
    UndoReport report;
    if (m_entries.isEmpty())
        return report;
    const Entry entry = m_entries.takeLast();
    // Last change first: a file saved twice in one batch goes back step by step.
    for (auto backup = entry.tags.crbegin(); backup != entry.tags.crend(); ++backup) {
        const QString error = backup->restore();
        if (error.isEmpty())
            ++report.restored;
        else
            report.failures.append({backup->fichier(), error});
    }
    for (auto done = entry.steps.crbegin(); done != entry.steps.crend(); ++done) {
        const QString &to = done->step.to;
        struct stat st;
        const bool same = ::lstat(QFile::encodeName(to).constData(), &st) == 0 &&
                          st.st_dev == done->device && st.st_ino == done->inode;
        if (!same) {
            report.failures.append(
                {to, QCoreApplication::translate(
                         "files", "a été supprimé, renommé ou remplacé depuis : il n'a pas été "
                                  "remis à sa place")});
            continue;
        }
        // A copy is removed only as the command left it: a change made since would be lost.
        if (done->step.kind == FileStep::Created &&
            (st.st_size != done->size || st.st_mtim.tv_sec != done->modified.tv_sec ||
             st.st_mtim.tv_nsec != done->modified.tv_nsec)) {
            report.failures.append(
                {to, QCoreApplication::translate(
                         "files", "a été modifié depuis la copie : il a été gardé")});
            continue;
        }
        const QString error = undoStep(done->step);
        if (error.isEmpty())
            ++report.restored;
        else
            report.failures.append({to, error});
    }
    // Only empty folders go: rmdir refuses the others.
    for (auto folder = entry.createdFolders.crbegin(); folder != entry.createdFolders.crend();
         ++folder)
        ::rmdir(QFile::encodeName(*folder).constData());
    return report;
}

} // namespace files
