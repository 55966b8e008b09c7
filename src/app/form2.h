#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace app {

// The search dialog "Recherche": selects the first row of the file list whose name contains the
// typed text, in any letter case.
class Form2 : public QDialog
{
    Q_OBJECT
public:
    Form2(QTreeWidget *fileList, QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *Text1;
    QPushButton *Command1; // "Ok"
    QPushButton *Command2; // "Annuler"

    // Row of the first name containing text, ignoring case; -1 when none.
    static int findRow(const QTreeWidget *list, const QString &text);

private:
    void search();

    QTreeWidget *m_list;
};

} // namespace app
