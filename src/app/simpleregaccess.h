#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace app {

// The settings store: named string values under a key path such as
// "HKEY_LOCAL_MACHINE\software\Tarvex", kept in an INI file where the key path (without its root
// key) is the group. Failures to write are silent, as callers ignore them.
class SimpleRegAccess
{
public:
    // Uses the INI file at iniPath; an empty path means the user's configuration folder.
    explicit SimpleRegAccess(const QString &iniPath = QString());
    ~SimpleRegAccess();
    SimpleRegAccess(const SimpleRegAccess &) = delete;
    SimpleRegAccess &operator=(const SimpleRegAccess &) = delete;

    static QString defaultIniPath();

    void setKeyPath(const QString &keyPath);
    QString keyPath() const { return m_keyPath; }
    // Whether the current key holds a value of that name; the second argument is unused.
    bool valueExists(const QString &name, int = 0) const;
    bool keyExists() const;
    // Creates a sub-key of the current key. An INI group only exists once it holds a value, so
    // this records nothing by itself; the first value written makes the key.
    bool createKey(const QString &subKey);
    bool writeValue(const QString &name, const QString &value);
    QString readValue(const QString &name) const;

    // Booleans are written "1"/"0"; reading accepts "1", "0", "True", "False", "-1".
    static QString fromBool(bool value)
    {
        return value ? QStringLiteral("1") : QStringLiteral("0");
    }
    static bool toBool(const QString &text);

private:
    QString group() const;
    QString entry(const QString &name) const;

    std::unique_ptr<QSettings> m_settings;
    QString m_keyPath;
};

} // namespace app
