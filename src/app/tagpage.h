#pragma once

#include "app/filelistbox.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTabBar;
class QTreeWidget;

namespace app {

class FileInfoPanel;
class TagEditorPanel;

// The page "Tag et noms" (Frame1): the file list LV1 of one folder and, beside it, the sub-pages
// "Info Fichier" (Frame3), "Tag ID3 v1" (Frame2), "Tag ID3 v2" (Frame5) and "Renomeur" (Frame4)
// chosen by the tab strip TS1.
class TagPage : public QGroupBox
{
    Q_OBJECT
public:
    explicit TagPage(QWidget *parent = nullptr);

    enum SubPage { InfoFichier = 0, TagV1 = 1, TagV2 = 2, Renomeur = 3 };
    enum Column { NameColumn = 0, NewNameColumn = 1, FolderColumn = 2 };

    QLineEdit *txtDossier; // the folder LV1 lists
    QTreeWidget *LV1;
    QPushButton *Command1; // check every row
    QPushButton *Command2; // uncheck every row
    QComboBox *Combo7;     // "*.mp3" / "*.wav"
    QTabBar *TS1;
    FileInfoPanel *Frame3;
    TagEditorPanel *editor; // owns Frame2 and Frame5
    QGroupBox *Frame4;      // the renaming page fills it
    FileListBox File1;
    QComboBox *cboModeleTag;    // pattern read from file names, editable, the last ones used
    QPushButton *cmdRemplirNom; // "Remplir le tag d'après le nom"

    // Shows the frame of one sub-page and hides the three others.
    void showSubPage(int page);
    // Empties LV1 and "Info Fichier" and adds one row per entry of File1: the name, an empty
    // new-name cell and the folder in the hidden third column.
    void refillList();
    void setAllChecked(bool checked);
    // Row count as the status bar shows it: "12 pistes".
    QString countText() const;

private:
    QList<QScrollArea *> m_subPages; // in the order of SubPage
    QWidget *m_fromName = nullptr;   // the pattern bar under the tag pages
};

} // namespace app
