#include "formfixture.h"

#include "app/cdpage.h"
#include "app/commandtable.h"
#include "app/fileinfopanel.h"
#include "app/form2.h"
#include "app/frmabout.h"
#include "app/optionspage.h"
#include "app/tagpage.h"
#include "cd/cdaudiocontrol.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList pageButtons = {u"ouvrir"_s, u"CDDB"_s, u"extraireMP3"_s, u"voir"_s, u"renom"_s,
                                 u"enreID"_s, u"suppID"_s, u"copieID"_s};
const QStringList pageItems = {u"lit"_s, u"arretlecture"_s, u"recherche"_s, u"ouvdossier"_s,
                               u"copier2"_s, u"deplacer2"_s, u"supprimer2"_s, u"demCDDB"_s,
                               u"Extra"_s, u"extraMP3"_s, u"extraWAV"_s};

QStringList enabledButtons(app::Form1 &w)
{
    QStringList on;
    for (const QString &key : pageButtons) {
        if (w.commands->button(key)->isEnabled())
            on << key;
    }
    return on;
}

QStringList enabledItems(app::Form1 &w)
{
    QStringList on;
    for (const QString &name : pageItems) {
        if (w.commands->item(name)->isEnabled())
            on << name;
    }
    return on;
}

} // namespace

// Receives the URLs the window asks the desktop to open.
class UrlSink : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void toolbarOrderAndTooltips();
    void menusAndPopups();
    void startState();
    void mainPages_data();
    void mainPages();
    void subPages_data();
    void subPages();
    void optionPages();
    void tagAndNamesListsExtractionFolder();
    void toolbarStopsFirst();
    void disabledCommandDoesNothing();
    void quitAsksFirst();
    void closeBoxCancelKeepsWindow();
    void searchDialog_data();
    void searchDialog();
    void aboutBox();
    void helpOpensTheHtmlPage();
};

void TestCommands::toolbarOrderAndTooltips()
{
    FormFixture f;
    app::Form1 &w = f.start();
    const QList<QPair<QString, QString>> expected = {
        {QString(), QString()},
        {u"ouvrir"_s, u"Ouvrir un dossier"_s},
        {QString(), QString()},
        {u"CDDB"_s, u"Demande CDDB"_s},
        {u"extraireMP3"_s, u"Extraire les pistes du CD"_s},
        {QString(), QString()},
        {u"voir"_s, u"Aperçu du changement"_s},
        {u"renom"_s, u"Renommer le fichier"_s},
        {QString(), QString()},
        {u"enreID"_s, u"Enregistrer le Tag ID3"_s},
        {u"suppID"_s, u"Effacer le Tag ID3"_s},
        {u"copieID"_s, u"Copier l'ID3 v1 vers ID3 v2"_s},
        {QString(), QString()},
        {u"aide"_s, u"Aide"_s},
        {u"quit"_s, u"Quitter"_s}};
    const QList<QAction *> actions = w.commands->Toolbar1->actions();
    QCOMPARE(actions.size(), expected.size());
    for (int i = 0; i < actions.size(); ++i) {
        QCOMPARE(actions[i]->isSeparator(), expected[i].first.isEmpty());
        if (!actions[i]->isSeparator()) {
            QCOMPARE(actions[i]->objectName(), expected[i].first);
            QCOMPARE(actions[i]->toolTip(), expected[i].second);
        }
    }
}

