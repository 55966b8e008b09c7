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

// The procedures of the tagging page: the editor and "Info Fichier" showing the rows selected in
// LV1, and the three tag commands of the toolbar, each confirmed, with a failed save reported.
class TagCommands : public QObject
{
    Q_OBJECT
public:
    TagCommands(QObject *parent, TagWindow &window, TagPage &page, const OptionsPage &options,
                RenamePanel &rename, FileCommands &files);

    // Shows the rows selected in LV1 in the editor and in "Info Fichier", unless they are shown
    // already. Edits not saved in the files shown before are settled first; when the user keeps
    // them ("Annuler"), those files stay shown and their rows selected again. Whatever changes
    // the selection (mouse, keyboard, search, sort, a new listing) leads here once the change is
    // done; a new listing keeps the files shown selected when it still has them.
    void selectFile();
    // Reads the files shown again (their tags were changed behind the editor, by an undo),
    // keeping their rows selected when the list shows them.
    void reloadShown();
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
    // "Identifier sur MusicBrainz…": the files shown are looked up on MusicBrainz (and AcoustID),
    // the releases found listed in a dialog, and what the user keeps there written on "Appliquer",
    // as one step to undo.
    void identifyOnline();
    // The three tag commands are enabled only while the editor shows the tags of the file
    // selected in LV1, on a tag page of an "*.mp3" list: a save never reaches a file that is
    // not shown.
    void updateAvailability();

private:
    // The paths of the rows selected in LV1, in list order.
    QStringList selectedFiles() const;
    // selectFile once the event that changed the selection is handled.
    void selectFileLater();
    // Loads files into the editor and "Info Fichier" (none: both emptied).
    void showFiles(const QStringList &files);
    // Loads the tags of several files, many of them away from the window's thread.
    void showSeveral(const QStringList &files);
    tags::FixedTexts fixedTexts() const;
    // Saves the editor's fields into a file and adds what undoing it needs to `backups`; a
    // failure is shown in a message box.
    bool saveOne(const QString &path, QList<tags::TagBackup> &backups);
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
    bool m_saving = false;           // a save or a read of several files is running
    bool m_selectionPending = false; // selectFile is to run
    bool m_selecting = false;        // selectFile is running
    bool m_listReset = false;        // LV1 was filled again since the last selectFile
};

} // namespace app
