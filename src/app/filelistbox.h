#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The hidden file list box File1: a folder and a pattern ("*.mp3"), listing the regular files
// that match it in any letter case, hidden files left out, sorted by name ignoring case.
class FileListBox
{
public:
    QString path() const { return m_path; }
    void setPath(const QString &path);
    QString pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);
    // Reads the folder again.
    void refresh();

    int listCount() const { return int(m_entries.size()); }
    const QStringList &entries() const { return m_entries; }
    // The folder and a file name joined with one separator.
    QString filePath(const QString &name) const;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.mp3");
    QStringList m_entries;
};

} // namespace app