void TestCommands::menusAndPopups()
{
    FormFixture f;
    app::Form1 &w = f.start();
    auto captions = [](QMenu *menu) {
        QStringList out;
        for (QAction *a : menu->actions())
            out << (a->isSeparator() ? u"-"_s : a->objectName() + u'=' + a->text().remove(u'&'));
        return out;
    };
    QCOMPARE(captions(w.commands->menu(u"fich"_s)), (QStringList{u"ouvdossier=Ouvrir un dossier"_s, u"-"_s, u"quit=Quitter"_s}));
    QCOMPARE(captions(w.commands->menu(u"extract"_s)),
             (QStringList{u"demCDDB=Demande CDDB"_s, u"-"_s, u"Extra=Extraire d'un CD"_s}));
    QCOMPARE(captions(w.commands->menu(u"Extra"_s)), (QStringList{u"extraMP3=Extraction MP3"_s, u"extraWAV=Extraction WAV"_s}));
    QCOMPARE(captions(w.commands->menu(u"edition"_s)),
             (QStringList{u"recherche=Recherche d'une piste"_s, u"-"_s, u"copier2=Copier les fichiers cochés"_s,
                          u"deplacer2=Déplacer les fichiers cochés"_s, u"supprimer2=Supprimer les fichiers cochés"_s}));
    QCOMPARE(captions(w.commands->menu(u"lecteur"_s)),
             (QStringList{u"lit=Lire un MP3"_s, u"arretlecture=Arrêter la lecture"_s}));
    QCOMPARE(captions(w.commands->menu(u"apropos"_s)), (QStringList{u"aid=Aide"_s, u"-"_s, u"aprop=A propos"_s}));
    QCOMPARE(captions(w.commands->mnuflottant),
             (QStringList{u"rechpiste=Recherche d'une piste"_s, u"-"_s, u"lire=Lire la piste sélectionnée"_s,
                          u"stoplecture=Arrêter la lecture"_s, u"-"_s, u"copier=Copier les fichiers cochés"_s,
                          u"deplacer=Déplacer les fichiers cochés"_s, u"supprimer=Supprimer les fichiers cochés"_s}));
    QCOMPARE(captions(w.commands->mnuextraire), (QStringList{u"ExtraiMp3=Extraction MP3"_s, u"ExtraiWAV=Extraction WAV"_s}));
}

void TestCommands::startState()
{
    FormFixture f;
    app::Form1 &w = f.start();
    QCOMPARE(enabledButtons(w), (QStringList{u"CDDB"_s, u"extraireMP3"_s}));
    QCOMPARE(enabledItems(w), (QStringList{u"demCDDB"_s, u"Extra"_s, u"extraMP3"_s, u"extraWAV"_s}));
    QVERIFY(!w.Frame6->isHidden());
    QVERIFY(w.Frame1->isHidden());
    QVERIFY(w.Frame7->isHidden());
    QVERIFY(!w.Timer1->isActive() && !w.Timer2->isActive() && !w.Timer3->isActive());
    QCOMPARE(w.Frame1->Combo7->count(), 2);
    QCOMPARE(w.Frame1->Combo7->currentText(), u"*.mp3"_s);
}

void TestCommands::mainPages_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("frame");
    QTest::newRow("Extraire CD") << 0 << QStringList{u"CDDB"_s, u"extraireMP3"_s}
                                 << QStringList{u"demCDDB"_s, u"Extra"_s, u"extraMP3"_s, u"extraWAV"_s} << u"Frame6"_s;
    QTest::newRow("Tag et noms") << 1 << QStringList{u"ouvrir"_s}
                                 << QStringList{u"lit"_s, u"arretlecture"_s, u"recherche"_s, u"ouvdossier"_s,
                                                u"copier2"_s, u"deplacer2"_s, u"supprimer2"_s}
                                 << u"Frame1"_s;
    QTest::newRow("Options") << 2 << QStringList{} << QStringList{} << u"Frame7"_s;
}

