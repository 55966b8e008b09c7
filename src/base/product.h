#pragma once

#include <QString>

namespace base {

// The program's name, as window titles, dialog titles and the HTTP user agent show it.
inline const QString productName = QStringLiteral("Tarvex");

} // namespace base
