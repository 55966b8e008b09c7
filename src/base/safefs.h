#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

namespace base {

// folder + "/" + name, without doubling the separator when folder already ends with one.
QString joinPath(const QString &folder, const QString &name);

// A typed or computed name is refused when it would leave the folder or name no file.
bool isAcceptableName(QStringView name);
// A path below a folder ("Album/a.mp3"): every part of it an acceptable name.
bool isAcceptableRelative(QStringView path);
// The name of a file without the folders of a relative path: "a.mp3" of "Album/a.mp3".
QStringView lastPart(QStringView path);

// The folder part of a path in the system's encoding: "." for a bare name, "/" at the root.
QByteArray folderOf(const QByteArray &path);

// Renames from to to without ever replacing an existing file. Returns 0, or the errno value
// of the refusal (EEXIST when to exists). Renaming a path to itself is a no-op.
int renameNoReplace(const QString &from, const QString &to);
// The same for paths in the system's encoding, without the two cases of the same file above.
int renameNoReplace(const QByteArray &from, const QByteArray &to);

// The regular files of a folder (symbolic links to them included) whose name matches a
// wildcard pattern such as "*.mp3" in any letter case, hidden files left out, sorted by name
// ignoring case. Reads the folder once and looks at a file itself only for a link or a file
// system that does not give entry types. Empty when the folder cannot be read.
QStringList listFiles(const QString &folder, const QString &pattern);

// The same files in the folder and every folder below it, as paths relative to `folder`
// ("a.mp3", "Album/b.mp3"), sorted the same way. Hidden folders and links to folders are not
// entered (a link may lead back up). `folders` receives the folders read, `folder` first.
// `goOn`, when given, is asked before each folder with the count of files found and of folders
// read so far; false stops the listing, which then returns nothing.
QStringList
listFilesBelow(const QString &folder, const QString &pattern, QStringList *folders = nullptr,
               const std::function<bool(qsizetype files, qsizetype folders)> &goOn = {});

} // namespace base