void TestCommands::mainPages()
{
    QFETCH(int, page);
    QFETCH(QString, frame);
    FormFixture f;
    app::Form1 &w = f.start();
    // Arrive from another page so that every state is really set by the click.
    w.TS2->setCurrentIndex(page == 1 ? 2 : 1);
    w.TS2->setCurrentIndex(page);
    QTEST(enabledButtons(w), "buttons");
    QTEST(enabledItems(w), "items");
    for (const QString &name : {u"Frame6"_s, u"Frame1"_s, u"Frame7"_s})
        QCOMPARE(w.findChild<QWidget *>(name)->isHidden(), name != frame);
    if (page == 1) {
        QCOMPARE(w.Frame1->TS1->currentIndex(), 0);
        QVERIFY(!w.Frame1->Frame3->isHidden());
        for (const char *hidden : {"Frame2", "Frame4", "Frame5"})
            QVERIFY(w.findChild<QWidget *>(QString::fromLatin1(hidden))->isHidden());
    }
}

void TestCommands::subPages_data()
{
    QTest::addColumn<int>("fileType");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("frame");
    const QStringList tagButtons = {u"enreID"_s, u"suppID"_s, u"copieID"_s};
    QTest::newRow("mp3 Info Fichier") << 0 << 0 << QStringList{u"ouvrir"_s} << u"Frame3"_s;
    QTest::newRow("mp3 Tag ID3 v1") << 0 << 1 << QStringList{u"ouvrir"_s} + tagButtons << u"Frame2"_s;
    QTest::newRow("mp3 Tag ID3 v2") << 0 << 2 << QStringList{u"ouvrir"_s} + tagButtons << u"Frame5"_s;
    QTest::newRow("mp3 Renomeur") << 0 << 3 << QStringList{u"ouvrir"_s, u"voir"_s, u"renom"_s} << u"Frame4"_s;
    QTest::newRow("wav Tag ID3 v1") << 1 << 1 << QStringList{u"ouvrir"_s} << u"Frame2"_s;
    QTest::newRow("wav Tag ID3 v2") << 1 << 2 << QStringList{u"ouvrir"_s} << u"Frame5"_s;
    QTest::newRow("wav Renomeur") << 1 << 3 << QStringList{u"ouvrir"_s, u"voir"_s, u"renom"_s} << u"Frame4"_s;
}

void TestCommands::subPages()
{
    QFETCH(int, fileType);
    QFETCH(int, page);
    QFETCH(QString, frame);
    FormFixture f;
    app::Form1 &w = f.start();
    int released = 0;
    w.setProcedure(u"arret"_s, [&released] { ++released; });
    w.TS2->setCurrentIndex(1);
    w.Frame1->Combo7->setCurrentIndex(fileType);
    emit w.Frame1->Combo7->activated(fileType);
    released = 0;
    w.Frame1->TS1->setCurrentIndex(page);
    QTEST(enabledButtons(w), "buttons");
    for (const QString &name : {u"Frame3"_s, u"Frame2"_s, u"Frame5"_s, u"Frame4"_s})
        QCOMPARE(w.findChild<QWidget *>(name)->isHidden(), name != frame);
    QCOMPARE(released, page == 3 ? 1 : 0);
    // The main tab strip leaves the tag buttons as they are.
    const bool tagOn = w.commands->button(u"enreID"_s)->isEnabled();
    w.TS2->setCurrentIndex(0);
    QCOMPARE(w.commands->button(u"enreID"_s)->isEnabled(), tagOn);
}

void TestCommands::optionPages()
{
    FormFixture f;
    app::Form1 &w = f.start();
    w.TS2->setCurrentIndex(2);
    const QStringList frames = {u"Frame9"_s, u"Frame10"_s, u"Frame11"_s};
    for (int page : {2, 1, 0}) {
        w.Frame7->TS3->setCurrentIndex(page);
        for (int i = 0; i < frames.size(); ++i)
            QCOMPARE(w.findChild<QWidget *>(frames[i])->isHidden(), i != page);
    }
    QCOMPARE(w.Frame7->TS3->tabText(2), u"Conversion de fichier"_s);
}

