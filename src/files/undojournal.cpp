#include "files/undojournal.h"

#include "base/fileaccess.h"
#include "files/fileoperations.h"

#include <QCoreApplication>
#include <QFile>

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
    Entry entry{label, {}, {}, createdFolders};
    for (const MovedFile &move : moves) {
        struct stat st;
        if (::lstat(QFile::encodeName(move.to).constData(), &st) == 0)
            entry.moves.append({move, st.st_dev, st.st_ino});
    }
    if (!entry.moves.isEmpty())
        m_entries.append(entry);
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
    for (auto moved = entry.moves.crbegin(); moved != entry.moves.crend(); ++moved) {
        const QString &to = moved->move.to;
        struct stat st;
        if (::lstat(QFile::encodeName(to).constData(), &st) != 0 || st.st_dev != moved->device ||
            st.st_ino != moved->inode) {
            report.failures.append(
                {to, QCoreApplication::translate(
                         "files", "a été supprimé, renommé ou remplacé depuis : il n'a pas été "
                                  "remis à sa place")});
            continue;
        }
        const QString error = moveFile(to, moved->move.from);
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
