#include "files/undojournal.h"

#include "base/fileaccess.h"
#include "files/fileoperations.h"
#include "files/trash.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

// Makes the folder and the parents it lacks, adding each one made to `created`, parents first.
void makeFolders(const QString &folder, QStringList &created)
{
    QStringList missing;
    for (QString at = folder; !at.isEmpty() && !QFileInfo::exists(at); at = QFileInfo(at).path()) {
        if (missing.contains(at))
            break;
        missing.prepend(at);
    }
    for (const QString &at : std::as_const(missing)) {
        if (!QDir().mkdir(at))
            return;
        created.append(at);
    }
}

} // namespace

QString UndoReport::message() const
{
    if (failures.isEmpty())
        return {};
    QString text = QCoreApplication::translate("files", "Ces fichiers n'ont pas été restaurés :");
    for (const FileFailure &f : failures)
        text += QCoreApplication::translate("files", "\n« %1 » : %2").arg(f.fichier, f.raison);
    return text;
}

QString UndoJournal::lastLabel() const
{
    return m_undo.isEmpty() ? QString() : m_undo.last().label;
}

QString UndoJournal::redoLabel() const
{
    return m_redo.isEmpty() ? QString() : m_redo.last().label;
}

void UndoJournal::recordTagSaves(const QString &label, QList<tags::TagBackup> backups)
{
    if (backups.isEmpty())
        return;
    followRewrites(backups);
    m_undo.append({label, std::move(backups), {}, {}});
    m_redo.clear();
}

void UndoJournal::followRewrites(const QList<tags::TagBackup> &saved)
{
    QSet<QString> paths;
    for (const tags::TagBackup &backup : saved)
        paths.insert(backup.fichier());
    for (QList<Entry> *entries : {&m_undo, &m_redo}) {
        for (Entry &entry : *entries) {
            for (Moved &moved : entry.moves) {
                if (paths.contains(moved.step.to))
                    moved = recorded(moved.step);
            }
        }
    }
}

