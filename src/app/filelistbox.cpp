#include "app/filelistbox.h"

#include "base/safefs.h"

#include <QEventLoop>
#include <QThread>

#include <memory>

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
    m_folders = m_path.isEmpty() ? QStringList() : QStringList{m_path};
    // WAV files are converted beside themselves or into one folder: only the folder's own.
    if (m_path.isEmpty() || !m_subfolders || m_pattern != u"*.mp3") {
        m_entries = m_path.isEmpty() ? QStringList() : base::listFiles(m_path, m_pattern);
        return;
    }
    QStringList entries, folders;
    QEventLoop loop;
    std::unique_ptr<QThread> reader(
        QThread::create([&] { entries = base::listFilesBelow(m_path, m_pattern, &folders); }));
    QObject::connect(reader.get(), &QThread::finished, &loop, &QEventLoop::quit);
    reader->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    reader->wait();
    m_entries = std::move(entries);
    m_folders = std::move(folders);
}

QString FileListBox::filePath(const QString &name) const
{
    return base::joinPath(m_path, name);
}

} // namespace app
