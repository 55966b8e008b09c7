#include "app/filelistbox.h"

#include "base/safefs.h"

#include <QDir>

namespace app {

void FileListBox::setPath(const QString &path)
{
    m_path = path;
    refresh();
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refresh();
}

void FileListBox::refresh()
{
    m_entries.clear();
    if (m_path.isEmpty())
        return;
    QDir dir(m_path);
    dir.setNameFilters({m_pattern});
    // Without QDir::CaseSensitive the name filters match in any letter case; QDir::Hidden is
    // left out, so hidden files are not listed.
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    m_entries = dir.entryList();
}

QString FileListBox::filePath(const QString &name) const
{
    return base::joinPath(m_path, name);
}

} // namespace app
