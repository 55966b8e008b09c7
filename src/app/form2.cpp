#include "app/form2.h"

#include "app/widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

Form2::Form2(QTreeWidget *fileList, QWidget *parent) : QDialog(parent), m_list(fileList)
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

int Form2::findRow(const QTreeWidget *list, const QString &text)
{
    const QString wanted = text.toLower();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0).toLower().contains(wanted))
            return i;
    }
    return -1;
}

void Form2::search()
{
    const int row = findRow(m_list, Text1->text());
    if (row >= 0) {
        QTreeWidgetItem *item = m_list->topLevelItem(row);
        m_list->scrollToItem(item);
        // Selecting the row does not run the click handling: the editor keeps its file.
        m_list->setCurrentItem(item);
        Text1->clear();
    }
    close();
}

} // namespace app
