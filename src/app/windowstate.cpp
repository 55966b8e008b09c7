#include "app/windowstate.h"

#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QWidget>

namespace app {

namespace {

const QString geometryKey = QStringLiteral("Fenetre/geometrie");

QString splitterKey(qsizetype index)
{
    return QStringLiteral("Fenetre/separateur%1").arg(index + 1);
}

} // namespace

QString defaultWindowStateFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tarvex/Fenetre.ini");
}

void restoreWindowState(QWidget &window, const QString &file)
{
    const QSettings settings(file, QSettings::IniFormat);
    window.restoreGeometry(settings.value(geometryKey).toByteArray());
    const QList<QSplitter *> splitters = window.findChildren<QSplitter *>();
    for (qsizetype i = 0; i < splitters.size(); ++i)
        splitters[i]->restoreState(settings.value(splitterKey(i)).toByteArray());
}

bool saveWindowState(const QWidget &window, const QString &file)
{
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(geometryKey, window.saveGeometry());
    const QList<QSplitter *> splitters = window.findChildren<QSplitter *>();
    for (qsizetype i = 0; i < splitters.size(); ++i)
        settings.setValue(splitterKey(i), splitters[i]->saveState());
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace app