UndoJournal::Moved UndoJournal::recorded(const FileStep &step)
{
    struct stat st;
    if (::lstat(QFile::encodeName(step.to).constData(), &st) != 0)
        return {step};
    return {step, st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

void UndoJournal::recordMoves(const QString &label, const QList<MovedFile> &moves,
                              const QStringList &createdFolders)
{
    QList<FileStep> steps;
    for (const MovedFile &move : moves)
        steps.append({FileStep::Moved, move.from, move.to, {}});
    record(label, steps, createdFolders);
}

void UndoJournal::recordSteps(const QString &label, const QList<FileStep> &steps)
{
    record(label, steps, {});
}

void UndoJournal::record(const QString &label, const QList<FileStep> &steps,
                         const QStringList &createdFolders)
{
    Entry entry{label, {}, {}, createdFolders};
    for (const FileStep &step : steps) {
        if (const Moved done = recorded(step); done.inode != 0) {
            entry.moves.append(done);
            if (step.kind != FileStep::Moved)
                entry.redoable = false;
        }
    }
    if (entry.moves.isEmpty())
        return;
    m_undo.append(entry);
    m_redo.clear();
}

QString UndoJournal::undoStep(const FileStep &step)
{
    switch (step.kind) {
    case FileStep::Moved:
        return moveFile(step.to, step.from);
    case FileStep::Trashed:
        return restoreFromTrash({step.from, step.to, step.info});
    case FileStep::Created:
        if (::unlink(QFile::encodeName(step.to).constData()) != 0)
            return base::systemError(errno);
        return {};
    }
    return {};
}

std::optional<UndoJournal::Step> UndoJournal::take(Direction direction)
{
    QList<Entry> &entries = direction == Direction::Undo ? m_undo : m_redo;
    if (entries.isEmpty())
        return std::nullopt;
    Step step;
    step.m_direction = direction;
    step.m_todo = entries.takeLast();
    step.m_reverse.label = step.m_todo.label;
    return step;
}

void UndoJournal::runTags(Step &step, const tags::BatchControl &control, UndoReport &report)
{
    // Last change first: a file saved twice in one command goes back step by step.
    const QList<tags::TagBackup> walk(step.m_todo.tags.crbegin(), step.m_todo.tags.crend());
    QStringList files;
    for (const tags::TagBackup &backup : walk)
        files.append(backup.fichier());
    // Each restore is itself kept, so that it can be undone in turn.
    std::vector<std::optional<tags::TagBackup>> reverses(size_t(walk.size()));
    const QStringList errors = tags::runBatch(
        files,
        [&](qsizetype i) {
            tags::Result<tags::TagBackup> reverse = tags::TagBackup::before(files[i]);
            const QString error = walk[i].restore();
            if (error.isEmpty() && reverse.ok() && reverse.value().after().isEmpty())
                reverses[size_t(i)] = reverse.value();
            return error;
        },
        control);
    QList<tags::TagBackup> left;
    for (qsizetype i = 0; i < walk.size(); ++i) {
        if (errors[i] == tags::cancelledText()) {
            left.prepend(walk[i]);
            report.cancelled = true;
        } else if (!errors[i].isEmpty()) {
            report.failures.append({files[i], errors[i]});
        } else {
            ++report.restored;
            report.retagged.append(files[i]);
            if (reverses[size_t(i)])
                step.m_reverse.tags.append(*reverses[size_t(i)]);
        }
    }
    step.m_todo.tags = left;
}

void UndoJournal::runMoves(Step &step, const tags::BatchControl &control, qsizetype done,
                           qsizetype total, UndoReport &report)
{
    QList<Moved> &moves = step.m_todo.moves;
    while (!moves.isEmpty()) {
        if (control.cancel && control.cancel->load()) {
            report.cancelled = true;
            return;
        }
        const Moved moved = moves.takeLast();
        const FileStep &fileStep = moved.step;
        const QString &to = fileStep.to;
        const QString &from = fileStep.from;
        struct stat st;
        if (::lstat(QFile::encodeName(to).constData(), &st) != 0 || st.st_dev != moved.device ||
            st.st_ino != moved.inode) {
            report.failures.append(
                {to, QCoreApplication::translate(
                         "files", "a été supprimé, renommé ou remplacé depuis : il n'a pas été "
                                  "remis à sa place")});
        } else if (fileStep.kind == FileStep::Created &&
                   (st.st_size != moved.size || st.st_mtim.tv_sec != moved.modified.tv_sec ||
                    st.st_mtim.tv_nsec != moved.modified.tv_nsec)) {
            // A copy is removed only as the command left it: a change made since would be lost.
            report.failures.append(
                {to, QCoreApplication::translate(
                         "files", "a été modifié depuis la copie : il a été gardé")});
        } else {
            // A folder that undoing the command removed is made again to redo it.
            if (fileStep.kind == FileStep::Moved)
                makeFolders(QFileInfo(from).path(), step.m_reverse.createdFolders);
            if (const QString error = undoStep(fileStep); !error.isEmpty()) {
                report.failures.append({to, error});
            } else {
                ++report.restored;
                if (fileStep.kind == FileStep::Moved) {
                    report.moved.append({to, from});
                    step.m_reverse.moves.append(recorded({FileStep::Moved, to, from, {}}));
                }
            }
        }
        if (control.progress)
            control.progress(++done, total);
    }
    // Only empty folders go: rmdir refuses the others.
    for (auto folder = step.m_todo.createdFolders.crbegin();
         folder != step.m_todo.createdFolders.crend(); ++folder)
        ::rmdir(QFile::encodeName(*folder).constData());
    step.m_todo.createdFolders.clear();
}

UndoReport UndoJournal::run(Step &step, const tags::BatchControl &control)
{
    UndoReport report;
    const qsizetype tagCount = step.m_todo.tags.size();
    const qsizetype total = step.fileCount();
    tags::BatchControl tagControl = control;
    if (control.progress)
        tagControl.progress = [&](qsizetype done, qsizetype) { control.progress(done, total); };
    if (tagCount > 0)
        runTags(step, tagControl, report);
    if (!report.cancelled)
        runMoves(step, control, tagCount, total, report);
    return report;
}

void UndoJournal::putBack(Step step)
{
    followRewrites(step.m_reverse.tags);
    const bool undone = step.m_direction == Direction::Undo;
    // A copy or a deletion undone cannot be done again from the journal.
    if (!step.m_reverse.isEmpty() && step.m_todo.redoable)
        (undone ? m_redo : m_undo).append(step.m_reverse);
    if (!step.m_todo.isEmpty())
        (undone ? m_undo : m_redo).append(step.m_todo);
}

UndoReport UndoJournal::takeAndRun(Direction direction, const tags::BatchControl &control)
{
    std::optional<Step> step = take(direction);
    if (!step)
        return {};
    const UndoReport report = run(*step, control);
    putBack(std::move(*step));
    return report;
}

UndoReport UndoJournal::undo(const tags::BatchControl &control)
{
    return takeAndRun(Direction::Undo, control);
}

UndoReport UndoJournal::redo(const tags::BatchControl &control)
{
    return takeAndRun(Direction::Redo, control);
}

} // namespace files
