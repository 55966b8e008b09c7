#pragma once

#include "app/dialogs.h"
#include "tags/tagbackup.h"
#include "tags/tagbatch.h"

#include <QString>

#include <functional>

namespace app {

// What the tag commands use of the window around the pages they work on.
class TagWindow
{
public:
    // Message boxes over the window; `inform` has the product name as its title.
    virtual void inform(const QString &text, Dialogs::Icon icon) = 0;
    virtual bool confirm(const QString &question, const QString &title) = 0;
    // Asks before a tag save, unless the user chose to be asked no more: true to save.
    virtual bool confirmTagSave(const QString &question) = 0;
    // "Enregistrer", "Ignorer" or "Annuler" for edits not saved yet.
    virtual Dialogs::Unsaved askUnsaved(const QString &question) = 0;
    // Status bar SB1: panel 1 takes passing texts.
    virtual void setStatusPanel(int panel, const QString &text) = 0;
    // The full path of the file last chosen in the list.
    virtual QString chosenFile() const = 0;
    virtual void setChosenFile(const QString &path) = 0;
    // True while the page "Tag et noms" is shown.
    virtual bool showsTagPage() const = 0;
    // The progress bar of the status bar, for a save of many files.
    virtual void showJobProgress(qint64 done, qint64 total) = 0;
    virtual void clearJobProgress() = 0;
    // Runs work on `files` files away from the window's thread, and returns once it ended. The
    // window stays drawn, its commands off; the status bar shows the progress work reports and,
    // when `stoppable`, a button that sets the cancel flag work is given: "Arrêter" (the files
    // done are kept), or "Annuler" for `Stop::Cancel` (a job that then writes nothing). A few
    // files are done at once, here: that takes less time than showing the window busy, unless
    // `slow` says each file takes long (decoding).
    enum class Stop { AfterCurrent, Cancel };
    virtual void runJob(qsizetype files, bool stoppable,
                        const std::function<void(const tags::BatchControl &)> &work,
                        bool slow = false, Stop stopKind = Stop::AfterCurrent) = 0;
    // The toolbar's three tag commands.
    virtual void setTagCommandsEnabled(bool enabled) = 0;
    // Records tag saves, for undoing them; a label such as "Enregistrement du tag" names them in
    // the menu.
    virtual void recordTagSaves(const QString &label, QList<tags::TagBackup> backups) = 0;

protected:
    ~TagWindow() = default;
};

} // namespace app
