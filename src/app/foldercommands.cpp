#include "app/foldercommands.h"

#include "app/filelistmodel.h"
#include "app/filewindow.h"
#include "app/tagcommands.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"

#include <QCheckBox>
#include <QFileSystemWatcher>
#include <QSet>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace app {

FolderCommands::FolderCommands(QObject *parent, TagPage &page, TagCommands &tags,
                               FileWindow &window, std::function<bool()> quiet)
    : QObject(parent), m_page(page), m_tags(tags), m_window(window),
      m_watcher(new QFileSystemWatcher(this)), m_changedOnDisk(new QTimer(this)),
      m_watchNext(new QTimer(this)), m_quiet(std::move(quiet))
{
    m_changedOnDisk->setObjectName(QStringLiteral("TimerDisque"));
    m_changedOnDisk->setSingleShot(true);
    m_changedOnDisk->setInterval(300);
    // Changes made while a job runs, or while another page is shown, are listed afterwards.
    connect(m_changedOnDisk, &QTimer::timeout, this, [this] {
        if (m_quiet())
            actualise();
        else
            m_changedOnDisk->start(1000);
    });
    // Each folder takes the watcher tens of microseconds: thousands are handed over a few
    // hundred at a time, so that the window keeps answering meanwhile.
    m_watchNext->setInterval(0);
    connect(m_watchNext, &QTimer::timeout, this, &FolderCommands::watchNextFolders);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_changedOnDisk,
            qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &FolderCommands::shownFileChanged);
    connect(page.editor, &TagEditorPanel::shownFileChanged, this, &FolderCommands::watchShownFiles);
    connect(&page, &TagPage::folderChosen, this, &FolderCommands::listFolder);
    connect(&page, &TagPage::refilled, this, &FolderCommands::watchListing);
    // A tree that takes long to read is read with the window's commands off and its stop
    // button shown.
    page.File1.setSlowListing([this](const FileListBox::WaitForListing &wait) {
        m_window.setStatusPanel(1, tr("Lecture des sous-dossiers…"));
        m_window.runJob(
            0, true, [&](const tags::BatchControl &control) { wait(*control.cancel); }, true);
        m_window.setStatusPanel(1, QString());
    });
    connect(page.chkSousDossiers, &QCheckBox::clicked, this, [this](bool on) {
        // Files below may be in the editor: their edits are settled before they leave the list.
        if (!on && !m_tags.settleUnsavedEdits()) {
            m_page.chkSousDossiers->setChecked(true);
            return;
        }
        includeSubfolders(on);
    });
}

bool FolderCommands::listFolder(const QString &folder)
{
    if (folder == m_page.File1.path()) {
        actualise();
        return true;
    }
    if (!m_tags.settleUnsavedEdits()) {
        m_page.refillList(true); // the tree back on the folder shown
        return false;
    }
    m_page.File1.setPath(folder);
    m_page.refillList();
    relisted();
    return true;
}

void FolderCommands::actualise()
{
    m_page.File1.refresh();
    m_page.refillList(true);
    relisted();
}

void FolderCommands::includeSubfolders(bool include)
{
    m_page.chkSousDossiers->setChecked(include);
    m_page.File1.setIncludeSubfolders(include);
    actualise();
}

void FolderCommands::relisted()
{
    m_window.comptage();
}

void FolderCommands::watchListing()
{
    if (m_page.File1.takeCut() == files::FilesBelow::End::TooMany)
        m_window.inform(files::tooManyBelowText(), Dialogs::Icon::Information);
    // The folders read are watched for files coming, going and being renamed; a folder listed
    // again stays watched, so that no change slips between two listings.
    const QStringList watched = m_watcher->directories();
    const QStringList &listed = m_page.File1.folders();
    const QSet<QString> wasWatched(watched.cbegin(), watched.cend());
    const QSet<QString> isListed(listed.cbegin(), listed.cend());
    m_unwatch.clear();
    m_watch.clear();
    for (const QString &folder : watched)
        if (!isListed.contains(folder))
            m_unwatch.append(folder);
    for (const QString &folder : listed)
        if (!wasWatched.contains(folder))
            m_watch.append(folder);
    watchNextFolders();
    watchShownFiles();
}

void FolderCommands::watchNextFolders()
{
    constexpr qsizetype slice = 250;
    // The folders listed first: their changes count, those of the folders left do not.
    const bool adding = !m_watch.isEmpty();
    QStringList &pending = adding ? m_watch : m_unwatch;
    const QStringList now = pending.first(std::min(slice, pending.size()));
    pending.remove(0, now.size());
    if (adding)
        m_watcher->addPaths(now);
    else if (!now.isEmpty())
        m_watcher->removePaths(now);
    if (m_unwatch.isEmpty() && m_watch.isEmpty())
        m_watchNext->stop();
    else
        m_watchNext->start();
}

void FolderCommands::watchShownFiles()
{
    if (const QStringList old = m_watcher->files(); !old.isEmpty())
        m_watcher->removePaths(old);
    if (const QStringList shown = m_page.editor->shownFiles(); !shown.isEmpty())
        m_watcher->addPaths(shown);
}

void FolderCommands::shownFileChanged(const QString &path)
{
    // A file replaced by a new one is watched again under the same name.
    m_watcher->addPath(path);
    if (!m_quiet())
        return;
    m_page.files->rereadTags({path});
    // What the user typed stays; otherwise the editor shows what the file holds now.
    if (!m_page.editor->hasUnsavedEdits())
        m_tags.reloadShown();
}

} // namespace app
