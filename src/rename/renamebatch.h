#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace renaming {

// A checked row of the file list: its file name and its new-name cell.
struct RenameRow
{
    QString fichier;
    QString nouveau;
};

struct RenameRefusal
{
    QString fichier;
    QString nouveau;
    QString raison; // French
};

struct RenameOutcome
{
    int renamed = 0;
    QList<RenameRefusal> refused;
    // What was done, for undoing it: the rows renamed (in order), and the folders created for
    // them (full paths, parents before children).
    QList<RenameRow> done;
    QStringList createdFolders;

    // One French message naming every refused file; empty when none was refused.
    QString message() const;
    // One French line for the status bar: how many files were renamed, and each refused one
    // with its reason.
    QString summary() const;
};

// Renames each row's file in folder to its new name, in order. Rows whose cell is empty or a
// marker are skipped, a name equal to the old one is left alone; a name that is not acceptable
// or already taken, or a rename the system refuses, is collected and the next row goes on.
// An existing file is never replaced. With `folders`, a new name may hold "/": the folders it
// names are created inside `folder` as needed (an existing file or link of that name is not
// used as a folder), and removed again when the rename is refused.
RenameOutcome renameFiles(const QString &folder, const QList<RenameRow> &rows,
                          bool folders = false);

} // namespace renaming
