#include "app/filecommands.h"

#include "app/cdpage.h"
#include "app/fileinfopanel.h"
#include "app/form1.h"
#include "app/renamepanel.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "cd/cdaudiocontrol.h"
#include "files/player.h"
#include "rename/preview.h"
#include "rename/renamebatch.h"
#include "rename/safefs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

namespace app {

namespace {

const QString kTitle = QStringLiteral("Tarvex");

} // namespace

FileCommands::FileCommands(Form1 &form, RenamePanel &panel, std::unique_ptr<files::Player> player)
    : QObject(&form), m_form(form), m_panel(panel), m_player(std::move(player))
{
    const std::pair<Procedure, void (FileCommands::*)()> procedures[] = {
        {Procedure::apercu, &FileCommands::apercu},   {Procedure::renomer, &FileCommands::renomer},
        {Procedure::copie, &FileCommands::copie},     {Procedure::deplac, &FileCommands::deplac},
        {Procedure::supprim, &FileCommands::supprim}, {Procedure::lecture, &FileCommands::lecture},
        {Procedure::arret, &FileCommands::arret},     {Procedure::stoplecture, &FileCommands::stoplecture},
    };
    for (const auto &[name, procedure] : procedures)
        m_form.setProcedure(name, [this, procedure] { (this->*procedure)(); });

    // A file the player cannot open ends the playback quietly, without the status text.
    m_player->setErrorHandler([this] {
        m_playFailed = true;
        m_form.Timer1->stop();
        m_form.setStatusPanel(1, QString());
    });

    // Neither timer shows anything at once; an interval of zero would spin the event loop.
    for (QTimer *timer : {m_form.Timer1, m_form.Timer4}) {
        if (timer->interval() == 0)
            timer->setInterval(1000);
    }
    connect(m_form.Frame6->LV2, &QTreeWidget::itemClicked, this, &FileCommands::onTrackClicked);
    connect(m_form.Timer4, &QTimer::timeout, this, &FileCommands::followDeviceTrack);
    connect(m_form.MMControl1, &cd::CdAudioControl::done, this, &FileCommands::resetDisc);
}

FileCommands::~FileCommands() = default;

QColor FileCommands::nameColour() const
{
    return m_form.Frame1->LV1->palette().color(QPalette::Active, QPalette::Text);
}

QColor FileCommands::markerColour() const
{
    return m_form.Frame1->LV1->palette().color(QPalette::Disabled, QPalette::Text);
}

void FileCommands::apercu()
{
    QTreeWidget *list = m_form.Frame1->LV1;
    const renaming::RenameSettings settings = m_panel.settings();
    const QBrush name(nameColour());
    const QBrush marker(markerColour());
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list->topLevelItem(i);
        const renaming::PreviewCell cell = renaming::previewCell(
            {row->text(TagPage::NameColumn), row->checkState(TagPage::NameColumn) == Qt::Checked},
            settings);
        row->setText(TagPage::NewNameColumn, cell.text);
        row->setForeground(TagPage::NewNameColumn, cell.marker ? marker : name);
    }
}

void FileCommands::renomer()
{
    QTreeWidget *list = m_form.Frame1->LV1;
    QList<renaming::RenameRow> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = list->topLevelItem(i);
        if (row->checkState(TagPage::NameColumn) == Qt::Checked)
            rows.append({row->text(TagPage::NameColumn), row->text(TagPage::NewNameColumn)});
    }
    const renaming::RenameOutcome outcome = renaming::renameFiles(m_form.Frame1->File1.path(), rows);
    m_form.Frame1->File1.refresh();
    m_form.Frame1->refillList();
    m_form.comptage();
    if (!outcome.refused.isEmpty())
        m_form.dialogs().inform(&m_form, outcome.message(), kTitle, Dialogs::Icon::Warning);
}

QStringList FileCommands::checkedNames() const
{
    QStringList names;
    const QTreeWidget *list = m_form.Frame1->LV1;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = list->topLevelItem(i);
        if (row->checkState(TagPage::NameColumn) == Qt::Checked)
            names.append(row->text(TagPage::NameColumn));
    }
    return names;
}

