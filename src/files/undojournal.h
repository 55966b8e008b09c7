#pragma once

#include "files/fileoperations.h"
#include "tags/tagbackup.h"

#include <QList>
#include <QString>
#include <QStringList>

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
// (single or batch), renamings and moves. Kept in memory for the life of its owner. A file that
// changed since its command (another program wrote, renamed or replaced it) is left alone and
// named in the report; a file is never put back over an existing one.
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

    // Undoes the last command and drops it from the journal, whatever the outcome; an empty
    // journal does nothing.
    UndoReport undo();

private:
    struct Moved
    {
        MovedFile move;
        dev_t device = 0; // the file as the command left it
        ino_t inode = 0;
    };
    struct Entry
    {
        QString label;
        QList<tags::TagBackup> tags;
        QList<Moved> moves;
        QStringList createdFolders;
    };
    QList<Entry> m_entries;
};

} // namespace files
