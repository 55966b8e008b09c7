// The English catalogue covers every text the window shows, every tab and button has a mnemonic
// of its own and every control a name that screen readers announce, in French and in English.
#include "base/product.h"
#include "base/translation.h"
#include "formfixture.h"

#include <QAccessible>
#include <QXmlStreamReader>

namespace {

// The widgets that show data (genres, drives, folders, addresses, name patterns, the product's
// name), not texts of ours.
const QStringList dataWidgets = {
    u"cmbv1Genre"_s, u"cmbv2Genre"_s,   u"txtGenre"_s, u"Combo7"_s,     u"cboLecteurCD"_s,
    u"cboModele"_s,  u"cboModeleTag"_s, u"lblTitle"_s, u"txtDossier"_s, u"txtAccurateRip"_s};

QString plain(QString text)
{
    return text.remove(QRegularExpression(u"&(?=[^&])"_s));
}

// The English texts of the catalogue, as patterns where "%1" stands for any value.
QList<QRegularExpression> englishTexts()
{
    QFile ts(QStringLiteral(TARVEX_TS_FILE));
    if (!ts.open(QIODevice::ReadOnly))
        qFatal("cannot read the catalogue");
    QList<QRegularExpression> texts;
    QXmlStreamReader xml(&ts);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"translation")
            continue;
        QString pattern = QRegularExpression::escape(
            plain(xml.readElementText(QXmlStreamReader::IncludeChildElements)));
        pattern.replace(QRegularExpression(u"\\\\%\\d"_s), u".*"_s);
        texts.append(QRegularExpression(u"^"_s + pattern + u"$"_s));
    }
    return texts;
}

// The texts of ours a widget shows: captions, tabs, headers, items, tips, accessible names.
QStringList textsOf(QWidget *w)
{
    QStringList texts = {w->toolTip(), w->accessibleName(), w->accessibleDescription()};
    if (w->isWindow())
        texts << w->windowTitle();
    if (auto *label = qobject_cast<QLabel *>(w))
        texts << label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        texts << button->text();
    if (auto *box = qobject_cast<QGroupBox *>(w))
        texts << box->title();
    if (auto *line = qobject_cast<QLineEdit *>(w))
        texts << line->placeholderText();
    if (auto *spin = qobject_cast<QSpinBox *>(w))
        texts << spin->suffix();
    for (int i = 0; auto *tabs = qobject_cast<QTabBar *>(w); ++i) {
        if (i >= tabs->count())
            break;
        texts << tabs->tabText(i) << tabs->tabToolTip(i);
    }
    if (auto *tree = qobject_cast<QTreeWidget *>(w))
        for (int c = 0; c < tree->columnCount(); ++c)
            texts << tree->headerItem()->text(c);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    for (QAction *action : w->actions())
        texts << action->text() << action->toolTip() << action->iconText();
    if (auto *menu = qobject_cast<QMenu *>(w))
        texts << menu->title();
    return texts;
}

