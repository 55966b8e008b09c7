#include "app/undocommands.h"

#include "app/filewindow.h"

#include <QAction>

namespace app {

UndoCommands::UndoCommands(QObject *parent, FileWindow &window, QAction &action)
    : QObject(parent), m_window(window), m_action(action)
{
    m_action.setShortcut(QKeySequence::Undo);
    updateAction();
}

void UndoCommands::recordTagSaves(const QString &label, QList<tags::TagBackup> backups)
{
    if (backups.isEmpty())
        return;
    m_journal.recordTagSaves(label, std::move(backups));
    ++m_recorded;
    updateAction();
}

void UndoCommands::recordMoves(const QString &label, const QList<files::MovedFile> &moves,
                               const QStringList &createdFolders)
{
    if (moves.isEmpty())
        return;
    m_journal.recordMoves(label, moves, createdFolders);
    ++m_recorded;
    updateAction();
}

void UndoCommands::recordSteps(const QString &label, const QList<files::FileStep> &steps)
{
    if (steps.isEmpty())
        return;
    m_journal.recordSteps(label, steps);
    ++m_recorded;
    updateAction();
}

void UndoCommands::annuler()
{
    if (m_journal.isEmpty())
        return;
    const files::UndoReport report = m_journal.undo();
    updateAction();
    if (!report.failures.isEmpty())
        m_window.inform(report.message(), Dialogs::Icon::Warning);
}

void UndoCommands::updateAction()
{
    m_action.setEnabled(!m_journal.isEmpty());
    m_action.setText(m_journal.isEmpty() ? tr("&Annuler")
                                         : tr("&Annuler : %1").arg(m_journal.lastLabel()));
}

} // namespace app
