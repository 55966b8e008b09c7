#include "app/tagcommands.h"

#include "app/dialogs.h"
#include "app/filecommands.h"
#include "app/fileinfopanel.h"
#include "app/optionspage.h"
#include "app/renamepanel.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "base/product.h"
#include "mpeg/fileinfo.h"
#include "tags/tagsave.h"
#include "tags/zelltagctrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeWidget>

namespace app {

namespace {

using base::productName;

void showFileInfo(FileInfoPanel &panel, const mpeg::FileInfo &info)
{
    const auto texts = mpeg::labelTexts(info);
    const QList<QLabel *> labels = panel.labels();
    for (qsizetype i = 0; i < labels.size() && i < texts.size(); ++i)
        labels[i]->setText(texts[i].second);
}

} // namespace

TagCommands::TagCommands(QObject *parent, TagWindow &window, TagPage &page,
                         const OptionsPage &options, RenamePanel &rename, FileCommands &files)
    : QObject(parent), m_window(window), m_page(page), m_options(options), m_rename(rename),
      m_files(files)
{
    connect(page.LV1, &QTreeWidget::itemClicked, this, &TagCommands::selectFile);
    const auto update = [this] { updateAvailability(); };
    connect(page.editor, &TagEditorPanel::shownFileChanged, this, update);
    connect(page.TS1, &QTabBar::currentChanged, this, update);
    connect(page.Combo7, &QComboBox::currentIndexChanged, this, update);
    connect(page.LV1, &QTreeWidget::itemSelectionChanged, this, update);
}

bool TagCommands::settleUnsavedEdits()
{
    TagEditorPanel &editor = *m_page.editor;
    if (!editor.hasUnsavedEdits())
        return true;
    const QString file = editor.shownFile();
    switch (m_window.askUnsaved(QStringLiteral("Enregistrer les modifications ?"))) {
    case Dialogs::Unsaved::Save:
        return saveTags(file);
    case Dialogs::Unsaved::Discard:
        editor.showTagsOfFile(file);
        return true;
    case Dialogs::Unsaved::Cancel:
        break;
    }
    return false;
}

void TagCommands::selectFile()
{
    TagPage &page = m_page;
    TagEditorPanel &editor = *page.editor;
    if (!settleUnsavedEdits()) {
        // Back on the row of the file whose edits are kept.
        const QString name = QFileInfo(editor.shownFile()).fileName();
        if (QTreeWidgetItem *row =
                page.LV1->findItems(name, Qt::MatchExactly, TagPage::NameColumn).value(0)) {
            const QSignalBlocker blocker(page.LV1);
            page.LV1->setCurrentItem(row);
        }
        updateAvailability();
        return;
    }
    editor.remsezerotag();
    editor.chkv1->setChecked(false);
    editor.chkv2->setChecked(false);
    editor.enableVersion(1);
    editor.enableVersion(2);

    QTreeWidgetItem *selected = page.LV1->currentItem();
    if (!selected || !selected->isSelected())
        return;
    m_window.setChosenFile(page.File1.filePath(selected->text(TagPage::NameColumn)));
    if (selected->checkState(TagPage::NameColumn) == Qt::Checked)
        m_rename.offerManualName(selected->text(TagPage::NameColumn));
    m_files.stoplecture();
    m_window.setStatusPanel(1, QString());

    page.Frame3->clear();
    if (m_files.isDeleting())
        return;
    const QString path = m_window.chosenFile();
    mpeg::FileInfo info;
    mpeg::readFileInfo(path, info);
    showFileInfo(*page.Frame3, info);
    tags::ZellTagCtrl().WinampForm(path, *page.editor);
}

void TagCommands::updateAvailability()
{
    const TagPage &page = m_page;
    const QString shown = page.editor->shownFile();
    const int sub = page.TS1->currentIndex();
    const QTreeWidgetItem *row = page.LV1->currentItem();
    const bool available =
        m_window.showsTagPage() && (sub == TagPage::TagV1 || sub == TagPage::TagV2) &&
        page.Combo7->currentIndex() == 0 && !shown.isEmpty() && row && row->isSelected() &&
        page.File1.filePath(row->text(TagPage::NameColumn)) == shown;
    m_window.setTagCommandsEnabled(available);
}

bool TagCommands::saveTags(const QString &path, const QString &label)
{
    if (path.isEmpty())
        return false;
    std::optional<tags::TagBackup> backup;
    const tags::Result<bool> saved = m_page.editor->BtnUpdate(
        path, tags::defaultTexts(m_options.defaultComment(), m_options.defaultEncoder()), &backup);
    if (backup)
        m_window.recordTagSaves(label, {*backup});
    return reportSaved(path, saved);
}

bool TagCommands::saveRecord(const QString &path, const tags::TagType &record)
{
    tags::TagChanges changes;
    changes.v1 = record.TagV1;
    changes.v2 = record.TagV2;
    return reportSaved(path, tags::saveChanges(path, changes));
}

bool TagCommands::reportSaved(const QString &path, const tags::Result<bool> &saved)
{
    if (saved.ok() && saved.value())
        return true;
    QString reason = saved.error();
    if (reason.isEmpty())
        reason = QFileInfo(path).exists() ? QStringLiteral("le fichier ne peut pas être modifié.")
                                          : QStringLiteral("le fichier n'existe plus.");
    m_window.inform(QStringLiteral("Le tag de « %1 » n'a pas pu être enregistré : %2")
                        .arg(QFileInfo(path).fileName(), reason),
                    Dialogs::Icon::Error);
    return false;
}

void TagCommands::enreID()
{
    const QString file = m_page.editor->shownFile();
    if (file.isEmpty() ||
        !m_window.confirm(QStringLiteral("Voulez vous enregistrer le Tag ?"), productName))
        return;
    if (saveTags(file))
        m_page.editor->showTagsOfFile(file);
}

void TagCommands::suppID()
{
    TagEditorPanel &editor = *m_page.editor;
    const QString file = editor.shownFile();
    if (file.isEmpty() ||
        !m_window.confirm(QStringLiteral("Voulez vous supprimer le Tag ?"), productName))
        return;
    editor.remsezerotag();
    if (saveTags(file, QStringLiteral("Suppression du tag")))
        editor.showTagsOfFile(file);
}

void TagCommands::copieID()
{
    TagPage &page = m_page;
    const QString file = page.editor->shownFile();
    if (file.isEmpty() ||
        !m_window.confirm(QStringLiteral("Voulez vous copier le Tag ?"), productName))
        return;
    const bool fromV1 = page.TS1->currentIndex() == TagPage::TagV1;
    bool saved = false;
    for (QTreeWidgetItem *row : page.LV1->selectedItems()) {
        Q_UNUSED(row);
        if (fromV1)
            page.editor->copyV1FieldsToV2();
        else
            page.editor->copyV2FieldsToV1();
        saved = saveTags(file, QStringLiteral("Copie du tag"));
    }
    if (saved)
        page.editor->showTagsOfFile(file);
}

} // namespace app
