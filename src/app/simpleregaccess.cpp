#include "app/simpleregaccess.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace app {

SimpleRegAccess::SimpleRegAccess(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath.isEmpty() ? defaultIniPath() : iniPath,
                                             QSettings::IniFormat))
{
}

SimpleRegAccess::~SimpleRegAccess() = default;

QString SimpleRegAccess::defaultIniPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tarvex/Tarvex.ini");
}

void SimpleRegAccess::setKeyPath(const QString &keyPath)
{
    m_keyPath = keyPath;
    m_settings->sync();
}

// "HKEY_LOCAL_MACHINE\software\Tarvex" becomes the group "software/Tarvex".
QString SimpleRegAccess::group() const
{
    QStringList parts = m_keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().startsWith(QLatin1String("HKEY_"), Qt::CaseInsensitive))
        parts.removeFirst();
    return parts.join(QLatin1Char('/'));
}

QString SimpleRegAccess::entry(const QString &name) const
{
    const QString g = group();
    return g.isEmpty() ? name : g + QLatin1Char('/') + name;
}

bool SimpleRegAccess::valueExists(const QString &name, int) const
{
    return m_settings->contains(entry(name));
}

bool SimpleRegAccess::keyExists() const
{
    const QString g = group();
    if (g.isEmpty())
        return true;
    m_settings->beginGroup(g);
    const bool exists = !m_settings->allKeys().isEmpty();
    m_settings->endGroup();
    return exists;
}

bool SimpleRegAccess::createKey(const QString &subKey)
{
    return !subKey.isEmpty() && !subKey.contains(QLatin1Char('\\'));
}

bool SimpleRegAccess::writeValue(const QString &name, const QString &value)
{
    m_settings->setValue(entry(name), value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError && m_settings->isWritable();
}

QString SimpleRegAccess::readValue(const QString &name) const
{
    const QVariant value = m_settings->value(entry(name));
    // An unquoted comma in a hand-edited file makes the INI reader return a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

bool SimpleRegAccess::toBool(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    bool isNumber = false;
    const int n = t.toInt(&isNumber);
    return isNumber && n != 0;
}

} // namespace app
