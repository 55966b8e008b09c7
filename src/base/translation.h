#pragma once

#include <QLocale>

namespace base {

// True when the texts stay in French, the language of the sources: the user's first language
// is French, or the locale is C/POSIX.
bool usesSourceLanguage(const QLocale &locale);

// Installs the catalogues for `locale` on the running application: the English one unless the
// language keeps French, and Qt's own French catalogue (standard buttons, file dialogs, context
// menus) when it does. True when English is in use. Call once, after the application object
// exists; the translators belong to it.
bool installTranslation(const QLocale &locale = QLocale::system());

} // namespace base
