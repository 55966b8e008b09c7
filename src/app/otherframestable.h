#pragma once

#include "tags/tagframes.h"

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QComboBox;
class QPushButton;
class QTreeWidget;

namespace app {

// "Autres champs": the ID3v2 frames the editor's fields do not show, by their French name, with
// their value. Text frames are edited in place, added by name and removed; other frames are
// shown by their size and can be removed. With several files shown, a row holds the value they
// share or shows "<différentes valeurs>".
class OtherFramesTable : public QGroupBox
{
    Q_OBJECT
public:
    explicit OtherFramesTable(QWidget *parent = nullptr);

    QTreeWidget *tblAutresChamps; // one row a frame: name, value
    QComboBox *cboNouveauChamp;   // the name of a frame to add, chosen or typed
    QPushButton *cmdAjouterChamp;
    QPushButton *cmdRetirerChamp;

    // Shows the frames of the files; what they hold is what the user changes from.
    void showFrames(const QList<tags::SharedFrame> &frames);
    void clearFrames();
    // What the user changed: values typed (an emptied value removes the frame), frames added,
    // frames removed. A row that differs between files and was left as it is changes nothing.
    QList<tags::FrameChange> changes() const;

    // Adds a row for the frame named in cboNouveauChamp, or goes to its row when it is shown,
    // and starts editing its value.
    void addFrame();
    // Removes the selected rows.
    void removeSelected();

private:
    QList<tags::SharedFrame> m_loaded;
    QStringList m_removed; // keys of loaded rows the user removed
};

} // namespace app
