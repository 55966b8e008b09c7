#pragma once

#include <QLocale>

namespace base {

// True when the texts stay in French, the language of the sources: the user's first language
// is French, or the locale is C/POSIX.
bool usesSourceLanguage(const QLocale &locale);

// Installs the English catalogue on the running application unless the system's language keeps
// French; true when English is in use. Call once, after the application object exists.
bool installTranslation();

} // namespace base
