#pragma once

#include "files/folderlisting.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <utility>

namespace app {

// The hidden file list box File1: a folder and a pattern ("*.mp3"), listing the regular files
// that match it in any letter case, hidden files left out, sorted by name ignoring case. With
// the folders below included, MP3 files are listed by their paths below the folder.
class FileListBox
{
public:
    QString path() const { return m_path; }
    void setPath(const QString &path);
    QString pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);
    bool includesSubfolders() const { return m_subfolders; }
    void setIncludeSubfolders(bool include) { m_subfolders = include; }
    // Reads the folder again. The folders below are read on another thread; a reading that is
    // stopped or finds too much lists the folder alone, without the folders below.
    void refresh();
    // How a reading of the folders below that outlasts a glance is waited for: `waitAway` runs
    // `wait` away from the window's thread, with a way for the user to set its stop flag.
    using WaitForListing = std::function<void(const std::atomic_bool &stop)>;
    void setSlowListing(std::function<void(const WaitForListing &wait)> waitAway);
    // How the last reading of the folders below ended when it did not list them, once.
    files::FilesBelow::End takeCut()
    {
        return std::exchange(m_cut, files::FilesBelow::End::Complete);
    }

    int listCount() const { return int(m_entries.size()); }
    const QStringList &entries() const { return m_entries; }
    // The folders the last listing read, the listed one first.
    const QStringList &folders() const { return m_folders; }
    // The folder and a file name joined with one separator.
    QString filePath(const QString &name) const;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.mp3");
    bool m_subfolders = false;
    QStringList m_entries;
    QStringList m_folders;
    std::function<void(const WaitForListing &wait)> m_slowListing;
    files::FilesBelow::End m_cut = files::FilesBelow::End::Complete;
};

} // namespace app
