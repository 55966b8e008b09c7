#include "formfixture.h"

#include "app/cdpage.h"
#include "app/commandtable.h"
#include "app/form2.h"
#include "app/frmabout.h"
#include "app/optionspage.h"
#include "app/settingstable.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList tagOptions = {u"ExtraireTagv1"_s, u"ExtraireTagv2"_s, u"ExtraireTagv1et2"_s,
                                u"ExtraireTagrien"_s};
const QStringList fileItems = {u"lit"_s,     u"arretlecture"_s, u"recherche"_s, u"ouvdossier"_s,
                               u"copier2"_s, u"deplacer2"_s,    u"supprimer2"_s};
const QStringList cdItems = {u"demCDDB"_s, u"Extra"_s, u"extraMP3"_s, u"extraWAV"_s};

// The page commands that are on: toolbar buttons, then menu items.
QStringList enabledCommands(const app::Form1 &w)
{
    QStringList on;
    for (const QString &key : {u"ouvrir"_s, u"CDDB"_s, u"extraireMP3"_s, u"voir"_s, u"renom"_s,
                               u"enreID"_s, u"suppID"_s, u"copieID"_s}) {
        if (w.commands->button(key)->isEnabled())
            on << key;
    }
    for (const QString &name : fileItems + cdItems) {
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

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void firstStartWritesDefaults()
    {
        FormFixture f;
        app::Form1 &w = f.start();
        const QString folder = app::defaultOutputFolder();
        QStringList values;
        for (const QString &name :
             QStringList{u"repertCD"_s, u"repertWAVMP3"_s, u"Formatfichier"_s, u"ImportationNom"_s,
                         u"Commentaire"_s, u"Encodepar"_s} +
                 tagOptions)
            values << f.stored(name);
        QCOMPARE(values, (QStringList{folder, folder, u"0"_s, u"0"_s, u""_s, u""_s, u"0"_s, u"1"_s,
                                      u"0"_s, u"0"_s}));
        QCOMPARE(w.Frame7->Text3->text(), folder);
        QVERIFY(w.Frame7->Option8->isChecked());
    }

    // Stored values are kept as they are and reach the controls; nonsense falls back.
    void storedValues_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("v1");
        QTest::addColumn<QString>("v1et2");
        QTest::addColumn<QString>("import");
        QTest::addColumn<int>("formatIndex");
        QTest::addColumn<bool>("option7");
        QTest::addColumn<bool>("option9");
        QTest::addColumn<bool>("check2");
        QTest::newRow("format 3, v1")
            << u"3"_s << u"1"_s << u"0"_s << u"1"_s << 3 << true << false << true;
        QTest::newRow("format with blanks, v1 and v2")
            << u" 2 "_s << u"0"_s << u"1"_s << u"0"_s << 2 << false << true << false;
        QTest::newRow("format out of range, words")
            << u"9"_s << u"True"_s << u"False"_s << u"-1"_s << 0 << true << false << true;
        QTest::newRow("negative format")
            << u"-1"_s << u"0"_s << u"0"_s << u"0"_s << 0 << false << false << false;
        QTest::newRow("nonsense") << u"abc"_s << u"yes"_s << u"oui"_s << u""_s << 0 << false
                                  << false << false;
    }
    void storedValues()
    {
        QFETCH(QString, format);
        QFETCH(QString, v1);
        QFETCH(QString, v1et2);
        QFETCH(QString, import);
        FormFixture f;
        const QList<QPair<QString, QString>> kept = {
            {u"Formatfichier"_s, format},
            {u"ExtraireTagv1"_s, v1},
            {u"ExtraireTagv2"_s, u"0"_s},
            {u"ExtraireTagv1et2"_s, v1et2},
            {u"ImportationNom"_s, import},
            {u"repertCD"_s, u""_s},
            {u"repertWAVMP3"_s, u"/srv/musique"_s},
            {u"Commentaire"_s, u"Mon commentaire, avec virgule"_s}};
        for (const auto &[name, value] : kept)
            f.store(name, value);
        app::Form1 &w = f.start();
        for (const auto &[name, value] : kept)
            QCOMPARE(f.stored(name), value);
        QCOMPARE(f.stored(u"Encodepar"_s), u""_s); // the missing value got its default
        QTEST(w.Frame7->Combo8->currentIndex(), "formatIndex");
        QTEST(w.Frame7->Option7->isChecked(), "option7");
        QTEST(w.Frame7->Option9->isChecked(), "option9");
        QTEST(w.Frame7->Check2->isChecked(), "check2");
        QCOMPARE(w.Frame7->Text5->text(), u"/srv/musique"_s);
        QCOMPARE(w.Frame7->Text8->text(), u"Mon commentaire, avec virgule"_s);
    }

    void optionClickWritesGroup_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("Option7") << u"Option7"_s << QStringList{u"1"_s, u"0"_s, u"0"_s, u"0"_s};
        QTest::newRow("Option9") << u"Option9"_s << QStringList{u"0"_s, u"0"_s, u"1"_s, u"0"_s};
        QTest::newRow("Option10") << u"Option10"_s << QStringList{u"0"_s, u"0"_s, u"0"_s, u"1"_s};
    }
    void optionClickWritesGroup()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, values);
        FormFixture f;
        f.start().findChild<QRadioButton *>(option)->click();
        for (int i = 0; i < tagOptions.size(); ++i)
            QCOMPARE(f.stored(tagOptions[i]), values[i]);
        // What was written reads back as the same choice at the next start.
        QVERIFY(f.start().findChild<QRadioButton *>(option)->isChecked());
    }

    // Typing saves nothing; each button saves its own value; a cancelled folder dialog keeps
    // the folder.
    void savingHandlers()
    {
        FormFixture f;
        f.store(u"Commentaire"_s, u"ancien"_s);
        app::OptionsPage *p = f.start().Frame7;
        QTest::keyClicks(p->Text8, u" nouveau"_s);
        p->Text9->setText(u"LAME"_s);
        QCOMPARE(f.stored(u"Commentaire"_s), u"ancien"_s);
        p->Command7->click();
        QCOMPARE(f.stored(u"Commentaire"_s), u"ancien nouveau"_s);
        QCOMPARE(f.stored(u"Encodepar"_s), u""_s);
        p->Command8->click();
        QCOMPARE(f.stored(u"Encodepar"_s), u"LAME"_s);
        p->Combo8->setCurrentIndex(2);
        emit p->Combo8->activated(2);
        QCOMPARE(f.stored(u"Formatfichier"_s), u"2"_s);
        p->Check2->click();
        QCOMPARE(f.stored(u"ImportationNom"_s), u"1"_s);
        const QString before = f.stored(u"repertCD"_s);
        p->Command5->click();
        QCOMPARE(f.stored(u"repertCD"_s), before);
        f.dialogs->folders = {u"/tmp/Mes CD"_s, u"/tmp/conversions"_s};
        p->Command5->click();
        p->Command6->click();
        QCOMPARE(p->Text3->text(), u"/tmp/Mes CD"_s);
        QCOMPARE(f.stored(u"repertCD"_s), u"/tmp/Mes CD"_s);
        QCOMPARE(f.stored(u"repertWAVMP3"_s), u"/tmp/conversions"_s);
    }

    void unwritableSettingsFolder()
    {
        FormFixture f;
        app::Form1 &w = f.make({}, u"/proc/tarvex-absent/Tarvex.ini"_s);
        QVERIFY(w.startUp());
        w.Frame7->Option9->click();
        w.Frame7->Command7->click();
        QVERIFY(w.Frame7->Option9->isChecked());
    }

    // Images are listed in the order given, missing and broken ones left out; the first is
    // chosen once and opened by the CD device.
    void drives()
    {
        FormFixture f;
        const QString b = f.discImage(u"b"_s), a = f.discImage(u"a"_s);
        const QString broken = f.dir.filePath(u"casse.cue"_s);
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("ceci n'est pas une image\n") > 0);
        file.close();
        app::Form1 &w = f.make({f.dir.filePath(u"absente.cue"_s), b, broken, a});
        int selections = 0;
        connect(w.Frame6->cboLecteurCD, &QComboBox::currentIndexChanged, [&] { ++selections; });
        QVERIFY(w.startUp());
        QCOMPARE(w.Frame6->cboLecteurCD->count(), 2);
        QCOMPARE(w.Frame6->cboLecteurCD->itemText(0), b);
        QCOMPARE(w.Frame6->cboLecteurCD->itemText(1), a);
        QCOMPARE(selections, 1);
        QVERIFY(f.dialogs->shown.isEmpty());
        QVERIFY(w.MMControl1->isOpen());
        QCOMPARE(w.MMControl1->device(), b);
        QCOMPARE(w.MMControl1->track(), 1);
        QVERIFY(w.MMControl1->sendCommand(u"Close"_s));
        QCOMPARE(w.MMControl1->track(), 0);
        QVERIFY(!w.MMControl1->sendCommand(u"Stop"_s));
    }

    void noDriveEndsStartUp()
    {
        FormFixture f;
        QVERIFY(!f.make({f.dir.filePath(u"absente.cue"_s)}).startUp());
        QCOMPARE(f.dialogs->shown.size(), 1);
        QCOMPARE(f.dialogs->lastText(),
                 u"Désolé, je n'ai pas détecté de lecteur de CD sur cette machine."_s);
        QCOMPARE(f.dialogs->shown.last().icon, app::Dialogs::Icon::Error);
    }

    // Each page shows its frames and enables exactly its commands, whatever page came before.
    void pages_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QStringList>("frames");
        const QStringList cd = QStringList{u"CDDB"_s, u"extraireMP3"_s} + cdItems;
        const QStringList tags = {u"enreID"_s, u"suppID"_s, u"copieID"_s};
        const QStringList names = {u"ouvrir"_s, u"voir"_s, u"renom"_s};
        QTest::newRow("at start") << QStringList{} << cd
                                  << QStringList{u"Frame6"_s, u"Frame3"_s, u"Frame9"_s};
        QTest::newRow("Extraire CD") << QStringList{u"TS2=1"_s, u"TS2=0"_s} << cd
                                     << QStringList{u"Frame6"_s, u"Frame3"_s, u"Frame9"_s};
        QTest::newRow("Tag et noms")
            << QStringList{u"TS2=2"_s, u"TS2=1"_s} << QStringList{u"ouvrir"_s} + fileItems
            << QStringList{u"Frame1"_s, u"Frame3"_s, u"Frame9"_s};
        // The main tab strip shows "Info Fichier" again but leaves the tag buttons as they are.
        QTest::newRow("Tag et noms, back on Info Fichier")
            << QStringList{u"TS2=1"_s, u"TS1=2"_s, u"TS2=2"_s, u"TS2=1"_s}
            << QStringList{u"ouvrir"_s} + tags + fileItems
            << QStringList{u"Frame1"_s, u"Frame3"_s, u"Frame9"_s};
        QTest::newRow("Options") << QStringList{u"TS2=1"_s, u"TS2=2"_s} << QStringList{}
                                 << QStringList{u"Frame7"_s, u"Frame3"_s, u"Frame9"_s};
        QTest::newRow("Conversion de fichier")
            << QStringList{u"TS2=2"_s, u"TS3=2"_s} << QStringList{}
            << QStringList{u"Frame7"_s, u"Frame3"_s, u"Frame11"_s};
        QTest::newRow("mp3 Tag ID3 v1")
            << QStringList{u"TS2=1"_s, u"TS1=1"_s} << QStringList{u"ouvrir"_s} + tags + fileItems
            << QStringList{u"Frame1"_s, u"Frame2"_s, u"Frame9"_s};
        QTest::newRow("mp3 Tag ID3 v2")
            << QStringList{u"TS2=1"_s, u"TS1=2"_s} << QStringList{u"ouvrir"_s} + tags + fileItems
            << QStringList{u"Frame1"_s, u"Frame5"_s, u"Frame9"_s};
        QTest::newRow("mp3 Renomeur") << QStringList{u"TS2=1"_s, u"TS1=3"_s} << names + fileItems
                                      << QStringList{u"Frame1"_s, u"Frame4"_s, u"Frame9"_s};
        QTest::newRow("wav Tag ID3 v2") << QStringList{u"TS2=1"_s, u"Combo7=1"_s, u"TS1=2"_s}
                                        << QStringList{u"ouvrir"_s} + fileItems
                                        << QStringList{u"Frame1"_s, u"Frame5"_s, u"Frame9"_s};
        QTest::newRow("wav Renomeur")
            << QStringList{u"TS2=1"_s, u"Combo7=1"_s, u"TS1=3"_s} << names + fileItems
            << QStringList{u"Frame1"_s, u"Frame4"_s, u"Frame9"_s};
        QTest::newRow("CD page keeps the tag buttons")
            << QStringList{u"TS2=1"_s, u"TS1=1"_s, u"TS2=0"_s}
            << QStringList{u"CDDB"_s, u"extraireMP3"_s} + tags + cdItems
            << QStringList{u"Frame6"_s, u"Frame2"_s, u"Frame9"_s};
    }
    void pages()
    {
        QFETCH(QStringList, clicks);
        FormFixture f;
        app::Form1 &w = f.start();
        for (const QString &click : clicks) {
            const int index = click.section(u'=', 1).toInt();
            if (click.startsWith(u"Combo7"_s)) {
                w.Frame1->Combo7->setCurrentIndex(index);
                emit w.Frame1->Combo7->activated(index);
            } else {
                w.findChild<QTabBar *>(click.section(u'=', 0, 0))->setCurrentIndex(index);
            }
        }
        QTEST(enabledCommands(w), "commands");
        QStringList shown;
        for (const QString &frame :
             {u"Frame6"_s, u"Frame1"_s, u"Frame7"_s, u"Frame3"_s, u"Frame2"_s, u"Frame5"_s,
              u"Frame4"_s, u"Frame9"_s, u"Frame10"_s, u"Frame11"_s}) {
            if (!w.findChild<QWidget *>(frame)->isHidden())
                shown << frame;
        }
        QTEST(shown, "frames");
    }

    // A toolbar click releases playback, stops the CD device, then runs its command; a menu
    // item only runs its command; a disabled command does nothing.
    void commandsRun()
    {
        FormFixture f;
        app::Form1 &w = f.start();
        QStringList journal;
        for (const QString &name : {u"arret"_s, u"apercu"_s, u"demandecddb"_s, u"ouvre"_s})
            w.setProcedure(name, [&, name] { journal << name + u':' + w.MMControl1->command(); });
        w.commands->button(u"voir"_s)->trigger();
        w.commands->button(u"ouvrir"_s)->trigger();
        w.commands->item(u"ouvdossier"_s)->trigger();
        QCOMPARE(journal, QStringList());
        w.TS2->setCurrentIndex(1);
        w.Frame1->TS1->setCurrentIndex(3);
        w.MMControl1->sendCommand(u"Open"_s);
        journal.clear();
        w.commands->button(u"voir"_s)->trigger();
        QCOMPARE(journal, (QStringList{u"arret:Open"_s, u"apercu:Stop"_s}));
        w.MMControl1->sendCommand(u"Open"_s);
        journal.clear();
        w.commands->item(u"ouvdossier"_s)->trigger();
        QCOMPARE(journal, QStringList{u"ouvre:Open"_s});
    }

    void quitAsksFirst_data()
    {
        QTest::addColumn<QString>("via");
        QTest::newRow("toolbar") << u"toolbar"_s;
        QTest::newRow("menu") << u"menu"_s;
        QTest::newRow("close box") << u"close box"_s;
    }
    void quitAsksFirst()
    {
        QFETCH(QString, via);
        FormFixture f;
        app::Form1 &w = f.start();
        bool unloaded = false;
        connect(&w, &app::Form1::unloading, [&unloaded] { unloaded = true; });
        auto quit = [&] {
            if (via == u"close box"_s)
                w.close();
            else if (via == u"menu"_s)
                w.commands->item(u"quit"_s)->trigger();
            else
                w.commands->button(u"quit"_s)->trigger();
        };
        w.show();
        f.dialogs->answer = false;
        quit();
        QVERIFY(w.isVisible());
        QVERIFY(!unloaded);
        QCOMPARE(f.dialogs->lastText(), u"Voulez-vous quitter ?"_s);
        f.dialogs->answer = true;
        quit();
        QVERIFY(!w.isVisible());
        QVERIFY(unloaded);
        QCOMPARE(f.dialogs->shown.size(), 2); // the close that follows OK does not ask again
        QCOMPARE(w.MMControl1->command(), u"Stop"_s);
    }

    void searchDialog_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selected");
        QTest::newRow("lower case finds upper case") << u"zèbre"_s << 2;
        QTest::newRow("upper case finds lower case") << u"BLUES"_s << 1;
        QTest::newRow("middle of a name") << u"ouge"_s << 0;
        QTest::newRow("empty text matches the first row") << QString() << 0;
        QTest::newRow("no match") << u"jazz"_s << -1;
    }
    void searchDialog()
    {
        QFETCH(QString, text);
        QFETCH(int, selected);
        FormFixture f;
        app::Form1 &w = f.start();
        w.TS2->setCurrentIndex(1);
        w.Frame1->LV1->clear();
        for (const QString &name : {u"Rouge.mp3"_s, u"blues du soir.mp3"_s, u"ZÈBRE.mp3"_s})
            w.Frame1->LV1->addTopLevelItem(new QTreeWidgetItem({name}));
        w.show();
        w.commands->item(u"recherche"_s)->trigger();
        auto *dialog = w.findChild<app::Form2 *>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->Text1->setText(text);
        dialog->Command1->click();
        QVERIFY(!dialog->isVisible());
        const QList<QTreeWidgetItem *> chosen = w.Frame1->LV1->selectedItems();
        QCOMPARE(chosen.size(), selected < 0 ? 0 : 1);
        if (selected >= 0)
            QCOMPARE(w.Frame1->LV1->indexOfTopLevelItem(chosen.first()), selected);
        QVERIFY(w.Txt_Chemin->text().isEmpty()); // choosing from the dialog loads no file
        w.commands->item(u"rechpiste"_s)->trigger();
        QVERIFY(dialog->isVisible());
        dialog->Command2->click();
        QVERIFY(!dialog->isVisible());
    }

    void aboutAndHelp()
    {
        FormFixture f;
        app::Form1 &w = f.start();
        w.show();
        w.commands->item(u"aprop"_s)->trigger();
        auto *about = w.findChild<app::frmAbout *>();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->lblVersion->text(), u"Version "_s + QStringLiteral(TARVEX_VERSION));
        about->cmdOK->click();
        QVERIFY(!about->isVisible());
        UrlSink sink;
        QDesktopServices::setUrlHandler(u"file"_s, &sink, "open");
        w.commands->item(u"aid"_s)->trigger();
        w.commands->button(u"aide"_s)->trigger();
        QDesktopServices::unsetUrlHandler(u"file"_s);
        const QUrl page = QUrl::fromLocalFile(f.dir.filePath(u"Tarvexfr.html"_s));
        QCOMPARE(sink.opened, (QList<QUrl>{page, page}));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
