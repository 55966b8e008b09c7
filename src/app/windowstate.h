#pragma once

#include <QString>

class QWidget;

namespace app {

// The size, position, splitter positions and list columns (named headers) of a window, kept between
// sessions in an INI file
// ("Fenetre.ini" beside the settings by default). Splitters are told apart by their order among
// the window's children. Restoring from a missing or damaged file leaves the window as it is.
QString defaultWindowStateFile();
void restoreWindowState(QWidget &window, const QString &file);
bool saveWindowState(const QWidget &window, const QString &file);

} // namespace app
