#pragma once

#include "rename/renamesettings.h"

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace app {

// The renaming page inside Frame4 "Renommeur": the seven operations and their settings.
class RenamePanel : public QWidget
{
    Q_OBJECT
public:
    // Lays the panel out inside frame.
    explicit RenamePanel(QGroupBox *frame);

    QRadioButton *Option1;      // "Supprimer"
    QRadioButton *Option2;      // "Remplacer"
    QRadioButton *Option3;      // "Lettrage"
    QRadioButton *Option4;      // "Inverser"
    QRadioButton *Option5;      // "Manuellement"
    QRadioButton *Option6;      // "Ajouter"
    QRadioButton *optDapresTag; // "D'après le tag"
    QComboBox *cboModele;       // pattern of "D'après le tag", editable, the last ones used
    QComboBox *Combo1;          // N, 0 to 30
    QComboBox *Combo2;          // P, 0 to 30
    QLineEdit *Text1;           // S
    QComboBox *Combo3;          // R, editable
    QComboBox *Combo4;          // case rule of the name part
    QComboBox *Combo5;          // case rule of the extension
    QComboBox *Combo6;          // swap rule
    QLineEdit *Text2;           // manual name

    // With "Manuellement" chosen, the name of a checked row is offered for editing.
    void offerManualName(const QString &name);
    QLineEdit *Text6; // before the name
    QLineEdit *Text7; // after the name

    // Fills the fixed lists and shows the first entry of each.
    void fillFixedLists();
    // The settings as the controls stand.
    renaming::RenameSettings settings() const;
    // The patterns offered, the last used first.
    QStringList patterns() const;
    void setPatterns(const QStringList &patterns);
    // Puts the pattern shown at the head of the list (at most ten are kept) and tells so.
    void rememberPattern();

signals:
    void patternsChanged(const QStringList &patterns);
    // A setting changed: the operation chosen, a list entry, or a character typed.
    void settingsChanged();
};

} // namespace app
