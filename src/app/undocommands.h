#pragma once

#include "files/undojournal.h"

#include <QObject>

class QAction;

namespace app {

class TagWindow;

// The window's undo: the journal of the tag saves, renamings, copies, moves and deletions done
// since the window opened, the entry "Annuler : <libellé>" (Ctrl+Z) of the menu "Edition", and
// "Rétablir : <libellé>" (Ctrl+Maj+Z), which does again a renaming, a move or a tag save undone;
// each is disabled while there is nothing to act on.
class UndoCommands : public QObject
{
    Q_OBJECT
public:
    UndoCommands(QObject *parent, TagWindow &window, QAction &undo, QAction &redo);

    // Records what a command did; see files::UndoJournal.
    void recordTagSaves(const QString &label, QList<tags::TagBackup> backups);
    void recordMoves(const QString &label, const QList<files::MovedFile> &moves,
                     const QStringList &createdFolders = {});
    void recordSteps(const QString &label, const QList<files::FileStep> &steps);
    // How many commands were recorded since the window opened.
    int recordCount() const { return m_recorded; }

    // Undoes the last command, or redoes the last one undone, away from the window's thread
    // with the progress in the status bar; the user can stop it between two files, and the
    // rest stays to be undone (redone). The files that were not restored are named in a
    // message. The caller shows the files again; the report says which ones moved.
    files::UndoReport annuler();
    files::UndoReport retablir();

private:
    files::UndoReport runStep(files::UndoJournal::Direction direction);
    void updateActions();

    TagWindow &m_window;
    QAction &m_undo;
    QAction &m_redo;
    files::UndoJournal m_journal;
    int m_recorded = 0;
    bool m_running = false;
};

} // namespace app
