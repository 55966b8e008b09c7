#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace files {

// A file put into a trash: where it was, where it now is and the ".trashinfo" that tells the
// desktop where it came from.
struct TrashedFile
{
    QString original;
    QString trashed; // inside the trash's "files" folder
    QString info;    // inside the trash's "info" folder
};

// The user's own trash: "$XDG_DATA_HOME/Trash", or "~/.local/share/Trash" when that variable is
// unset, empty or not an absolute path.
QString homeTrash();

// The ".trashinfo" text of a file: its path, percent-encoded ("/" kept), and the deletion time
// in local time, to the second.
QByteArray trashInfo(const QByteArray &path, const QDateTime &deleted);

// Moves a file (a link is moved, not followed) to the trash of its file system, as the
// desktop's file managers do: the user's own trash when the file lies on the same file system,
// created as needed (mode 0700, with "files" and "info"); otherwise "$topdir/.Trash-$uid" at
// the top of the file's mount. The name taken in the trash is one that is free there. Checks
// that the file is in the trash and no longer at its place. On failure nothing is moved and
// *error holds the French reason.
std::optional<TrashedFile> moveToTrash(const QString &path, QString *error);

// Puts a trashed file back at its place, never over an existing file, and removes its
// ".trashinfo". The French reason of a failure, or empty.
QString restoreFromTrash(const TrashedFile &file);

} // namespace files
