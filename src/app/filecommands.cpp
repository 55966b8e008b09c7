#include "app/filecommands.h"

#include "app/cdpage.h"
#include "app/fileinfopanel.h"
#include "app/filelistmodel.h"
#include "app/renamepanel.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "base/fileaccess.h"
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
#include <QFileInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>

namespace app {

namespace {

using base::productName;

// The preview waits this long after a change, so that it follows typing without slowing it.
constexpr int previewDelayMs = 30;

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
    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(previewDelayMs);
    connect(m_previewTimer, &QTimer::timeout, this, [this] { showPreview(false); });
    connect(&m_panel, &RenamePanel::settingsChanged, this, &FileCommands::previewLater);
    const FileListModel *list = m_page.files;
    connect(list, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                if (roles.contains(Qt::CheckStateRole))
                    previewLater();
            });
    connect(list, &QAbstractItemModel::modelReset, this, &FileCommands::forgetPreview);
    connect(list, &FileListModel::tagsChanged, this, [this](const QStringList &paths) {
        for (const QString &path : paths)
            m_tagValues.remove(QFileInfo(path).fileName());
        previewLater();
    });

    connect(m_cd.LV2, &QTreeWidget::itemClicked, this, &FileCommands::onTrackClicked);
    connect(&m_trackTimer, &QTimer::timeout, this, &FileCommands::followDeviceTrack);
    connect(&m_cdControl, &cd::CdAudioControl::done, this, &FileCommands::resetDisc);
}

FileCommands::~FileCommands()
{
    if (m_tagReader) {
        *m_stopReading = true;
        m_tagReader->wait();
    }
}

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
    // Asked for: the tags are read again, whatever was read before.
    m_tagValues.clear();
    showPreview(true);
}

void FileCommands::previewLater()
{
    m_previewCurrent = false;
    if (m_page.files->count() > 0 && (m_previewShown || m_panel.isVisible()))
        m_previewTimer->start();
}

void FileCommands::forgetPreview()
{
    m_previewTimer->stop();
    m_previewCurrent = m_previewShown = false;
    m_tagValues.clear();
    ++m_listGeneration;
}

namespace {

tags::PatternValues readValues(const QString &path)
{
    const tags::Result<tags::PatternValues> read = tags::readPatternValues(path);
    // Unreadable tags give no value at all: every field the pattern uses is missing.
    return read.ok() ? *read : tags::PatternValues();
}

} // namespace

void FileCommands::showPreview(bool wait)
{
    m_previewTimer->stop();
    FileListModel &list = *m_page.files;
    const QString folder = m_page.File1.path();
    const renaming::RenameSettings settings = m_panel.settings();
    const bool fromTags = settings.operation == renaming::Operation::DapresTag;
    QList<renaming::PreviewRow> rows;
    rows.reserve(list.count());
    QStringList unread;
    for (int i = 0; i < list.count(); ++i) {
        renaming::PreviewRow row{list.name(i), list.isChecked(i), std::nullopt};
        if (fromTags && row.checked) {
            const auto read = m_tagValues.constFind(row.fichier);
            if (read != m_tagValues.cend())
                row.valeurs = *read;
            else
                unread.append(row.fichier);
        }
        rows.append(row);
    }
    if (!unread.isEmpty() && !wait) {
        readTagsInBackground(unread);
        return;
    }
    for (renaming::PreviewRow &row : rows) {
        if (fromTags && row.checked && !row.valeurs) {
            row.valeurs = readValues(base::joinPath(folder, row.fichier));
            m_tagValues.insert(row.fichier, *row.valeurs);
        }
    }

    const QList<renaming::PreviewCell> cells = renaming::apercu(rows, settings);
    QList<std::pair<QString, QColor>> shown;
    shown.reserve(cells.size());
    for (const renaming::PreviewCell &cell : cells) {
        const bool cannot = cell.text == renaming::kNonCompatible;
        shown.append({cell.text, cannot        ? refusedColour()
                                 : cell.marker ? markerColour()
                                               : nameColour()});
    }
    list.setNewNames(shown);
    // While typing, the column only widens for the longest name: measuring every cell would slow
    // the typing down.
    QTreeView *view = m_page.LV1;
    if (wait) {
        view->resizeColumnToContents(FileListModel::NewName);
    } else {
        const auto longest =
            std::max_element(cells.cbegin(), cells.cend(), [](const auto &a, const auto &b) {
                return a.text.size() < b.text.size();
            });
        const int wanted =
            longest == cells.cend()
                ? 0
                : view->fontMetrics().horizontalAdvance(longest->text + QStringLiteral("MM"));
        if (wanted > view->columnWidth(FileListModel::NewName))
            view->setColumnWidth(FileListModel::NewName, wanted);
    }
    m_previewCurrent = m_previewShown = true;
}

