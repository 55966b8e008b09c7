#pragma once

#include <QList>
#include <QString>

namespace app {

class SimpleRegAccess;

// One named value of the settings table and the default written at first start.
struct SettingDefault
{
    QString name;
    QString value;
};

// Key of the settings for a product name: "HKEY_LOCAL_MACHINE\software\" + product.
QString settingsKey(const QString &product);

// The user's music folder, else the home folder: where extracted and converted files go first.
QString defaultOutputFolder();

// The ten values in their order with their first-start defaults.
QList<SettingDefault> settingsTable(const QString &folderDefault);

// Creates the key when missing and writes the default of every missing value; values that exist,
// even empty, are left alone.
void writeMissingDefaults(SimpleRegAccess &reg, const QString &product,
                          const QString &folderDefault);

// The "Formatfichier" list index, or 0 when the text is not a number from 0 to 3.
int fileFormatIndex(const QString &text);

} // namespace app
