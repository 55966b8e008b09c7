#include "app/filelistbox.h"

#include "base/safefs.h"

#include <QDeadlineTimer>
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
    std::atomic_bool stop = false;
    files::FilesBelow listing;
    std::unique_ptr<QThread> reader(
        QThread::create([&] { listing = files::listFilesBelow(m_path, m_pattern, stop); }));
    reader->start();
    // A small tree is read before the window would look busy.
    if (!reader->wait(QDeadlineTimer(10)) && m_slowListing) {
        m_slowListing([&](const std::atomic_bool &stopAsked) {
            while (!reader->wait(QDeadlineTimer(10)))
                stop = stopAsked.load();
        });
    }
    reader->wait();
    m_cut = listing.end;
    if (listing.end != files::FilesBelow::End::Complete) {
        m_subfolders = false;
        m_entries = base::listFiles(m_path, m_pattern);
        return;
    }
    m_entries = std::move(listing.names);
    m_folders = std::move(listing.folders);
}

void FileListBox::setSlowListing(std::function<void(const WaitForListing &wait)> waitAway)
{
    m_slowListing = std::move(waitAway);
}

QString FileListBox::filePath(const QString &name) const
{
    return base::joinPath(m_path, name);
}

} // namespace app
