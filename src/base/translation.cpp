#include "base/translation.h"

#include <QCoreApplication>
#include <QTranslator>

namespace base {

bool usesSourceLanguage(const QLocale &locale)
{
    const QString first = locale.uiLanguages().value(0);
    return first.isEmpty() || first == u"C" || first.startsWith(u"fr");
}

bool installTranslation()
{
    if (usesSourceLanguage(QLocale::system()))
        return false;
    // Owned by the application, so that it lives as long as the texts it translates.
    auto *english = new QTranslator(QCoreApplication::instance());
    if (!english->load(QStringLiteral(":/i18n/tarvex_en.qm"))) {
        delete english;
        return false;
    }
    return QCoreApplication::installTranslator(english);
}

} // namespace base
