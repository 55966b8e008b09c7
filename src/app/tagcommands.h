#pragma once

#include "app/tagwindow.h"
#include "tags/tagbatch.h"
#include "tags/tagresult.h"
#include "tags/tagtype.h"

#include <QObject>

namespace app {

class FileCommands;
class OptionsPage;
class RenamePanel;
class TagPage;

// The procedures of the tagging page: choosing a file in LV1 (information and tags shown) and the
// three tag commands of the toolbar, each confirmed, with a failed save reported.
class TagCommands : public QObject
{
    Q_OBJECT
public:
    TagCommands(QObject *parent, TagWindow &window, TagPage &page, const OptionsPage &options,
                RenamePanel &rename, FileCommands &files);

    // Click on a row of LV1. Edits not saved in the file shown before are settled first; when
    // the user keeps them ("Annuler"), that file stays shown and selected.
    void selectFile();
    // Asks "Enregistrer les modifications ?" when the editor holds edits not saved yet, and
    // saves them or drops them as answered. False when the user chose to keep editing.
    bool settleUnsavedEdits();
    void enreID();
    void suppID();
    void copieID();
    // Saves the editor's fields into a file, recorded for undoing under `label`; a failure is
    // shown in a message box.
    bool saveTags(const QString &path, const QString &label = tr("Enregistrement du tag"));
    // Saves what the editor shows: into its file, or, when it shows several files, the fields
    // the user changed (and only those) into each of them, away from the window's thread with
    // the progress in the status bar; one message names the files that failed. True when every
    // file was saved.
    bool saveShown();
    // "Remplir le tag d'après le nom": the pattern read from the name of the file shown puts
    // its values into the fields of the tag page, to be saved by "Enregistrer"; with several
    // files shown, the values of each are listed first, then written into each file.
    void fillFromName();
    // The three tag commands are enabled only while the editor shows the tags of the file
    // selected in LV1, on a tag page of an "*.mp3" list: a save never reaches a file that is
    // not shown.
    void updateAvailability();

private:
    // The paths of the rows selected in LV1, in list order.
    QStringList selectedFiles() const;
    bool saveSeveral(const QStringList &files);
    // Runs a batch away from the window's thread, the progress in the status bar, and records
    // it for undoing under `label`; the failures are named in one message. True when every
    // file was saved.
    bool runBatchSave(const QList<tags::BatchItem> &items, const QStringList &files,
                      const QString &label);
    bool reportSaved(const QString &path, const tags::Result<bool> &saved);

    TagWindow &m_window;
    TagPage &m_page;
    const OptionsPage &m_options;
    RenamePanel &m_rename;
    FileCommands &m_files;
    bool m_saving = false; // a save of several files is running
};

} // namespace app
