#pragma once

#include "files/fileoperations.h"
#include "tags/tagbackup.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <sys/stat.h>
#include <sys/types.h>

namespace files {

// What an undo did: how many files were restored, and the French reason of each one that was
// not.
struct UndoReport
{
    int restored = 0;
    QList<FileFailure> failures;

    // One French message naming every file not restored; empty when all were.
    QString message() const;
};

// The commands that changed files, last first, so that they can be undone one by one: tag saves
// (single or batch), renamings, copies, moves and deletions to the trash. Kept in memory for the
// life of its owner. A file that changed since its command (another program wrote, renamed or
// replaced it) is left alone and named in the report; a file is never put back over an existing
// one.
class UndoJournal
{
public:
    bool isEmpty() const { return m_entries.isEmpty(); }
    // The label given to the command that undo() would undo, for a menu entry.
    QString lastLabel() const;

    // Records tag saves (see tags::saveTagsUndoable and tags::saveBatch); nothing when the list
    // is empty.
    void recordTagSaves(const QString &label, QList<tags::TagBackup> backups);
    // Records renames or moves already done, in the order done, with the folders created for
    // them (parents first), which undo removes again when they are empty.
    void recordMoves(const QString &label, const QList<MovedFile> &moves,
                     const QStringList &createdFolders = {});
    // Records the steps of a copy, move or deletion (see OperationReport): undoing it removes
    // the files it made, moves back the files it moved and takes back from the trash the files
    // it put there, last step first.
    void recordSteps(const QString &label, const QList<FileStep> &steps);

    // Undoes the last command and drops it from the journal, whatever the outcome; an empty
    // journal does nothing.
    UndoReport undo();

private:
    struct Step
    {
        FileStep step;
        // The file as the command left it; a file made by the command is removed only while
        // its size and modification time are those too.
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        struct timespec modified = {};
    };
    struct Entry
    {
        QString label;
        QList<tags::TagBackup> tags;
        QList<Step> steps;
        QStringList createdFolders;
    };
    void record(const QString &label, const QList<FileStep> &steps,
                const QStringList &createdFolders);
    static QString undoStep(const FileStep &step);
    QList<Entry> m_entries;
};

} // namespace files
