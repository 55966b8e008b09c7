#include "app/undocommands.h"

#include "app/tagwindow.h"

#include <QAction>

namespace app {

UndoCommands::UndoCommands(QObject *parent, TagWindow &window, QAction &undo, QAction &redo)
    : QObject(parent), m_window(window), m_undo(undo), m_redo(redo)
{
    m_undo.setShortcut(QKeySequence::Undo);
    m_redo.setShortcuts(QKeySequence::Redo);
    updateActions();
}

void UndoCommands::recordTagSaves(const QString &label, QList<tags::TagBackup> backups)
{
    if (backups.isEmpty())
        return;
    m_journal.recordTagSaves(label, std::move(backups));
    ++m_recorded;
    updateActions();
}

void UndoCommands::recordMoves(const QString &label, const QList<files::MovedFile> &moves,
                               const QStringList &createdFolders)
{
    if (moves.isEmpty())
        return;
    m_journal.recordMoves(label, moves, createdFolders);
    ++m_recorded;
    updateActions();
}

void UndoCommands::recordSteps(const QString &label, const QList<files::FileStep> &steps)
{
    if (steps.isEmpty())
        return;
    m_journal.recordSteps(label, steps);
    ++m_recorded;
    updateActions();
}

files::UndoReport UndoCommands::annuler()
{
    return runStep(files::UndoJournal::Direction::Undo);
}

files::UndoReport UndoCommands::retablir()
{
    return runStep(files::UndoJournal::Direction::Redo);
}

files::UndoReport UndoCommands::runStep(files::UndoJournal::Direction direction)
{
    if (m_running)
        return {};
    std::optional<files::UndoJournal::Step> step = m_journal.take(direction);
    if (!step)
        return {};
    m_running = true;
    updateActions();
    files::UndoReport report;
    m_window.runJob(step->fileCount(), true, [&](const tags::BatchControl &control) {
        report = files::UndoJournal::run(*step, control);
    });
    m_journal.putBack(std::move(*step));
    m_running = false;
    updateActions();
    m_window.clearJobProgress();
    if (!report.failures.isEmpty())
        m_window.inform(report.message(), Dialogs::Icon::Warning);
    return report;
}

void UndoCommands::updateActions()
{
    m_undo.setEnabled(!m_running && !m_journal.isEmpty());
    m_undo.setText(m_journal.isEmpty() ? tr("&Annuler")
                                       : tr("&Annuler : %1").arg(m_journal.lastLabel()));
    m_redo.setEnabled(!m_running && m_journal.canRedo());
    m_redo.setText(m_journal.canRedo() ? tr("Ré&tablir : %1").arg(m_journal.redoLabel())
                                       : tr("Ré&tablir"));
}

} // namespace app
