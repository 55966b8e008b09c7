#include "app/tagcommands.h"

#include "app/dialogs.h"
#include "app/filecommands.h"
#include "app/fileinfopanel.h"
#include "app/filelistmodel.h"
#include "app/identifydialog.h"
#include "app/optionspage.h"
#include "app/renamepanel.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "base/product.h"
#include "cd/httpfetch.h"
#include "mpeg/fileinfo.h"
#include "tags/tagbatch.h"
#include "tags/tagpattern.h"
#include "tags/tagsave.h"
#include "tags/zelltagctrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTreeView>

#include <utility>

namespace app {

namespace {

// The files named by the failures of a batch, each once.
QStringList failedFiles(const tags::BatchReport &report)
{
    QStringList files;
    for (const tags::BatchFailure &failure : report.failures) {
        if (!files.contains(failure.fichier))
            files.append(failure.fichier);
    }
    return files;
}

// One message for the files a batch could not save: each file and its reason, the first twenty.
QString batchFailureMessage(const tags::BatchReport &report)
{
    constexpr int shown = 20;
    QStringList lines;
    for (const tags::BatchFailure &failure : report.failures.mid(0, shown))
        lines.append(QStringLiteral("« %1 » : %2")
                         .arg(QFileInfo(failure.fichier).fileName(), failure.raison));
    if (report.failures.size() > shown)
        lines.append(QCoreApplication::translate("app::TagCommands", "et %1 autres.")
                         .arg(report.failures.size() - shown));
    return QCoreApplication::translate("app::TagCommands",
                                       "Le tag n'a pas pu être enregistré dans %1 fichier(s) :\n")
               .arg(failedFiles(report).size()) +
           lines.join(u'\n');
}

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
    const auto update = [this] { updateAvailability(); };
    connect(page.editor, &TagEditorPanel::shownFileChanged, this, update);
    connect(page.TS1, &QTabBar::currentChanged, this, update);
    connect(page.Combo7, &QComboBox::currentIndexChanged, this, update);
    // The editor follows the selection, however it changed.
    QItemSelectionModel *selection = page.LV1->selectionModel();
    const auto follow = [this] {
        updateAvailability();
        selectFileLater();
    };
    connect(selection, &QItemSelectionModel::selectionChanged, this, follow);
    connect(selection, &QItemSelectionModel::currentChanged, this, follow);
    // A new listing drops the selection without a selection signal.
    connect(page.files, &QAbstractItemModel::modelReset, this, [this, follow] {
        m_listReset = true;
        follow();
    });
    connect(page.cmdRemplirNom, &QPushButton::clicked, this, &TagCommands::fillFromName);
    connect(page.cmdIdentifier, &QPushButton::clicked, this, &TagCommands::identifyOnline);
}

bool TagCommands::settleUnsavedEdits()
{
    TagEditorPanel &editor = *m_page.editor;
    if (m_saving)
        return false;
    if (!editor.hasUnsavedEdits())
        return true;
    switch (m_window.askUnsaved(tr("Enregistrer les modifications ?"))) {
    case Dialogs::Unsaved::Save:
        return saveShown();
    case Dialogs::Unsaved::Discard:
        editor.showTagsOfFiles(editor.shownFiles());
        return true;
    case Dialogs::Unsaved::Cancel:
        break;
    }
    return false;
}

void TagCommands::selectFileLater()
{
    if (std::exchange(m_selectionPending, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_selectionPending = false;
            selectFile();
        },
        Qt::QueuedConnection);
}

void TagCommands::selectFile()
{
    if (m_selecting || m_saving)
        return;
    const QScopedValueRollback selecting(m_selecting, true);
    TagEditorPanel &editor = *m_page.editor;
    if (std::exchange(m_listReset, false) && m_page.selectedRows().isEmpty())
        m_page.selectFiles(editor.shownFiles());
    if (selectedFiles() == editor.shownFiles())
        return;
    if (!settleUnsavedEdits()) {
        // Back on the rows of the files whose edits are kept.
        m_page.selectFiles(editor.shownFiles());
        updateAvailability();
        return;
    }
    showFiles(selectedFiles());
}

void TagCommands::reloadShown()
{
    m_listReset = false;
    const QStringList shown = m_page.editor->shownFiles();
    QStringList files = selectedFiles();
    if (files != shown) {
        m_page.selectFiles(shown);
        files = selectedFiles();
    }
    showFiles(files);
}

void TagCommands::showFiles(const QStringList &files)
{
    TagPage &page = m_page;
    TagEditorPanel &editor = *page.editor;
    editor.remsezerotag();
    editor.chkv1->setChecked(false);
    editor.chkv2->setChecked(false);
    editor.enableVersion(1);
    editor.enableVersion(2);
    m_files.stoplecture();
    page.Frame3->clear();
    if (files.isEmpty()) {
        m_window.setStatusPanel(1, QString());
        return;
    }
    // Several rows (Ctrl or Shift click): the values they share, for editing them all at once.
    if (files.size() > 1) {
        editor.fillGenreLists();
        showSeveral(files);
        m_window.setStatusPanel(1, tr("%1 fichiers sélectionnés").arg(files.size()));
        return;
    }
    const QString path = files.first();
    m_window.setChosenFile(path);
    if (const int row = page.files->rowOf(QFileInfo(path).fileName());
        row >= 0 && page.files->isChecked(row))
        m_rename.offerManualName(page.files->name(row));
    m_window.setStatusPanel(1, QString());
    if (m_files.isDeleting())
        return;
    mpeg::FileInfo info;
    mpeg::readFileInfo(path, info);
    showFileInfo(*page.Frame3, info);
    tags::ZellTagCtrl().WinampForm(path, *page.editor);
}

void TagCommands::showSeveral(const QStringList &files)
{
    TagEditorPanel::ReadTags read;
    m_saving = true;
    m_window.runJob(files.size(), false, [&](const tags::BatchControl &control) {
        read = TagEditorPanel::readTags(files, control.progress);
    });
    m_saving = false;
    m_page.editor->showTags(files, read);
}

QStringList TagCommands::selectedFiles() const
{
    QStringList files;
    for (int row : m_page.selectedRows())
        files.append(m_page.files->path(row));
    return files;
}

void TagCommands::updateAvailability()
{
    const TagPage &page = m_page;
    const QStringList shown = page.editor->shownFiles();
    const int sub = page.TS1->currentIndex();
    const bool available =
        !m_saving && m_window.showsTagPage() && (sub == TagPage::TagV1 || sub == TagPage::TagV2) &&
        page.Combo7->currentIndex() == 0 && !shown.isEmpty() && shown == selectedFiles();
    m_window.setTagCommandsEnabled(available);
}

tags::FixedTexts TagCommands::fixedTexts() const
{
    tags::FixedTexts texts =
        tags::defaultTexts(m_options.defaultComment(), m_options.defaultEncoder());
    texts.writeV23 = m_options.writeTagsV23();
    return texts;
}

bool TagCommands::saveOne(const QString &path, QList<tags::TagBackup> &backups)
{
    if (path.isEmpty())
        return false;
    std::optional<tags::TagBackup> backup;
    const tags::Result<bool> saved = m_page.editor->BtnUpdate(path, fixedTexts(), &backup);
    if (backup)
        backups.append(*backup);
    return reportSaved(path, saved);
}

bool TagCommands::saveTags(const QString &path, const QString &label)
{
    QList<tags::TagBackup> backups;
    const bool saved = saveOne(path, backups);
    m_window.recordTagSaves(label, backups);
    return saved;
}

bool TagCommands::saveShown()
{
    const QStringList files = m_page.editor->shownFiles();
    if (files.size() > 1)
        return saveSeveral(files);
    return saveTags(m_page.editor->shownFile());
}

bool TagCommands::saveSeveral(const QStringList &files)
{
    QList<tags::BatchItem> items;
    for (const tags::FieldEdit &edit : m_page.editor->savedEdits(fixedTexts())) {
        for (const QString &file : files)
            items.append({file, edit});
    }
    if (items.isEmpty()) {
        m_page.editor->markSaved();
        return true;
    }
    return runBatchSave(items, files, tr("Enregistrement du tag de %1 fichiers").arg(files.size()));
}

bool TagCommands::runBatchSave(const QList<tags::BatchItem> &items, const QStringList &files,
                               const QString &label)
{
    // The files are written by worker threads while the window stays drawn; the tag commands
    // stay off until the batch ends.
    m_saving = true;
    updateAvailability();
    tags::BatchReport report;
    QList<tags::TagBackup> backups;
    m_window.runJob(items.size(), true, [&](const tags::BatchControl &control) {
        report = tags::saveBatch(items, control, &backups);
    });
    m_saving = false;
    m_window.recordTagSaves(label, backups);
    m_window.clearJobProgress();

    m_window.setStatusPanel(1, tr("Tag enregistré dans %1 fichiers sur %2")
                                   .arg(files.size() - failedFiles(report).size())
                                   .arg(files.size()));
    if (!report.failures.isEmpty() && !report.cancelled)
        m_window.inform(batchFailureMessage(report), Dialogs::Icon::Warning);
    // The fields show what the files now hold, so that no value shows as shared that a file
    // lacks, and the defaults of the options show as written.
    showSeveral(files);
    updateAvailability();
    selectFileLater();
    return report.failures.isEmpty();
}

void TagCommands::fillFromName()
{
    TagEditorPanel &editor = *m_page.editor;
    const QStringList files = editor.shownFiles();
    const QString pattern = m_page.cboModeleTag->currentText();
    if (files.isEmpty())
        return;
    if (const QString fault = tags::patternError(pattern); !fault.isEmpty()) {
        m_window.inform(tr("Modèle invalide : %1").arg(fault), Dialogs::Icon::Warning);
        return;
    }
    const int version = m_page.TS1->currentIndex() == TagPage::TagV1 ? 1 : 2;
    tags::FieldEdit base;
    (version == 1 ? base.v1 : base.v2) = true;
    QList<tags::BatchItem> items;
    QStringList lines, misfits;
    for (const QString &file : files) {
        const std::optional<tags::FieldEdit> edit = tags::editFromName(pattern, file, base);
        if (!edit) {
            misfits.append(tags::nameMismatch(pattern, file));
            continue;
        }
        items.append({file, *edit});
        lines.append(QStringLiteral("« %1 » : %2")
                         .arg(QFileInfo(file).fileName(), tags::describeEdit(*edit)));
    }
    if (files.size() == 1) {
        if (items.isEmpty())
            m_window.inform(misfits.value(0), Dialogs::Icon::Warning);
        else
            editor.showEdit(version, items.first().edit);
        return;
    }
    // Several files: what each one will get is shown before anything is written.
    constexpr int shown = 15;
    QString question =
        tr("Remplir le tag de %1 fichier(s) d'après leur nom ?\n\n").arg(items.size()) +
        lines.mid(0, shown).join(u'\n');
    if (lines.size() > shown)
        question += tr("\net %1 autres.").arg(lines.size() - shown);
    if (!misfits.isEmpty())
        question += tr("\n\nLaissés tels quels :\n") + misfits.mid(0, 5).join(u'\n');
    if (items.isEmpty() || !m_window.confirm(question, productName))
        return;
    runBatchSave(items, files, tr("Remplissage du tag d'après le nom"));
}

void TagCommands::identifyOnline()
{
    const QStringList files = m_page.editor->shownFiles();
    if (files.isEmpty() || !settleUnsavedEdits())
        return;
    const online::LookupSettings lookup = m_options.lookupSettings();
    online::IdentifySettings settings;
    settings.musicBrainzUrl = lookup.musicBrainzUrl;
    settings.acoustIdUrl = lookup.acoustIdUrl;
    settings.acoustIdKey = lookup.acoustIdKey;
    settings.email = lookup.email;
    // The services are asked and the files fingerprinted off the window's thread; the window
    // stays drawn and "Arrêter" stops before the next request. The steps reach the status bar
    // through `receiver`, which drops those still on their way when the job ends.
    m_saving = true; // the tag commands stay off while the services answer
    updateAvailability();
    m_window.setStatusPanel(1, tr("Identification en ligne…"));
    online::Identification found;
    {
        QObject receiver;
        m_window.runJob(
            files.size(), true,
            [&](const tags::BatchControl &control) {
                settings.cancel = control.cancel;
                cd::HttpFetch fetch;
                found = online::identifyFiles(
                    files, settings, fetch, [this, &receiver](const QString &step) {
                        QMetaObject::invokeMethod(
                            &receiver, [this, step] { m_window.setStatusPanel(1, step); },
                            Qt::QueuedConnection);
                    });
            },
            true);
    }
    m_saving = false;
    updateAvailability();
    m_window.setStatusPanel(1, QString());
    if (found.cancelled)
        return;
    QStringList failures;
    bool anyRelease = false;
    for (const online::AlbumIdentification &album : found.albums) {
        failures += album.failures;
        anyRelease = anyRelease || !album.releases.isEmpty();
    }
    if (!anyRelease) {
        failures.removeDuplicates();
        m_window.inform(failures.join(u'\n'), Dialogs::Icon::Warning);
        return;
    }
    IdentifyDialog dialog(found, m_page.window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    QList<IdentifyDialog::Choice> chosen = dialog.chosenReleases();
    if (dialog.chkPochette->isChecked() && !chosen.isEmpty()) {
        QStringList noCovers;
        m_window.runJob(
            chosen.size(), false,
            [&](const tags::BatchControl &) {
                cd::HttpFetch fetch;
                for (IdentifyDialog::Choice &choice : chosen) {
                    const QString noCover =
                        online::addFrontCover(choice.edits, choice.releaseId, fetch,
                                              lookup.coverUrl, lookup.coverMaxBytes);
                    if (!noCover.isEmpty())
                        noCovers.append(noCover);
                }
            },
            true);
        noCovers.removeDuplicates();
        if (!noCovers.isEmpty())
            m_window.inform(noCovers.join(u'\n'), Dialogs::Icon::Warning);
    }
    QList<tags::BatchItem> items;
    QStringList written;
    for (const IdentifyDialog::Choice &choice : std::as_const(chosen)) {
        for (const tags::BatchItem &item : choice.edits) {
            items.append(item);
            written.append(item.fichier);
        }
    }
    if (!items.isEmpty())
        runBatchSave(items, written, tr("Identification en ligne"));
}

bool TagCommands::reportSaved(const QString &path, const tags::Result<bool> &saved)
{
    if (saved.ok() && saved.value())
        return true;
    QString reason = saved.error();
    if (reason.isEmpty())
        reason = QFileInfo(path).exists() ? tr("le fichier ne peut pas être modifié.")
                                          : tr("le fichier n'existe plus.");
    m_window.inform(tr("Le tag de « %1 » n'a pas pu être enregistré : %2")
                        .arg(QFileInfo(path).fileName(), reason),
                    Dialogs::Icon::Error);
    return false;
}

void TagCommands::enreID()
{
    const QString file = m_page.editor->shownFile();
    if (file.isEmpty() || !m_window.confirmTagSave(tr("Voulez vous enregistrer le Tag ?")))
        return;
    if (m_page.editor->shownFiles().size() > 1)
        saveSeveral(m_page.editor->shownFiles());
    else if (saveTags(file))
        m_page.editor->showTagsOfFile(file);
}

void TagCommands::suppID()
{
    TagEditorPanel &editor = *m_page.editor;
    const QStringList files = editor.shownFiles();
    if (files.isEmpty() || !m_window.confirm(tr("Voulez vous supprimer le Tag ?"), productName))
        return;
    // Each shown file loses its tags as if it were shown alone; undone in one step.
    QList<tags::TagBackup> backups;
    for (const QString &file : files) {
        editor.remsezerotag();
        saveOne(file, backups);
    }
    m_window.recordTagSaves(tr("Suppression du tag"), backups);
    showSeveral(files);
}

void TagCommands::copieID()
{
    TagEditorPanel &editor = *m_page.editor;
    const QStringList files = editor.shownFiles();
    if (files.isEmpty() || !m_window.confirm(tr("Voulez vous copier le Tag ?"), productName))
        return;
    const bool fromV1 = m_page.TS1->currentIndex() == TagPage::TagV1;
    // Each shown file gets its own values copied from one version to the other; undone in one
    // step.
    QList<tags::TagBackup> backups;
    for (const QString &file : files) {
        if (files.size() > 1)
            editor.showTagsOfFile(file);
        if (fromV1)
            editor.copyV1FieldsToV2();
        else
            editor.copyV2FieldsToV1();
        saveOne(file, backups);
    }
    m_window.recordTagSaves(tr("Copie du tag"), backups);
    showSeveral(files);
}

} // namespace app
