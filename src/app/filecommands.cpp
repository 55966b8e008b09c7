#include "app/filecommands.h"

#include "app/cdpage.h"
#include "app/fileinfopanel.h"
#include "app/filelistmodel.h"
#include "app/renamepanel.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "base/product.h"
#include "base/safefs.h"
#include "cd/cdaudiocontrol.h"
#include "files/player.h"
#include "rename/newname.h"
#include "rename/preview.h"
#include "rename/renamebatch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

namespace app {

namespace {

using base::productName;

// A deletion question: "1 fichier" or "3 fichiers" for %1, at most three names for %2 and how
// many more.
QString deletionQuestion(const QString &question, const QStringList &names)
{
    constexpr qsizetype shown = 3;
    QString listed = names.mid(0, shown).join(QStringLiteral(", "));
    if (names.size() > shown)
        listed += QCoreApplication::translate("app::FileCommands", " et %1 autre(s)")
                      .arg(names.size() - shown);
    return question.arg(
        names.size() == 1
            ? QCoreApplication::translate("app::FileCommands", "1 fichier")
            : QCoreApplication::translate("app::FileCommands", "%1 fichiers").arg(names.size()),
        listed);
}

} // namespace

FileCommands::FileCommands(QObject *parent, FileWindow &window, TagPage &page, CdPage &cd,
                           RenamePanel &panel, cd::CdAudioControl &cdControl, QTimer &playTimer,
                           QTimer &trackTimer, std::unique_ptr<files::Player> player)
    : QObject(parent), m_window(window), m_page(page), m_cd(cd), m_cdControl(cdControl),
      m_playTimer(playTimer), m_trackTimer(trackTimer), m_panel(panel), m_player(std::move(player))
{
    // A file the player cannot open ends the playback quietly, without the status text.
    m_player->setErrorHandler([this] {
        m_playFailed = true;
        m_playTimer.stop();
        m_window.setStatusPanel(1, QString());
    });

    // Neither timer shows anything at once; an interval of zero would spin the event loop.
    for (QTimer *timer : {&m_playTimer, &m_trackTimer}) {
        if (timer->interval() == 0)
            timer->setInterval(1000);
    }
    connect(m_cd.LV2, &QTreeWidget::itemClicked, this, &FileCommands::onTrackClicked);
    connect(&m_trackTimer, &QTimer::timeout, this, &FileCommands::followDeviceTrack);
    connect(&m_cdControl, &cd::CdAudioControl::done, this, &FileCommands::resetDisc);
}

FileCommands::~FileCommands() = default;

QColor FileCommands::nameColour() const
{
    return m_page.LV1->palette().color(QPalette::Active, QPalette::Text);
}

QColor FileCommands::markerColour() const
{
    return m_page.LV1->palette().color(QPalette::Disabled, QPalette::Text);
}

QColor FileCommands::refusedColour() const
{
    return QColor(0xb0, 0x30, 0x20);
}

void FileCommands::apercu()
{
    FileListModel &list = *m_page.files;
    const renaming::RenameSettings settings = m_panel.settings();
    QList<renaming::PreviewRow> rows;
    rows.reserve(list.count());
    for (int i = 0; i < list.count(); ++i)
        rows.append({list.name(i), list.isChecked(i), std::nullopt});
    // With the folder, "D'après le tag" reads the tags of the checked files.
    const QList<renaming::PreviewCell> cells =
        renaming::apercu(m_page.File1.path(), rows, settings);
    for (int i = 0; i < cells.size(); ++i) {
        const bool cannot = cells[i].text == renaming::kNonCompatible;
        list.setNewName(i, cells[i].text,
                        cannot ? refusedColour()
                               : (cells[i].marker ? markerColour() : nameColour()));
    }
    m_page.LV1->resizeColumnToContents(FileListModel::NewName);
}

void FileCommands::renomer()
{
    const FileListModel &list = *m_page.files;
    QList<renaming::RenameRow> rows;
    for (int i = 0; i < list.count(); ++i) {
        if (list.isChecked(i))
            rows.append({list.name(i), list.newName(i)});
    }
    // Names from tags may hold "/": those make folders inside the listed one.
    const bool fromTags = m_panel.settings().operation == renaming::Operation::DapresTag;
    if (fromTags)
        m_panel.rememberPattern();
    const QString folder = m_page.File1.path();
    const renaming::RenameOutcome outcome = renaming::renameFiles(folder, rows, fromTags);
    QList<files::MovedFile> renamed;
    for (const renaming::RenameRow &row : outcome.done)
        renamed.append({base::joinPath(folder, row.fichier), base::joinPath(folder, row.nouveau)});
    m_window.recordMoves(tr("Renommage"), renamed, outcome.createdFolders);
    m_page.File1.refresh();
    m_page.refillList();
    m_window.comptage();
    if (!outcome.refused.isEmpty())
        m_window.inform(outcome.message(), Dialogs::Icon::Warning);
}

QStringList FileCommands::checkedNames() const
{
    return m_page.files->checkedNames();
}

void FileCommands::reloadList()
{
    m_page.File1.refresh();
    m_page.refillList();
    m_page.LV1->clearSelection();
    m_page.editor->remsezerotag();
    m_window.comptage();
}

void FileCommands::reportFailures(files::Command command, const files::OperationReport &report)
{
    const QString message = files::failureMessage(command, report);
    if (!message.isEmpty())
        m_window.inform(message, Dialogs::Icon::Warning);
}

void FileCommands::copyOrMove(files::Command command)
{
    m_player->setFileName(QString());
    if (m_page.files->count() == 0)
        return;
    const QString question = command == files::Command::Copie
                                 ? tr("Voulez vous copier le(s) fichier(s) sélectionné(s) ?")
                                 : tr("Voulez vous déplacer le(s) fichier(s) sélectionné(s) ?");
    if (!m_window.confirm(question, productName))
        return;
    const QString source = m_page.File1.path();
    const QString target = m_window.chooseFolder(source);
    files::OperationReport report;
    if (!target.isEmpty()) {
        const QStringList names = checkedNames();
        report = command == files::Command::Copie ? files::copyFiles(source, names, target)
                                                  : files::moveFiles(source, names, target);
        m_window.recordMoves(tr("Déplacement"), report.moved, {});
    }
    reloadList();
    reportFailures(command, report);
}

void FileCommands::copie()
{
    copyOrMove(files::Command::Copie);
}

void FileCommands::deplac()
{
    copyOrMove(files::Command::Deplacement);
}

void FileCommands::supprim()
{
    deleteChecked(false);
}

void FileCommands::supprimDefinitif()
{
    deleteChecked(true);
}

void FileCommands::deleteChecked(bool forGood)
{
    m_page.Frame3->clear();
    m_deleting = true;
    m_player->stop();
    m_player->setFileName(QString());
    files::OperationReport report;
    const QStringList names = checkedNames();
    const QString question = deletionQuestion(
        forGood ? tr("Supprimer définitivement %1 : %2 ? Cette suppression ne peut "
                     "pas être annulée.")
                : tr("Mettre %1 à la corbeille : %2 ?"),
        names);
    if (!names.isEmpty() && m_window.confirm(question, productName)) {
        report = forGood ? files::deleteFilesForGood(m_page.File1.path(), names)
                         : files::deleteFiles(m_page.File1.path(), names);
        reloadList();
    }
    m_deleting = false;
    reportFailures(files::Command::Suppression, report);
}

void FileCommands::lecture()
{
    const QList<int> selected = m_page.selectedRows();
    if (selected.isEmpty())
        return;
    const QString name = m_page.files->name(selected.first());
    m_player->setFileName(base::joinPath(m_page.File1.path(), name));
    m_playFailed = false;
    m_player->play();
    if (m_playFailed)
        return;
    m_playTimer.start();
    m_window.setStatusPanel(1, tr("Lecture de : ") + name);
}

void FileCommands::arret()
{
    m_player->stop();
    m_player->setFileName(QString());
    m_window.setStatusPanel(1, QString());
}

void FileCommands::stoplecture()
{
    m_player->stop();
    m_window.setStatusPanel(1, QString());
}

void FileCommands::onTrackClicked()
{
    QTreeWidget *tracks = m_cd.LV2;
    const int row = tracks->indexOfTopLevelItem(tracks->currentItem());
    if (row >= 0)
        m_cdControl.setTrack(row + 1);
}

void FileCommands::followDeviceTrack()
{
    QTreeWidget *tracks = m_cd.LV2;
    const int track = m_cdControl.track();
    if (track >= 1 && track <= tracks->topLevelItemCount())
        tracks->setCurrentItem(tracks->topLevelItem(track - 1));
}

void FileCommands::resetDisc()
{
    m_cd.LV2->clear();
    m_cd.txtArtiste->clear();
    m_cd.txtAlbum->clear();
    m_cd.txtAnnee->clear();
    if (m_cd.txtGenre->count() > 0)
        m_cd.txtGenre->setCurrentIndex(0);
}

} // namespace app
