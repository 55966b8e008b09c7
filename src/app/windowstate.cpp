#include "app/windowstate.h"

#include <QHeaderView>
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

// The named headers of lists: their shown columns, widths and sort.
QList<QHeaderView *> namedHeaders(const QWidget &window)
{
    QList<QHeaderView *> headers;
    for (QHeaderView *header : window.findChildren<QHeaderView *>()) {
        if (!header->objectName().isEmpty())
            headers.append(header);
    }
    return headers;
}

QString headerKey(const QHeaderView *header)
{
    return QStringLiteral("Fenetre/entete_") + header->objectName();
}

QString columnCountKey(const QHeaderView *header)
{
    return headerKey(header) + QStringLiteral("_colonnes");
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
    for (QHeaderView *header : namedHeaders(window)) {
        // Qt shows the columns a state does not know: those added since it was saved stay as
        // the list has them (an optional column stays hidden).
        const int known = settings.value(columnCountKey(header), header->count()).toInt();
        QList<bool> hidden;
        for (int column = std::max(known, 0); column < header->count(); ++column)
            hidden.append(header->isSectionHidden(column));
        header->restoreState(settings.value(headerKey(header)).toByteArray());
        for (int i = 0; i < hidden.size(); ++i)
            header->setSectionHidden(header->count() - int(hidden.size()) + i, hidden[i]);
    }
}

bool saveWindowState(const QWidget &window, const QString &file)
{
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(geometryKey, window.saveGeometry());
    const QList<QSplitter *> splitters = window.findChildren<QSplitter *>();
    for (qsizetype i = 0; i < splitters.size(); ++i)
        settings.setValue(splitterKey(i), splitters[i]->saveState());
    for (const QHeaderView *header : namedHeaders(window)) {
        settings.setValue(headerKey(header), header->saveState());
        settings.setValue(columnCountKey(header), header->count());
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace app
