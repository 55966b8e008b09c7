#pragma once

#include "files/undojournal.h"

#include <QObject>

class QAction;

namespace app {

class FileWindow;

// The window's undo: the journal of the tag saves, renamings, copies, moves and deletions done
// since the window opened, and the entry "Annuler : <libellé>" (Ctrl+Z) of the menu "Edition",
// disabled while there is nothing to undo.
class UndoCommands : public QObject
{
    Q_OBJECT
public:
    UndoCommands(QObject *parent, FileWindow &window, QAction &action);

    // Records what a command did; see files::UndoJournal.
    void recordTagSaves(const QString &label, QList<tags::TagBackup> backups);
    void recordMoves(const QString &label, const QList<files::MovedFile> &moves,
                     const QStringList &createdFolders = {});
    void recordSteps(const QString &label, const QList<files::FileStep> &steps);
    // How many commands were recorded since the window opened.
    int recordCount() const { return m_recorded; }

    // Undoes the last command; the files that were not restored are named in a message. The
    // caller shows the files again.
    void annuler();

private:
    void updateAction();

    FileWindow &m_window;
    QAction &m_action;
    files::UndoJournal m_journal;
    int m_recorded = 0;
};

} // namespace app
