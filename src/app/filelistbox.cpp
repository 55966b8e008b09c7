#include "app/filelistbox.h"

#include "base/safefs.h"

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
    m_entries = m_path.isEmpty() ? QStringList() : base::listFiles(m_path, m_pattern);
}

QString FileListBox::filePath(const QString &name) const
{
    return base::joinPath(m_path, name);
}

} // namespace app
