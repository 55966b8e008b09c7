#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace files {

// One file that changed name or folder: full paths before and after.
struct MovedFile
{
    QString from;
    QString to;
};

struct FileFailure
{
    QString fichier;
    QString raison; // French
};

// One change a command made to the files, full paths, for undoing it.
struct FileStep
{
    enum Kind { Moved, Trashed, Created };
    Kind kind = Moved;
    QString from; // Moved: the old path; Trashed: where the file was
    QString to;   // Moved: the new path; Trashed: the file in the trash; Created: the new file
    QString info; // Trashed: its ".trashinfo"
};

// What a command did to a list of files.
struct OperationReport
{
    int done = 0;
    int skipped = 0;        // existing files the user chose to keep
    bool cancelled = false; // the user stopped the command at a clash
    QList<FileFailure> failures;
    QList<FileStep> steps; // in the order done
};

// The user's answer when a file of the target folder has the name of a file copied or moved
// there.
enum class Clash { Replace, Skip, ReplaceAll, Cancel };
// Asked with the full path of the existing file.
using ClashQuestion = std::function<Clash(const QString &existing)>;

enum class Command { Copie, Deplacement, Suppression };

// One French message naming every failed file; empty when nothing failed.
QString failureMessage(Command command, const OperationReport &report);

// Copies each named file of source into target. A name may be a path below source
// ("Album/a.mp3"): the file goes into target itself, under its own name. A file of the target
// folder that has the name is replaced only when `ask` says so ("Tout remplacer" holds for the rest
// of the command), and goes to the trash first; a read-only one is never replaced, nor is a file
// copied onto itself. A target that is a link is written through: the file it leads to is replaced.
// Without `ask` every existing file is kept.
OperationReport copyFiles(const QString &source, const QStringList &names, const QString &target,
                          const ClashQuestion &ask = {});

// Moves each named file of source into target, replacing an existing file on the same terms as
// copyFiles. Across file systems the file is copied, the copy's size checked, and only then
// the original removed.
OperationReport moveFiles(const QString &source, const QStringList &names, const QString &target,
                          const ClashQuestion &ask = {});

// Moves each named file of folder to the desktop's trash (see moveToTrash), from where the user
// can restore it.
OperationReport deleteFiles(const QString &folder, const QStringList &names);

// Moves one file (full paths) as moveFiles does, never over an existing file; the French reason
// of a failure, or empty.
QString moveFile(const QString &from, const QString &to);

// Deletes each named file of folder for good: only on the user's explicit choice.
OperationReport deleteFilesForGood(const QString &folder, const QStringList &names);

} // namespace files
