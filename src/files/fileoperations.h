#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

// What a command did to a list of files.
struct OperationReport
{
    int done = 0;
    int skipped = 0; // copies of a file onto itself
    QList<FileFailure> failures;
    QList<MovedFile> moved; // moves done, full paths, for the undo journal
};

enum class Command { Copie, Deplacement, Suppression };

// One French message naming every failed file; empty when nothing failed.
QString failureMessage(Command command, const OperationReport &report);

// Copies each named file of source into target. An existing target is replaced atomically
// (through a temporary file beside it) unless it is read-only; a file is never copied onto
// itself.
OperationReport copyFiles(const QString &source, const QStringList &names, const QString &target);

// Moves each named file of source into target without ever replacing an existing file. Across
// file systems the file is copied, the copy's size checked, and only then the original removed.
OperationReport moveFiles(const QString &source, const QStringList &names, const QString &target);

// Moves each named file of folder to the desktop's trash, from where the user can restore it.
OperationReport deleteFiles(const QString &folder, const QStringList &names);

// Moves one file (full paths) as moveFiles does; the French reason of a failure, or empty.
QString moveFile(const QString &from, const QString &to);

// Deletes each named file of folder for good: only on the user's explicit choice.
OperationReport deleteFilesForGood(const QString &folder, const QStringList &names);

} // namespace files
