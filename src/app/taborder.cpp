#include "app/taborder.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLayout>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QWidget>

namespace app {

namespace {

void collectLayout(const QLayout *layout, QList<QWidget *> &controls);

// A control takes the focus itself; its children (a combo box's line edit, a list's viewport)
// follow it and are not ordered on their own.
bool isControl(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) &&
           (qobject_cast<const QComboBox *>(widget) ||
            qobject_cast<const QAbstractSpinBox *>(widget) ||
            qobject_cast<const QAbstractItemView *>(widget) ||
            qobject_cast<const QTabBar *>(widget) || !widget->layout());
}

void collectWidget(QWidget *widget, QList<QWidget *> &controls)
{
    if (auto *splitter = qobject_cast<QSplitter *>(widget)) {
        for (int i = 0; i < splitter->count(); ++i)
            collectWidget(splitter->widget(i), controls);
    } else if (auto *scroll = qobject_cast<QScrollArea *>(widget)) {
        // The area itself (arrow keys scroll it) comes before what it holds.
        if (scroll->focusPolicy() & Qt::TabFocus)
            controls.append(scroll);
        if (scroll->widget())
            collectWidget(scroll->widget(), controls);
    } else if (isControl(widget)) {
        controls.append(widget);
    } else if (widget->layout()) {
        if (auto *group = qobject_cast<QGroupBox *>(widget); group && group->isCheckable())
            controls.append(group);
        collectLayout(widget->layout(), controls);
    }
}

void collectItem(QLayoutItem *item, QList<QWidget *> &controls)
{
    if (!item)
        return;
    if (item->widget())
        collectWidget(item->widget(), controls);
    else if (item->layout())
        collectLayout(item->layout(), controls);
}

void collectLayout(const QLayout *layout, QList<QWidget *> &controls)
{
    if (const auto *grid = qobject_cast<const QGridLayout *>(layout)) {
        QList<QLayoutItem *> seen; // an item spanning cells is met once
        for (int row = 0; row < grid->rowCount(); ++row) {
            for (int column = 0; column < grid->columnCount(); ++column) {
                QLayoutItem *item = grid->itemAtPosition(row, column);
                if (item && !seen.contains(item)) {
                    seen.append(item);
                    collectItem(item, controls);
                }
            }
        }
    } else if (const auto *form = qobject_cast<const QFormLayout *>(layout)) {
        for (int row = 0; row < form->rowCount(); ++row) {
            for (auto role :
                 {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
                collectItem(form->itemAt(row, role), controls);
        }
    } else {
        for (int i = 0; i < layout->count(); ++i)
            collectItem(layout->itemAt(i), controls);
    }
}

} // namespace

void orderTabsAsLaidOut(QWidget *root)
{
    QList<QWidget *> controls;
    collectWidget(root, controls);
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

} // namespace app