// The tabs and buttons the user sees together: each needs a mnemonic that no other one has.
QStringList clashingMnemonics(QWidget *window)
{
    QStringList captions, faults;
    if (auto *main = qobject_cast<QMainWindow *>(window))
        for (QAction *menu : main->menuBar()->actions())
            captions << menu->text();
    for (QTabBar *tabs : window->findChildren<QTabBar *>())
        for (int i = 0; tabs->isVisibleTo(window) && i < tabs->count(); ++i)
            captions << tabs->tabText(i);
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (qobject_cast<QToolButton *>(button))
            continue; // the toolbar's commands have their menu items and shortcuts
        if (QKeySequence::mnemonic(button->text()).isEmpty())
            faults << button->text();
        else if (button->isVisibleTo(window))
            captions << button->text();
    }
    QHash<QKeySequence, QString> taken;
    for (const QString &caption : std::as_const(captions)) {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (key.isEmpty() || taken.contains(key))
            faults << caption + u" / "_s + taken.value(key);
        taken.insert(key, caption);
    }
    return faults;
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    // French of any country, or no language at all, keeps the texts as written; others get
    // English.
    void sourceLanguage()
    {
        QVERIFY(base::usesSourceLanguage(QLocale(u"fr_CA"_s)));
        QVERIFY(!base::usesSourceLanguage(QLocale(u"de_DE"_s)));
    }

    // Qt's own texts (standard buttons, the file dialog's kinds) follow the window's language.
    void qtTexts_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("folder");
        QTest::newRow("French") << u"fr_FR"_s << u"Annuler"_s << u"Dossier"_s;
        QTest::newRow("no language") << u"C"_s << u"Annuler"_s << u"Dossier"_s;
        QTest::newRow("German, shown in English") << u"de_DE"_s << u"Cancel"_s << u"Folder"_s;
    }
    void qtTexts()
    {
        QFETCH(QString, locale);
        QFETCH(QString, cancel);
        QFETCH(QString, folder);
        base::installTranslation(QLocale(locale));
        const QDialogButtonBox box(QDialogButtonBox::Cancel);
        const QString folderKind = QFileIconProvider().type(QFileInfo(QDir::tempPath()));
        qDeleteAll(qApp->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly));
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), cancel);
        QCOMPARE(folderKind, folder);
    }

    // Every page and sub-page, then the search and about boxes, in French and in English.
    void everyPage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("French") << false;
        QTest::newRow("English") << true;
    }
    void everyPage()
    {
        QFETCH(bool, english);
        QTranslator translator;
        QVERIFY(translator.load(u":/i18n/tarvex_en.qm"_s));
        if (english)
            QVERIFY(QCoreApplication::installTranslator(&translator));
        const QList<QRegularExpression> catalogue = englishTexts();
        FormFixture f;
        app::Form1 &w = f.start();
        w.show();
        QSet<QString> faults;
        const auto visit = [&](QWidget *window) {
            for (const QString &clash : clashingMnemonics(window))
                faults << u"mnemonic: "_s + clash;
            QList<QWidget *> widgets = window->findChildren<QWidget *>();
            for (QWidget *widget : widgets << window) {
                // Qt's own parts of combo and spin boxes aside: the boxes themselves are named.
                QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
                if (widget->focusPolicy() != Qt::NoFocus && face &&
                    face->text(QAccessible::Name).trimmed().isEmpty() &&
                    !widget->inherits("QComboBoxListView") &&
                    widget->objectName() != u"qt_spinbox_lineedit"_s)
                    faults << u"no name: "_s + widget->metaObject()->className() + u' ' +
                                  widget->objectName();
                for (const QString &text : textsOf(widget)) {
                    const bool ours = text.contains(QRegularExpression(u"\\p{L}"_s)) &&
                                      text != base::productName &&
                                      !dataWidgets.contains(widget->objectName()) &&
                                      !qobject_cast<QTabBar *>(widget->parentWidget());
                    if (english && ours &&
                        std::none_of(catalogue.begin(), catalogue.end(), [&](const auto &t) {
                            return t.match(plain(text)).hasMatch();
                        }))
                        faults << widget->objectName() + u": "_s + text;
                }
            }
        };
        for (int page = 0; page < 3; ++page) {
            f.pageTabs()->setCurrentIndex(page);
            QTabBar *sub = page == 1   ? f.tagPage()->TS1
                           : page == 2 ? f.optionsPage()->TS3
                                       : nullptr;
            for (int i = 0; i < (sub ? sub->count() : 1); ++i) {
                if (sub)
                    sub->setCurrentIndex(i);
                visit(&w);
            }
        }
        f.pageTabs()->setCurrentIndex(1);
        f.commands()->item(u"recherche"_s)->trigger();
        f.commands()->item(u"aprop"_s)->trigger();
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window != &w && window->isVisible())
                visit(window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.values().join(u" | ")));
    }
};

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