void TestCommands::tagAndNamesListsExtractionFolder()
{
    FormFixture f;
    const QString cdFolder = f.dir.filePath(u"cd"_s);
    const QString other = f.dir.filePath(u"autre"_s);
    QDir().mkpath(cdFolder);
    QDir().mkpath(other);
    QFile(cdFolder + u"/piste.mp3"_s).open(QIODevice::WriteOnly);
    QFile(other + u"/ailleurs.mp3"_s).open(QIODevice::WriteOnly);
    f.store(u"repertCD"_s, cdFolder);
    app::Form1 &w = f.start();
    w.TS2->setCurrentIndex(1);
    f.dialogs->folders = {other};
    w.ouvre();
    QCOMPARE(w.Frame1->LV1->topLevelItem(0)->text(0), u"ailleurs.mp3"_s);
    w.TS2->setCurrentIndex(0);
    w.TS2->setCurrentIndex(1);
    QCOMPARE(w.Frame1->LV1->topLevelItemCount(), 1);
    QCOMPARE(w.Frame1->LV1->topLevelItem(0)->text(0), u"piste.mp3"_s);
    QCOMPARE(w.Frame1->LV1->topLevelItem(0)->text(app::TagPage::FolderColumn), cdFolder);
    QVERIFY(w.Frame1->LV1->selectedItems().isEmpty());
}

void TestCommands::toolbarStopsFirst()
{
    FormFixture f;
    app::Form1 &w = f.start();
    QStringList journal;
    w.setProcedure(u"arret"_s, [&] { journal << u"arret"_s + u':' + w.MMControl1->command(); });
    w.setProcedure(u"apercu"_s, [&] { journal << u"apercu"_s + u':' + w.MMControl1->command(); });
    w.setProcedure(u"demandecddb"_s, [&] { journal << u"demandecddb"_s; });
    w.TS2->setCurrentIndex(1);
    w.Frame1->TS1->setCurrentIndex(3);
    w.MMControl1->sendCommand(u"Open"_s);
    journal.clear();
    w.commands->button(u"voir"_s)->trigger();
    // Playback is released, then the CD device stopped, then the command runs.
    QCOMPARE(journal, (QStringList{u"arret:Open"_s, u"apercu:Stop"_s}));
    // A menu command runs without the toolbar's stop.
    journal.clear();
    w.TS2->setCurrentIndex(0);
    journal.clear();
    w.commands->item(u"demCDDB"_s)->trigger();
    QCOMPARE(journal, QStringList{u"demandecddb"_s});
}

void TestCommands::disabledCommandDoesNothing()
{
    FormFixture f;
    app::Form1 &w = f.start();
    int runs = 0;
    w.setProcedure(u"renomer"_s, [&runs] { ++runs; });
    w.setProcedure(u"ouvre"_s, [&runs] { ++runs; });
    w.commands->button(u"renom"_s)->trigger();
    w.commands->button(u"ouvrir"_s)->trigger();
    w.commands->item(u"ouvdossier"_s)->trigger();
    QCOMPARE(runs, 0);
    w.TS2->setCurrentIndex(1);
    w.commands->item(u"ouvdossier"_s)->trigger();
    QCOMPARE(runs, 1);
}

void TestCommands::quitAsksFirst()
{
    FormFixture f;
    app::Form1 &w = f.start();
    bool unloaded = false;
    connect(&w, &app::Form1::unloading, this, [&unloaded] { unloaded = true; });
    w.show();
    f.dialogs->answer = false;
    w.commands->button(u"quit"_s)->trigger();
    QVERIFY(w.isVisible());
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->lastText(), u"Voulez-vous quitter ?"_s);
    QCOMPARE(f.dialogs->shown.last().title, u"Confirmation"_s);
    QCOMPARE(f.dialogs->shown.last().buttons, app::Dialogs::Buttons::OkCancel);
    QVERIFY(!unloaded);
    f.dialogs->answer = true;
    w.commands->item(u"quit"_s)->trigger();
    QVERIFY(!w.isVisible());
    // Asked once more, not twice: the close that follows OK does not ask again.
    QCOMPARE(f.dialogs->shown.size(), 2);
    QVERIFY(unloaded);
    QCOMPARE(w.MMControl1->command(), u"Stop"_s);
}

