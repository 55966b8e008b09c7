#pragma once

#include <QString>
#include <QStringView>

namespace renaming {

// folder + "/" + name, without doubling the separator when folder already ends with one.
QString joinPath(const QString &folder, const QString &name);

// Renames from to to without ever replacing an existing file. Returns 0, or the errno value
// of the refusal (EEXIST when to exists). Renaming a path to itself is a no-op.
int renameNoReplace(const QString &from, const QString &to);

// A short French description of an errno value, for the messages that list failed files.
QString errorText(int error);

} // namespace renaming