void FileCommands::reloadList()
{
    m_form.Frame1->File1.refresh();
    m_form.Frame1->refillList();
    m_form.Frame1->LV1->clearSelection();
    m_form.Frame1->editor->remsezerotag();
    m_form.comptage();
}

void FileCommands::reportFailures(files::Command command, const files::OperationReport &report)
{
    const QString message = files::failureMessage(command, report);
    if (!message.isEmpty())
        m_form.dialogs().inform(&m_form, message, kTitle, Dialogs::Icon::Warning);
}

void FileCommands::copyOrMove(files::Command command)
{
    m_player->setFileName(QString());
    if (m_form.Frame1->LV1->topLevelItemCount() == 0)
        return;
    const QString question = command == files::Command::Copie
                                 ? QStringLiteral("Voulez vous copier le(s) fichier(s) sélectionné(s) ?")
                                 : QStringLiteral("Voulez vous déplacer le(s) fichier(s) sélectionné(s) ?");
    if (!m_form.dialogs().confirm(&m_form, question, kTitle))
        return;
    const QString source = m_form.Frame1->File1.path();
    const QString target = m_form.dialogs().chooseFolder(&m_form, source);
    files::OperationReport report;
    if (!target.isEmpty()) {
        const QStringList names = checkedNames();
        report = command == files::Command::Copie ? files::copyFiles(source, names, target)
                                                  : files::moveFiles(source, names, target);
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
    m_form.Frame1->Frame3->clear();
    m_deleting = true;
    m_player->stop();
    m_player->setFileName(QString());
    files::OperationReport report;
    const bool confirmed =
        m_form.Frame1->LV1->topLevelItemCount() > 0 &&
        m_form.dialogs().confirm(&m_form, QStringLiteral("Voulez vous supprimer le(s) fichier(s) sélectionné(s) ?"), kTitle);
    if (confirmed) {
        report = files::deleteFiles(m_form.Frame1->File1.path(), checkedNames());
        reloadList();
    }
    m_deleting = false;
    reportFailures(files::Command::Suppression, report);
}

void FileCommands::lecture()
{
    const QTreeWidget *list = m_form.Frame1->LV1;
    if (list->topLevelItemCount() == 0)
        return;
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    const QString name = selected.first()->text(TagPage::NameColumn);
    m_player->setFileName(renaming::joinPath(m_form.Frame1->File1.path(), name));
    m_playFailed = false;
    m_player->play();
    if (m_playFailed)
        return;
    m_form.Timer1->start();
    m_form.setStatusPanel(1, QStringLiteral("Lecture de : ") + name);
}

void FileCommands::arret()
{
    m_player->stop();
    m_player->setFileName(QString());
    m_form.setStatusPanel(1, QString());
}

void FileCommands::stoplecture()
{
    m_player->stop();
    m_form.setStatusPanel(1, QString());
}

void FileCommands::onTrackClicked()
{
    QTreeWidget *tracks = m_form.Frame6->LV2;
    const int row = tracks->indexOfTopLevelItem(tracks->currentItem());
    if (row >= 0)
        m_form.MMControl1->setTrack(row + 1);
}

void FileCommands::followDeviceTrack()
{
    QTreeWidget *tracks = m_form.Frame6->LV2;
    const int track = m_form.MMControl1->track();
    if (track >= 1 && track <= tracks->topLevelItemCount())
        tracks->setCurrentItem(tracks->topLevelItem(track - 1));
}

void FileCommands::resetDisc()
{
    m_form.Frame6->LV2->clear();
    m_form.Frame6->txtArtiste->clear();
    m_form.Frame6->txtAlbum->clear();
    m_form.Frame6->txtAnnee->clear();
    if (m_form.Frame6->txtGenre->count() > 0)
        m_form.Frame6->txtGenre->setCurrentIndex(0);
}

} // namespace app
