#include "app/form2.h"

#include "app/filelistmodel.h"
#include "app/tagpage.h"
#include "app/widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

Form2::Form2(TagPage &page, QWidget *parent) : QDialog(parent), m_page(page)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Recherche"));
    setModal(false);
    Label1 = named<QLabel>(this, "Label1", tr("&Mot à chercher :"));
    Text1 = named<QLineEdit>(this, "Text1");
    Label1->setBuddy(Text1);
    Command1 = named<QPushButton>(this, "Command1", tr("&Ok"));
    Command2 = named<QPushButton>(this, "Command2", tr("&Annuler"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &Form2::search);
    connect(Command2, &QPushButton::clicked, this, &Form2::close);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

int Form2::findRow(const FileListModel &list, const QString &text)
{
    const QString wanted = text.toLower();
    for (int i = 0; i < list.count(); ++i) {
        if (list.name(i).toLower().contains(wanted))
            return i;
    }
    return -1;
}

void Form2::search()
{
    const int row = findRow(*m_page.files, Text1->text());
    if (row >= 0) {
        // The editor follows the row selected, as after a click.
        m_page.selectRow(row);
        Text1->clear();
    }
    close();
}

} // namespace app