void FileCommands::readTagsInBackground(const QStringList &names)
{
    // A reading under way shows the preview again when done, and reads what is still missing.
    if (m_readingTags)
        return;
    if (m_tagReader)
        m_tagReader->wait();
    m_readingTags = true;
    m_stopReading = std::make_shared<std::atomic_bool>(false);
    m_tagReader.reset(QThread::create([this, folder = m_page.File1.path(), names,
                                       generation = m_listGeneration, stop = m_stopReading] {
        QHash<QString, tags::PatternValues> read;
        for (const QString &name : names) {
            if (*stop)
                return;
            read.insert(name, readValues(base::joinPath(folder, name)));
        }
        QMetaObject::invokeMethod(this, [this, read, generation] {
            m_readingTags = false;
            if (generation == m_listGeneration)
                m_tagValues.insert(read);
            if (!m_previewCurrent && (m_previewShown || m_panel.isVisible()))
                showPreview(false);
        });
    }));
    m_tagReader->start();
}

void FileCommands::renomer()
{
    FileListModel &list = *m_page.files;
    if (!m_previewCurrent && list.count() > 0) {
        // What is renamed is what the user saw: the preview first, then the question.
        showPreview(true);
        int named = 0;
        for (int i = 0; i < list.count(); ++i)
            named += list.isChecked(i) && !renaming::isMarkerOrEmpty(list.newName(i)) &&
                     list.newName(i) != list.name(i);
        if (named == 0) {
            m_window.setStatusPanel(
                1, tr("Aucun fichier à renommer : cochez les fichiers et choisissez leur nom."));
            return;
        }
        if (!m_window.confirm(tr("Renommer %1 fichier(s) comme l'aperçu l'indique ?").arg(named),
                              productName))
            return;
    }
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
    m_window.setStatusPanel(1, outcome.summary());
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

void FileCommands::reportOutcome(const QString &doneText, files::Command command,
                                 const files::OperationReport &report)
{
    QString status = doneText.arg(report.done);
    if (report.skipped > 0)
        status += tr(" ; gardés à la place : %1").arg(report.skipped);
    if (!report.failures.isEmpty())
        status += tr(" ; en échec : %1").arg(report.failures.size());
    if (report.cancelled)
        status += tr(" ; le reste a été annulé");
    m_window.setStatusPanel(1, status);
    const QString message = files::failureMessage(command, report);
    if (!message.isEmpty())
        m_window.inform(message, Dialogs::Icon::Warning);
}

files::Clash FileCommands::askClash(const QString &existing)
{
    const QString question = tr("Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?")
                                 .arg(base::shownPath(existing));
    switch (m_window.askReplaceOrCancel(question)) {
    case Dialogs::Replace::Replace:
        return files::Clash::Replace;
    case Dialogs::Replace::ReplaceAll:
        return files::Clash::ReplaceAll;
    case Dialogs::Replace::Cancel:
        return files::Clash::Cancel;
    case Dialogs::Replace::Skip:
        break;
    }
    return files::Clash::Skip;
}

void FileCommands::copyOrMove(files::Command command)
{
    m_player->setFileName(QString());
    if (m_page.files->count() == 0)
        return;
    const bool copy = command == files::Command::Copie;
    const QString question = copy ? tr("Voulez vous copier le(s) fichier(s) sélectionné(s) ?")
                                  : tr("Voulez vous déplacer le(s) fichier(s) sélectionné(s) ?");
    if (!m_window.confirm(question, productName))
        return;
    const QString source = m_page.File1.path();
    const QString target = m_window.chooseFolder(source);
    if (target.isEmpty()) {
        reloadList();
        return;
    }
    const QStringList names = checkedNames();
    const auto ask = [this](const QString &existing) { return askClash(existing); };
    const files::OperationReport report = copy ? files::copyFiles(source, names, target, ask)
                                               : files::moveFiles(source, names, target, ask);
    m_window.recordSteps(copy ? tr("Copie") : tr("Déplacement"), report.steps);
    reloadList();
    reportOutcome(copy ? tr("Fichiers copiés : %1") : tr("Fichiers déplacés : %1"), command,
                  report);
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
    const QStringList names = checkedNames();
    const QString question = deletionQuestion(
        forGood ? tr("Supprimer définitivement %1 : %2 ? Cette suppression ne peut "
                     "pas être annulée.")
                : tr("Mettre %1 à la corbeille : %2 ?"),
        names);
    if (names.isEmpty() || !m_window.confirm(question, productName)) {
        m_deleting = false;
        return;
    }
    const files::OperationReport report =
        forGood ? files::deleteFilesForGood(m_page.File1.path(), names)
                : files::deleteFiles(m_page.File1.path(), names);
    m_window.recordSteps(tr("Mise à la corbeille"), report.steps);
    reloadList();
    m_deleting = false;
    reportOutcome(forGood ? tr("Fichiers supprimés définitivement : %1")
                          : tr("Fichiers mis à la corbeille : %1"),
                  files::Command::Suppression, report);
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
    // Nothing of the disc before stays: neither its cover nor its MusicBrainz release.
    m_cd.setCover({});
    m_cd.musicBrainzReleaseId.clear();
    m_cd.musicBrainzArtistId.clear();
    m_cd.discNumber.clear();
    m_cd.txtArtiste->clear();
    m_cd.txtAlbum->clear();
    m_cd.txtAnnee->clear();
    if (m_cd.txtGenre->count() > 0)
        m_cd.txtGenre->setCurrentIndex(0);
}

} // namespace app
