#include "app/settingstable.h"

#include "app/simpleregaccess.h"

#include <QDir>
#include <QStandardPaths>

namespace app {

QString settingsKey(const QString &product)
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\software\\") + product;
}

QString defaultOutputFolder()
{
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QDir(music).exists())
        return music;
    return QDir::homePath();
}

QList<SettingDefault> settingsTable(const QString &folderDefault)
{
    return {
        {QStringLiteral("repertCD"), folderDefault},
        {QStringLiteral("repertWAVMP3"), folderDefault},
        {QStringLiteral("Formatfichier"), QStringLiteral("0")},
        {QStringLiteral("ExtraireTagv1"), QStringLiteral("0")},
        {QStringLiteral("ExtraireTagv2"), QStringLiteral("1")},
        {QStringLiteral("ExtraireTagv1et2"), QStringLiteral("0")},
        {QStringLiteral("ExtraireTagrien"), QStringLiteral("0")},
        {QStringLiteral("ImportationNom"), QStringLiteral("0")},
        {QStringLiteral("Commentaire"), QString()},
        {QStringLiteral("Encodepar"), QString()},
    };
}

void writeMissingDefaults(SimpleRegAccess &reg, const QString &product,
                          const QString &folderDefault)
{
    const QString key = settingsKey(product);
    reg.setKeyPath(key);
    if (!reg.keyExists()) {
        reg.setKeyPath(QStringLiteral("HKEY_LOCAL_MACHINE\\software"));
        reg.createKey(product);
        reg.setKeyPath(key);
    }
    for (const SettingDefault &setting : settingsTable(folderDefault)) {
        if (!reg.valueExists(setting.name, 0))
            reg.writeValue(setting.name, setting.value);
    }
}

int fileFormatIndex(const QString &text)
{
    bool ok = false;
    const int index = text.trimmed().toInt(&ok);
    return ok && index >= 0 && index <= 3 ? index : 0;
}

} // namespace app
