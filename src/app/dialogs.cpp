#include "app/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace app {

bool QtDialogs::message(QWidget *owner, const QString &text, const QString &title, Icon icon,
                        Buttons buttons)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case Icon::Error: boxIcon = QMessageBox::Critical; break;
    case Icon::Warning: boxIcon = QMessageBox::Warning; break;
    case Icon::Question: boxIcon = QMessageBox::Question; break;
    case Icon::Information: boxIcon = QMessageBox::Information; break;
    }
    QMessageBox box(boxIcon, title, text,
                    buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel,
                    owner);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

QString QtDialogs::chooseFolder(QWidget *owner, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("Selectionnez un répertoire"),
                                             startFolder, QFileDialog::ShowDirsOnly);
}

} // namespace app
