#pragma once

#include "app/filelistbox.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTabBar;
class QTreeView;

namespace app {

class FileInfoPanel;
class FileListModel;
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
    QTreeView *arbreDossiers;   // the folders of the disk, the listed one current
    QFileSystemModel *dossiers; // the rows of arbreDossiers
    QCheckBox *chkSousDossiers; // "Inclure les sous-dossiers"
    QLineEdit *txtDossier;      // the folder LV1 lists
    QTreeView *LV1;
    QMenu *mnuColonnes;    // the tag columns shown, from the header or the list's menu
    FileListModel *files;  // the rows of LV1
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
    QPushButton *cmdIdentifier; // "Identifier sur MusicBrainz…"

    // Makes the sub-pages' side as wide as the widest sub-page needs, once they are filled, so
    // that choosing a sub-page never moves the splitter nor narrows the list.
    void fitSubPages();
    // Shows the frame of one sub-page and hides the three others.
    void showSubPage(int page);
    // Empties "Info Fichier" (unless `keepInfo`, for the same files listed again) and shows in
    // LV1 one unchecked row per entry of File1, none selected, sorted as the list header says;
    // the folder tree shows the folder.
    void refillList(bool keepInfo = false);
    void setAllChecked(bool checked);
    // The rows selected in LV1, in list order.
    QList<int> selectedRows() const;
    // The current row when it is selected, or -1.
    int currentSelectedRow() const;
    // Makes the row current and the only one selected, without a click.
    void selectRow(int row);
    // Selects the rows of these files (full paths) and nothing else, the first one current;
    // files the list does not show are left out.
    void selectFiles(const QStringList &paths);
    // Shows or hides a tag column, as the header's context menu does; a shown one is read.
    void showColumn(int column, bool shown);
    // Row count as the status bar shows it: "12 pistes".
    QString countText() const;

signals:
    // The user chose a folder in the tree (a click, Enter).
    void folderChosen(const QString &folder);
    // The list shows the entries of File1 anew.
    void refilled();

protected:
    // A click on a row's check box ticks or unticks it and leaves the selection alone.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readShownTagColumns();
    QRect checkBoxRect(const QModelIndex &index) const;

    QList<QScrollArea *> m_subPages; // in the order of SubPage
    QWidget *m_fromName = nullptr;   // the pattern bar under the tag pages
    int m_checkPressed = -1;         // the row whose check box the mouse button went down on
};

} // namespace app