void TestCommands::closeBoxCancelKeepsWindow()
{
    FormFixture f;
    app::Form1 &w = f.start();
    w.show();
    f.dialogs->answer = false;
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    f.dialogs->answer = true;
    QVERIFY(w.close());
    QCOMPARE(f.dialogs->shown.size(), 2);
}

void TestCommands::searchDialog_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selected");
    QTest::newRow("lower case finds upper case") << u"zèbre"_s << 2;
    QTest::newRow("upper case finds lower case") << u"BLUES"_s << 1;
    QTest::newRow("middle of a name") << u"ouge"_s << 0;
    QTest::newRow("empty text matches the first row") << QString() << 0;
    QTest::newRow("no match") << u"jazz"_s << -1;
}

void TestCommands::searchDialog()
{
    QFETCH(QString, text);
    QFETCH(int, selected);
    FormFixture f;
    app::Form1 &w = f.start();
    w.TS2->setCurrentIndex(1);
    w.Frame1->LV1->clear();
    for (const QString &name : {u"Rouge.mp3"_s, u"blues du soir.mp3"_s, u"ZÈBRE.mp3"_s})
        w.Frame1->LV1->addTopLevelItem(new QTreeWidgetItem({name}));
    w.Txt_Chemin->setText(u"/avant"_s);
    w.show();
    w.commands->item(u"recherche"_s)->trigger();
    auto *dialog = w.findChild<app::Form2 *>();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), u"Recherche"_s);
    dialog->Text1->setText(text);
    dialog->Command1->click();
    QVERIFY(!dialog->isVisible());
    const QList<QTreeWidgetItem *> chosen = w.Frame1->LV1->selectedItems();
    if (selected < 0) {
        QVERIFY(chosen.isEmpty());
        QCOMPARE(dialog->Text1->text(), text);
    } else {
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(w.Frame1->LV1->indexOfTopLevelItem(chosen.first()), selected);
        QCOMPARE(dialog->Text1->text(), QString());
    }
    // Selecting from the dialog does not load the file.
    QCOMPARE(w.Txt_Chemin->text(), u"/avant"_s);
    // "Annuler" only closes.
    w.commands->item(u"rechpiste"_s)->trigger();
    QVERIFY(dialog->isVisible());
    dialog->Command2->click();
    QVERIFY(!dialog->isVisible());
}

void TestCommands::aboutBox()
{
    FormFixture f;
    app::Form1 &w = f.start();
    w.show();
    w.commands->item(u"aprop"_s)->trigger();
    auto *about = w.findChild<app::frmAbout *>();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(about->lblTitle->text(), u"Tarvex"_s);
    QCOMPARE(about->lblVersion->text(), u"Version "_s + QStringLiteral(TARVEX_VERSION));
    QVERIFY(QRegularExpression(u"^Version \\d+\\.\\d+\\.\\d+$"_s).match(about->lblVersion->text()).hasMatch());
    QVERIFY(about->Label6->text().startsWith(u"Site Web : "_s));
    QVERIFY(about->Label1->text().startsWith(u"E-Mail :  "_s));
    about->cmdOK->click();
    QVERIFY(!about->isVisible());
}

void TestCommands::helpOpensTheHtmlPage()
{
    FormFixture f;
    app::Form1 &w = f.start();
    UrlSink sink;
    QDesktopServices::setUrlHandler(u"file"_s, &sink, "open");
    w.commands->item(u"aid"_s)->trigger();
    w.commands->button(u"aide"_s)->trigger();
    QDesktopServices::unsetUrlHandler(u"file"_s);
    QCOMPARE(sink.opened.size(), 2);
    QCOMPARE(sink.opened.first(), QUrl::fromLocalFile(f.dir.filePath(u"Tarvexfr.html"_s)));
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
