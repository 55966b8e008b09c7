#pragma once

#include "app/tagwindow.h"
#include "tags/tagresult.h"
#include "tags/tagtype.h"

#include <QObject>

class QTreeWidgetItem;

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
    bool saveTags(const QString &path,
                  const QString &label = QStringLiteral("Enregistrement du tag"));
    // Writes a record into a file as the editor's save would; a failure is shown the same way.
    bool saveRecord(const QString &path, const tags::TagType &record);
    // The three tag commands are enabled only while the editor shows the tags of the file
    // selected in LV1, on a tag page of an "*.mp3" list: a save never reaches a file that is
    // not shown.
    void updateAvailability();

private:
    bool reportSaved(const QString &path, const tags::Result<bool> &saved);

    TagWindow &m_window;
    TagPage &m_page;
    const OptionsPage &m_options;
    RenamePanel &m_rename;
    FileCommands &m_files;
};

} // namespace app
