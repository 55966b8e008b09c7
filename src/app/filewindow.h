#pragma once

#include "app/dialogs.h"
#include "files/fileoperations.h"
#include "tags/tagbatch.h"

#include <QString>

#include <functional>

namespace app {

// What the file commands and playback use of the window around the pages they work on.
class FileWindow
{
public:
    // Message boxes and the folder dialog over the window; `inform` has the product name as
    // its title.
    virtual void inform(const QString &text, Dialogs::Icon icon) = 0;
    virtual bool confirm(const QString &question, const QString &title) = 0;
    virtual QString chooseFolder(const QString &startFolder) = 0;
    // "Remplacer / Ignorer / Tout remplacer / Annuler" about an existing file.
    virtual Dialogs::Replace askReplaceOrCancel(const QString &question) = 0;
    // Status bar SB1: panel 1 takes passing texts.
    virtual void setStatusPanel(int panel, const QString &text) = 0;
    // Runs work away from the window's thread, its commands off (see TagWindow::runJob).
    virtual void runJob(qsizetype files, bool stoppable,
                        const std::function<void(const tags::BatchControl &)> &work,
                        bool slow = false) = 0;
    // Counts the files of the list into panel 2.
    virtual void comptage() = 0;
    // Records renames or moves done, for undoing them (see files::UndoJournal::recordMoves).
    virtual void recordMoves(const QString &label, const QList<files::MovedFile> &moves,
                             const QStringList &createdFolders) = 0;
    // Records what a copy, move or deletion did, for undoing it (see
    // files::UndoJournal::recordSteps).
    virtual void recordSteps(const QString &label, const QList<files::FileStep> &steps) = 0;

protected:
    ~FileWindow() = default;
};

} // namespace app
