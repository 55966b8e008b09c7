#include "base/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace base {

namespace {

// Qt's French catalogue of this version still files a few texts of the file dialogs under the
// dialog's old context ("Folder" is QFileDialog's there, QAbstractFileIconProvider's in the
// code): those are looked up under the old name too.
class QtFrenchTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        if (text.isEmpty() && qstrcmp(context, "QAbstractFileIconProvider") == 0)
            text = QTranslator::translate("QFileDialog", sourceText, disambiguation, n);
        return text;
    }
};

} // namespace

bool usesSourceLanguage(const QLocale &locale)
{
    const QString first = locale.uiLanguages().value(0);
    return first.isEmpty() || first == u"C" || first.startsWith(u"fr");
}

bool installTranslation(const QLocale &locale)
{
    // Owned by the application, so that they live as long as the texts they translate.
    if (usesSourceLanguage(locale)) {
        auto *qt = new QtFrenchTranslator(QCoreApplication::instance());
        if (qt->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
        return false;
    }
    auto *english = new QTranslator(QCoreApplication::instance());
    if (!english->load(QStringLiteral(":/i18n/tarvex_en.qm"))) {
        delete english;
        return false;
    }
    return QCoreApplication::installTranslator(english);
}

} // namespace base
