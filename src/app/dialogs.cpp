#include "app/dialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace app {

bool QtDialogs::message(QWidget *owner, const QString &text, const QString &title, Icon icon,
                        Buttons buttons)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case Icon::Error:
        boxIcon = QMessageBox::Critical;
        break;
    case Icon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case Icon::Question:
        boxIcon = QMessageBox::Question;
        break;
    case Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    }
    QMessageBox box(
        boxIcon, title, text,
        buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

namespace {

Dialogs::Replace askReplaceBox(QWidget *owner, const QString &text, const QString &title,
                               bool cancellable)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, owner);
    QPushButton *replace = box.addButton(
        QCoreApplication::translate("app::QtDialogs", "&Remplacer"), QMessageBox::AcceptRole);
    QPushButton *skip = box.addButton(QCoreApplication::translate("app::QtDialogs", "&Ignorer"),
                                      QMessageBox::RejectRole);
    QPushButton *all = box.addButton(
        QCoreApplication::translate("app::QtDialogs", "&Tout remplacer"), QMessageBox::AcceptRole);
    QPushButton *cancel =
        cancellable ? box.addButton(QCoreApplication::translate("app::QtDialogs", "&Annuler"),
                                    QMessageBox::RejectRole)
                    : nullptr;
    box.setDefaultButton(skip);
    box.setEscapeButton(cancellable ? cancel : skip);
    box.exec();
    if (box.clickedButton() == replace)
        return Dialogs::Replace::Replace;
    if (box.clickedButton() == all)
        return Dialogs::Replace::ReplaceAll;
    return box.clickedButton() == skip
               ? Dialogs::Replace::Skip
               : (cancellable ? Dialogs::Replace::Cancel : Dialogs::Replace::Skip);
}

} // namespace

Dialogs::Replace QtDialogs::askReplace(QWidget *owner, const QString &text, const QString &title)
{
    return askReplaceBox(owner, text, title, false);
}

Dialogs::Replace QtDialogs::askReplaceOrCancel(QWidget *owner, const QString &text,
                                               const QString &title)
{
    return askReplaceBox(owner, text, title, true);
}

Dialogs::Unsaved QtDialogs::askUnsaved(QWidget *owner, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, owner);
    QPushButton *save = box.addButton(QCoreApplication::translate("app::QtDialogs", "&Enregistrer"),
                                      QMessageBox::AcceptRole);
    QPushButton *discard =
        box.addButton(QCoreApplication::translate("app::QtDialogs", "&Ignorer", "unsaved changes"),
                      QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QCoreApplication::translate("app::QtDialogs", "&Annuler"),
                                        QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return Unsaved::Save;
    return box.clickedButton() == discard ? Unsaved::Discard : Unsaved::Cancel;
}

bool QtDialogs::confirmOrStopAsking(QWidget *owner, const QString &text, const QString &title,
                                    bool *stopAsking)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                    owner);
    box.setDefaultButton(QMessageBox::Ok);
    auto *stop = new QCheckBox(QCoreApplication::translate("app::QtDialogs", "&Ne plus demander"));
    box.setCheckBox(stop);
    const bool ok = box.exec() == QMessageBox::Ok;
    *stopAsking = stop->isChecked();
    return ok;
}

QString QtDialogs::chooseFolder(QWidget *owner, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(
        owner, QCoreApplication::translate("app::QtDialogs", "Selectionnez un répertoire"),
        startFolder, QFileDialog::ShowDirsOnly);
}

int QtDialogs::chooseItem(QWidget *owner, const QString &text, const QString &title,
                          const QStringList &items)
{
    QDialog box(owner);
    box.setWindowTitle(title);
    auto *list = new QListWidget(&box);
    list->setObjectName(QStringLiteral("lstChoix"));
    list->addItems(items);
    list->setCurrentRow(0);
    list->setMinimumWidth(list->sizeHintForColumn(0) + 40);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("app::QtDialogs", "&Annuler"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &box, &QDialog::accept);
    auto *layout = new QVBoxLayout(&box);
    layout->addWidget(new QLabel(text, &box));
    layout->addWidget(list);
    layout->addWidget(buttons);
    return box.exec() == QDialog::Accepted ? list->currentRow() : -1;
}

QString QtDialogs::chooseImageFile(QWidget *owner, const QString &startFolder)
{
    return QFileDialog::getOpenFileName(
        owner, QCoreApplication::translate("app::QtDialogs", "Choisir une pochette"), startFolder,
        QCoreApplication::translate("app::QtDialogs",
                                    "Images (*.jpg *.jpeg *.png *.JPG *.JPEG *.PNG)"));
}

QString QtDialogs::chooseSaveFile(QWidget *owner, const QString &suggested)
{
    return QFileDialog::getSaveFileName(
        owner, QCoreApplication::translate("app::QtDialogs", "Enregistrer l'image"), suggested);
}

bool QtDialogs::reviewTable(QWidget *owner, const QString &text, const QString &title,
                            const QStringList &headers, const QList<QStringList> &rows)
{
    QDialog box(owner);
    box.setWindowTitle(title);
    auto *table = new QTableWidget(int(rows.size()), int(headers.size()), &box);
    table->setObjectName(QStringLiteral("tblRevue"));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size() && c < headers.size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(rows[r][c]));
    }
    table->resizeColumnsToContents();
    table->setMinimumWidth(std::min(900, table->horizontalHeader()->length() + 60));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("app::QtDialogs", "&Annuler"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    auto *layout = new QVBoxLayout(&box);
    layout->addWidget(new QLabel(text, &box));
    layout->addWidget(table);
    layout->addWidget(buttons);
    return box.exec() == QDialog::Accepted;
}

} // namespace app
