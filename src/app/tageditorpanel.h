#pragma once

#include <QList>
#include <QObject>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QTextEdit;
class QWidget;

namespace app {

// The tag editor: the frames "ID3 v1" (Frame2) and "ID3 v2" (Frame5) with their fields. The two
// frames are shown one at a time by the sub-page tabs, so the panel owns them without a layout of
// its own.
class TagEditorPanel : public QObject
{
    Q_OBJECT
public:
    explicit TagEditorPanel(QWidget *frameParent);

    QGroupBox *Frame2;
    QCheckBox *chkv1;
    QLineEdit *txtv1Piste;
    QLineEdit *txtv1Titre;
    QLineEdit *txtv1Artiste;
    QLineEdit *txtv1Album;
    QLineEdit *txtv1Annee;
    QComboBox *cmbv1Genre;
    QLineEdit *txtv1Commentaire;

    QGroupBox *Frame5;
    QCheckBox *chkv2;
    QLineEdit *txtv2Piste;
    QLineEdit *txtv2Titre;
    QLineEdit *txtv2Artiste;
    QLineEdit *txtv2Album;
    QLineEdit *txtv2Annee;
    QComboBox *cmbv2Genre;
    QTextEdit *txtv2Commentaire;
    QLineEdit *txtv2Compositeur;
    QLineEdit *txtv2Original;
    QLineEdit *txtv2Copyright;
    QLineEdit *txtv2Url;
    QLineEdit *txtv2Encode;

    QList<QWidget *> fieldsV1() const;
    QList<QWidget *> fieldsV2() const;

    // Enables the fields of version 1 or 2 exactly when its check box is checked; enabled fields
    // get the window background, disabled ones the button face.
    void enableVersion(int version);
    // Clears every field and empties the genre lists.
    void remsezerotag();

private:
    void buildV1(QWidget *frameParent);
    void buildV2(QWidget *frameParent);
};

} // namespace app
