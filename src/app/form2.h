#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class FileListModel;
class TagPage;

// The search dialog "Recherche": selects the first row of the file list whose name contains the
// typed text, in any letter case.
class Form2 : public QDialog
{
    Q_OBJECT
public:
    Form2(TagPage &page, QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *Text1;
    QPushButton *Command1; // "Ok"
    QPushButton *Command2; // "Annuler"

    // Row of the first name containing text, ignoring case; -1 when none.
    static int findRow(const FileListModel &list, const QString &text);

private:
    void search();

    TagPage &m_page;
};

} // namespace app
