#pragma once

#include <QObject>

class QTreeWidgetItem;

namespace app {

class Form1;

// The procedures of the tagging page: choosing a file in LV1 (information and tags shown) and the
// three tag commands of the toolbar, each confirmed, with a failed save reported.
class TagCommands : public QObject
{
    Q_OBJECT
public:
    explicit TagCommands(Form1 &form);
    ~TagCommands() override;

    // Click on a row of LV1.
    void selectFile();
    void enreID();
    void suppID();
    void copieID();
    // Saves the editor's fields into the file of Txt_Chemin; a failure is shown in a message box.
    bool saveTags();

private:
    Form1 &m_form;
};

} // namespace app
