#pragma once

#include "files/fileoperations.h"
#include "tags/tagbackup.h"
#include "tags/tagbatch.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include <sys/stat.h>
#include <sys/types.h>

namespace files {

// What an undo (or a redo) did: how many files were restored, the French reason of each one that
// was not, and the files it moved or whose tags it put back, so that a window showing them can
// follow.
struct UndoReport
{
    int restored = 0;
    QList<FileFailure> failures;
    QList<MovedFile> moved;
    QStringList retagged;   // the files whose tags were put back
    bool cancelled = false; // stopped between two files; the rest can still be undone

    // One French message naming every file not restored; empty when all were.
    QString message() const;
};

// The commands that changed files, last first, so that they can be undone one by one, and the
// commands undone, so that they can be redone: tag saves (single or batch), renamings, copies,
// moves and deletions to the trash (copies and deletions can be undone, not redone). Kept in memory
// for the life of its owner. A file that changed since its command (another program wrote, renamed
// or replaced it) is left alone and named in the report; a file is never put back over an existing
// one. Recording a new command forgets what could be redone.
class UndoJournal
{
    struct Moved
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
        QList<Moved> moves;
        QStringList createdFolders;
        bool redoable = true; // false once it holds a copy or a deletion

        bool isEmpty() const { return tags.isEmpty() && moves.isEmpty(); }
    };

public:
    enum class Direction { Undo, Redo };

    // A command taken out of the journal to be undone or redone, possibly on another thread
    // (see take, run and putBack).
    class Step
    {
    public:
        QString label() const { return m_todo.label; }
        // How many files the step still has to put back.
        qsizetype fileCount() const { return m_todo.tags.size() + m_todo.moves.size(); }

    private:
        friend class UndoJournal;
        Direction m_direction = Direction::Undo;
        Entry m_todo;    // what is still to be put back
        Entry m_reverse; // what puts back again what was done
    };

    bool isEmpty() const { return m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }
    // The labels of the commands undo() and redo() would act on, for menu entries.
    QString lastLabel() const;
    QString redoLabel() const;

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

    // Takes the last command (Undo) or the last command undone (Redo) out of the journal;
    // nullopt when there is none.
    std::optional<Step> take(Direction direction);
    // Puts back the files of a step taken, last change first for an undo: tag saves restored a
    // few files at once, moves one after the other. Touches only the step and the files, so it
    // may run away from the thread that owns the journal. Between two files it reports progress
    // and stops when control.cancel is set: the files not reached stay in the step.
    static UndoReport run(Step &step, const tags::BatchControl &control = {});
    // Gives a step back once run: what it did can be done the other way (redone after an undo,
    // undone after a redo), and what a cancel left goes back where it was taken from.
    void putBack(Step step);

    // take, run and putBack in one call; an empty journal does nothing.
    UndoReport undo(const tags::BatchControl &control = {});
    UndoReport redo(const tags::BatchControl &control = {});

private:
    static Moved recorded(const FileStep &step);
    void record(const QString &label, const QList<FileStep> &steps,
                const QStringList &createdFolders);
    // Undoes one step of a file command; the French reason of a failure, or empty.
    static QString undoStep(const FileStep &step);
    // A tag save may have given these files a new inode (a rewrite): the moves recorded for them
    // take the files as they are now.
    void followRewrites(const QList<tags::TagBackup> &saved);
    static void runTags(Step &step, const tags::BatchControl &control, UndoReport &report);
    static void runMoves(Step &step, const tags::BatchControl &control, qsizetype done,
                         qsizetype total, UndoReport &report);
    UndoReport takeAndRun(Direction direction, const tags::BatchControl &control);

    QList<Entry> m_undo;
    QList<Entry> m_redo;
};

} // namespace files
