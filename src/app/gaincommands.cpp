#include "app/gaincommands.h"

#include "app/dialogs.h"
#include "app/filelistmodel.h"
#include "app/optionspage.h"
#include "app/tagpage.h"
#include "gain/gainjob.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace app {

namespace {

QString lufsText(const gain::Loudness &loudness)
{
    return loudness.measured() ? QString::number(loudness.lufs, 'f', 2) + QStringLiteral(" LUFS")
                               : QCoreApplication::translate("app::GainCommands", "silence");
}

QString gainOrNothing(const gain::Loudness &loudness)
{
    return loudness.measured() ? gain::gainText(loudness.lufs) : QString();
}

} // namespace

GainCommands::GainCommands(QWidget *owner, TagWindow &window, TagPage &page,
                           const OptionsPage &options, Dialogs &dialogs)
    : QObject(owner), m_owner(owner), m_window(window), m_page(page), m_options(options),
      m_dialogs(dialogs)
{
}

QStringList GainCommands::selectedFiles() const
{
    QStringList files;
    for (int row : m_page.selectedRows())
        files.append(m_page.files->path(row));
    return files;
}

void GainCommands::calculeGain()
{
    const QStringList files = selectedFiles();
    if (files.isEmpty()) {
        m_window.inform(tr("Sélectionnez les fichiers dont calculer le ReplayGain."),
                        Dialogs::Icon::Information);
        return;
    }
    QList<gain::FileGain> measured;
    m_window.runJob(
        files.size(), true,
        [&](const tags::BatchControl &control) {
            measured = gain::measureGain(files, true, control);
        },
        true, TagWindow::Stop::Cancel);
    m_window.clearJobProgress();
    if (std::any_of(measured.cbegin(), measured.cend(),
                    [](const gain::FileGain &f) { return f.error == tags::cancelledText(); })) {
        m_window.setStatusPanel(1, tr("Calcul du ReplayGain annulé"));
        return;
    }

    QList<QStringList> rows;
    QList<tags::BatchItem> items;
    for (const gain::FileGain &file : measured) {
        const QString name = QFileInfo(file.path).fileName();
        if (!file.error.isEmpty()) {
            rows.append({name, file.error});
            continue;
        }
        const double peak = file.track.truePeak;
        rows.append({name, lufsText(file.track), gainOrNothing(file.track), gain::peakText(peak),
                     file.album ? gainOrNothing(*file.album) : QString()});
        if (const std::optional<tags::FieldEdit> edit =
                gain::gainEdit(file, {.rva2 = m_options.writeRva2()}))
            items.append({file.path, *edit});
    }
    const QStringList headers = {tr("Fichier"), tr("Sonie"), tr("Gain piste"), tr("Crête"),
                                 tr("Gain album")};
    const QString text =
        items.isEmpty() ? tr("Aucun fichier n'a pu être mesuré.")
                        : tr("Écrire le ReplayGain dans ces fichiers (%1) ?").arg(items.size());
    if (!m_dialogs.reviewTable(m_owner, text, tr("Calculer le ReplayGain"), headers, rows) ||
        items.isEmpty())
        return;
    save(items, tr("ReplayGain de %1 fichiers").arg(items.size()));
}

void GainCommands::effaceGain()
{
    const QStringList files = selectedFiles();
    if (files.isEmpty())
        return;
    if (!m_window.confirm(
            tr("Effacer le ReplayGain des fichiers sélectionnés (%1) ?").arg(files.size()),
            tr("Effacer le ReplayGain")))
        return;
    QList<tags::BatchItem> items;
    for (const QString &file : files)
        items.append({file, gain::clearGainEdit()});
    save(items, tr("Effacement du ReplayGain de %1 fichiers").arg(files.size()));
}

void GainCommands::save(const QList<tags::BatchItem> &items, const QString &label)
{
    tags::BatchReport report;
    QList<tags::TagBackup> backups;
    m_window.runJob(items.size(), true, [&](const tags::BatchControl &control) {
        report = tags::saveBatch(items, control, &backups);
    });
    m_window.clearJobProgress();
    m_window.recordTagSaves(label, backups);
    m_window.setStatusPanel(
        1, tr("ReplayGain enregistré dans %1 fichiers sur %2").arg(report.saved).arg(items.size()));
    if (report.failures.isEmpty() || report.cancelled)
        return;
    QStringList lines;
    for (const tags::BatchFailure &failure : report.failures)
        lines.append(failure.raison);
    m_window.inform(lines.join(QLatin1Char('\n')), Dialogs::Icon::Warning);
}

} // namespace app
