#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QFileSystemWatcher;
class QTimer;

namespace app {

class FileWindow;
class TagCommands;
class TagPage;

// The folder the list shows: chosen in the tree or the folder dialog, with or without the
// folders below, listed again on F5 ("Actualiser") and when another program changes it. A new
// folder settles the edits not saved first; listing the same one again keeps the selection and
// the edits.
class FolderCommands : public QObject
{
    Q_OBJECT
public:
    // `quiet` tells when the list may change under the user: no job running, the page shown.
    FolderCommands(QObject *parent, TagPage &page, TagCommands &tags, FileWindow &window,
                   std::function<bool()> quiet);

    // Lists `folder` in place of the folder shown, once the edits not saved are settled; false
    // when they are kept (the tree goes back to the folder shown). The folder shown is listed
    // again as "Actualiser" does.
    bool listFolder(const QString &folder);
    // Lists the folder shown again ("Actualiser").
    void actualise();
    // Includes the folders below, or not, and lists the folder again.
    void includeSubfolders(bool include);

private:
    void relisted();
    void watchListing();
    // Hands the watcher the next few hundred folders to leave or to watch.
    void watchNextFolders();
    void watchShownFiles();
    void shownFileChanged(const QString &path);

    TagPage &m_page;
    TagCommands &m_tags;
    FileWindow &m_window;
    QFileSystemWatcher *m_watcher;
    QTimer *m_changedOnDisk; // gathers the changes of one write into one listing
    QTimer *m_watchNext;     // hands the next folders to the watcher
    QStringList m_unwatch;   // folders of the last listing still watched
    QStringList m_watch;     // folders of this listing not watched yet
    std::function<bool()> m_quiet;
};

} // namespace app
