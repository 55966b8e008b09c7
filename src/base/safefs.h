#pragma once

#include <QString>
#include <QStringView>

namespace base {

// folder + "/" + name, without doubling the separator when folder already ends with one.
QString joinPath(const QString &folder, const QString &name);

// A typed or computed name is refused when it would leave the folder or name no file.
bool isAcceptableName(QStringView name);

// Renames from to to without ever replacing an existing file. Returns 0, or the errno value
// of the refusal (EEXIST when to exists). Renaming a path to itself is a no-op.
int renameNoReplace(const QString &from, const QString &to);

} // namespace base
