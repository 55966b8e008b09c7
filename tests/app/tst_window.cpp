#include "formfixture.h"

#include "app/fileinfopanel.h"
#include "app/form2.h"
#include "app/frmabout.h"
#include "app/settingstable.h"
#include "mpegstream.h"

namespace {

const QString tagOptions = u"ExtraireTagv1|ExtraireTagv2|ExtraireTagv1et2|ExtraireTagrien"_s;

// The page commands that are on: toolbar buttons, then menu items.
QString enabledCommands(const FormFixture &f)
{
    QStringList on;
    for (const QString &name :
         listOf(u"ouvrir|CDDB|extraireMP3|voir|renom|enreID|suppID|copieID|lit|"
                u"arretlecture|recherche|ouvdossier|copier2|deplacer2|"
                u"supprimer2|demCDDB|Extra|extraMP3|extraWAV"_s))
        if (QAction *a = f.commands()->button(name);
            (a ? a : f.commands()->item(name))->isEnabled())
            on << name;
    return on.join(u'|');
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    // Stored values are kept as they are, even empty or nonsense, and reach the controls;
    // nonsense falls back. "values": Formatfichier|ExtraireTagv1|ExtraireTagv1et2|ImportationNom;
    // "controls": Combo8's index, Option7, Option9, Check2.
    void storedValues_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("controls");
        QTest::newRow("format 3, v1") << u"3|1|0|1"_s << u"3|1|0|1"_s;
        QTest::newRow("blanks, v1 and v2") << u" 2 |0|1|0"_s << u"2|0|1|0"_s;
        QTest::newRow("out of range, words") << u"9|True|False|-1"_s << u"0|1|0|1"_s;
        QTest::newRow("nonsense") << u"abc|yes|oui|"_s << u"0|0|0|0"_s;
    }
    void storedValues()
    {
        QFETCH(QString, values);
        FormFixture f;
        const QString names = u"Formatfichier|ExtraireTagv1|ExtraireTagv1et2|ImportationNom|"
                              u"ExtraireTagv2|repertCD|repertWAVMP3|Commentaire"_s;
        const QString all = values + u"|0||/srv/musique|Mon commentaire, avec virgule"_s;
        for (int i = 0; i < 8; ++i)
            f.store(names.split(u'|')[i], all.split(u'|')[i]);
        f.start();
        const app::OptionsPage *p = f.optionsPage();
        QCOMPARE(f.stored(names), all);
        QCOMPARE(f.stored(u"Encodepar"_s), QString()); // the missing value got its default
        QFETCH(QString, controls);
        QCOMPARE(u"%1|%2|%3|%4|"_s.arg(p->Combo8->currentIndex())
                         .arg(p->Option7->isChecked())
                         .arg(p->Option9->isChecked())
                         .arg(p->Check2->isChecked()) +
                     p->Text5->text() + u'|' + p->Text8->text(),
                 controls + u"|/srv/musique|Mon commentaire, avec virgule"_s);
    }

    // The first start writes the ten defaults. Then typing saves nothing; each control saves
    // its own value, an option button its whole group; a cancelled folder dialog keeps the folder.
    void savingHandlers()
    {
        FormFixture f;
        f.start();
        app::OptionsPage *p = f.optionsPage();
        const QString names = u"Commentaire|Encodepar|ImportationNom|repertCD|repertWAVMP3"_s;
        const QString all = names + u"|Formatfichier|"_s + tagOptions,
                      folder = app::defaultOutputFolder();
        QCOMPARE(f.stored(all), u"||0|"_s + folder + u'|' + folder + u"|0|0|1|0|0"_s);
        QTest::keyClicks(p->Text8, u"note"_s);
        f.dialogs->folders = {u"/tmp/cd"_s, u"/tmp/conv"_s, QString()};
        setFields(p,
                  u"Text9=LAME|Check2|Command5|Command6|Command5|Combo8=Titre (Artiste)|Option9"_s);
        QCOMPARE(f.stored(all), u"||1|/tmp/cd|/tmp/conv|2|0|0|1|0"_s);
        setFields(p, u"Command7|Command8"_s);
        QCOMPARE(f.stored(names), u"note|LAME|1|/tmp/cd|/tmp/conv"_s);
    }

    void unwritableSettingsFolder()
    {
        FormFixture f;
        f.ini = u"/proc/tarvex-absent/Tarvex.ini"_s;
        app::Form1 &w = f.make();
        w.startUp();
        // The defaults hold although they cannot be stored, and a choice still takes effect.
        QCOMPARE(f.optionsPage()->tagOption(), cd::TagOption::V2);
        setFields(&w, u"Option9|Command7"_s);
        QCOMPARE(f.optionsPage()->tagOption(), cd::TagOption::V1AndV2);
        QVERIFY(!QFileInfo::exists(f.ini));
    }

    // The desktop hands the program a folder or an MP3 to open, on a computer with or without
    // a CD drive.
    void showPath_data()
    {
        QTest::addColumn<QString>("given"); // inside the folder "musique"
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("drive");
        QTest::newRow("folder") << u"album"_s << QString() << true;
        QTest::newRow("mp3 of a folder") << u"album/B.mp3"_s << u"album/B.mp3"_s << true;
        QTest::newRow("file the list leaves out") << u"album/notes.txt"_s << QString() << true;
        QTest::newRow("folder, no drive") << u"album"_s << QString() << false;
        QTest::newRow("mp3, no drive") << u"album/B.mp3"_s << u"album/B.mp3"_s << false;
    }
    void showPath()
    {
        QFETCH(QString, given);
        QFETCH(QString, chosen);
        QFETCH(bool, drive);
        FormFixture f;
        for (const QString &name : listOf(u"autre.mp3|album/a.mp3|album/B.mp3|album/notes.txt"_s))
            f.write(name, name.toUtf8());
        f.start(drive ? QStringList() : QStringList{f.dir.filePath(u"absente.cue"_s)})
            .showPath(QDir(f.music).filePath(given));
        QVERIFY(f.dialogs->shown.isEmpty());
        QCOMPARE(f.pageTabs()->currentIndex(), 1);
        QCOMPARE(column(f.list(), app::FileListModel::Name), u"a.mp3|B.mp3"_s);
        QCOMPARE(f.tagPage()->currentSelectedRow() >= 0, !chosen.isEmpty());
        QCOMPARE(f.form->chosenFile(),
                 chosen.isEmpty() ? QString() : QDir(f.music).filePath(chosen));
    }

    // Images are listed in the order given, missing and broken ones left out; the first is
    // chosen once and opened by the CD device.
    void drives()
    {
        FormFixture f;
        const QString b = f.discImage(u"b"_s), a = f.discImage(u"a"_s);
        const QString absent = f.dir.filePath(u"absente.cue"_s), broken = f.music + u"/casse.cue"_s;
        f.write(u"casse.cue"_s, "ceci n'est pas une image\n");
        app::Form1 &w = f.make({absent, b, broken, a});
        int selections = 0;
        connect(f.cdPage()->cboLecteurCD, &QComboBox::currentIndexChanged, [&] { ++selections; });
        w.startUp();
        QCOMPARE(f.cdPage()->drives(), (QStringList{b, a}));
        QCOMPARE(selections, 1);
        QVERIFY(f.dialogs->shown.isEmpty());
        QVERIFY(f.cdControl->isOpen());
        QCOMPARE(f.cdControl->device(), b);
    }

    // Without any drive the window starts on "Tag et noms", which works; the CD page says so in
    // place of the tracks and its commands are off. A drive plugged in later is listed and
    // chosen; another one leaves the chosen disc and its typed fields alone; when the chosen one
    // goes the next is chosen, with none left the page says so again. A running job keeps its
    // drive until it ends.
    void drivesComeAndGo()
    {
        FormFixture f;
        const QString b = f.discImage(u"b"_s), a = f.discImage(u"a"_s);
        f.write(u"a.mp3"_s, "a.mp3");
        f.store(u"repertCD"_s, f.music);
        app::Form1 &w = f.start({f.dir.filePath(u"absente.cue"_s)});
        w.show();
        QVERIFY(f.dialogs->shown.isEmpty());
        QCOMPARE(f.pageTabs()->currentIndex(), 1);
        f.choose(u"a.mp3"_s);
        QCOMPARE(w.chosenFile(), QDir(f.music).filePath(u"a.mp3"_s));
        QVERIFY(f.timer(u"TimerLecteurs"_s)->interval() >= 1000);
        f.pageTabs()->setCurrentIndex(0);
        app::CdPage *page = f.cdPage();
        // Drives listed, the chosen one, its tracks, the album field, the device opened, whether
        // the page says there is no drive, then the commands on.
        const auto state = [&] {
            QStringList names;
            for (const QString &drive : page->drives())
                names << QFileInfo(drive).baseName();
            return QStringList{names.join(u','),
                               QFileInfo(page->cboLecteurCD->currentText()).baseName(),
                               QString::number(page->LV2->topLevelItemCount()),
                               page->txtAlbum->text(),
                               f.cdControl->isOpen() ? QFileInfo(f.cdControl->device()).baseName()
                                                     : u"-"_s,
                               page->lblAucunLecteur->isVisible() ? u"aucun"_s : QString(),
                               enabledCommands(f)}
                .join(u'|');
        };
        QCOMPARE(state(), u"||0||-|aucun|"_s);
        const QString on = u"CDDB|extraireMP3|demCDDB|Extra|extraMP3|extraWAV"_s;
        page->txtAlbum->setText(u"Mon album"_s);
        f.drives = {b}; // seen by the poll
        QTRY_COMPARE_WITH_TIMEOUT(state(), u"b|b|3||b||"_s + on, 3000);
        const std::pair<QStringList, QString> steps[] = {
            {{b, a}, u"b,a|b|3|Mon album|b||"_s + on},
            {{a}, u"a|a|3||a||"_s + on},
            {{}, u"||0||-|aucun|"_s},
        };
        for (const auto &[drives, expected] : steps) {
            page->txtAlbum->setText(u"Mon album"_s);
            f.drives = drives;
            w.pollDrives();
            QCOMPARE(state(), expected);
        }
        // A drive leaving during an extraction from it.
        f.drives = {a};
        w.pollDrives();
        setFields(&w, u"Text3="_s + f.dir.path());
        checkRows(page->LV2, {1});
        QString during;
        QTimer::singleShot(0, &w, [&] {
            f.drives.clear();
            w.pollDrives();
            during = page->cmdAnnuler->isHidden() ? u"no job"_s : state().section(u'|', 0, 5);
        });
        w.run(app::Procedure::extwav);
        QCOMPARE(during, u"a|a|3||a|"_s);
        QCOMPARE(column(page->LV2, 1), u"Ok|(Pas selectionné)|(Pas selectionné)"_s);
        w.pollDrives();
        QCOMPARE(state(), u"||0||-|aucun|"_s);
    }

    // The list keeps the user's place: a cancelled folder dialog changes nothing, the folder
    // opened stays across page switches, and "Tag et noms" lists MP3 files again whatever type
    // was chosen before. "ouvrir" opens the folder "autre" (cancelled when "annulé").
    void listKeepsPlace_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("listed"); // folder: files, then the type shown
        QTest::newRow("folder dialog cancelled")
            << u"ouvrir annulé"_s << u"musique: a.mp3|b.mp3 *.mp3"_s;
        QTest::newRow("folder kept on Extraire CD")
            << u"ouvrir|TS2=0|TS2=1"_s << u"autre: c.mp3 *.mp3"_s;
        QTest::newRow("folder kept on Options")
            << u"ouvrir|TS2=2|TS2=1"_s << u"autre: c.mp3 *.mp3"_s;
        QTest::newRow("mp3 again after *.wav")
            << u"Combo7=*.wav|TS2=0|TS2=1"_s << u"musique: a.mp3|b.mp3 *.mp3"_s;
        QTest::newRow("*.wav chosen off the page")
            << u"TS2=0|Combo7=*.wav|TS2=1"_s << u"musique: a.mp3|b.mp3 *.mp3"_s;
    }
    void listKeepsPlace()
    {
        QFETCH(QString, clicks);
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3|x.wav|autre/c.mp3"_s);
        f.dialogs->folders = {QDir(f.music).filePath(u"autre"_s)};
        for (const QString &click : listOf(clicks)) {
            if (click == u"ouvrir annulé"_s)
                f.dialogs->folders.clear();
            if (click.startsWith(u"ouvrir"_s))
                f.commands()->button(u"ouvrir"_s)->trigger();
            else
                setFields(&w, click);
        }
        QTEST(QFileInfo(f.tagPage()->txtDossier->text()).fileName() + u": "_s +
                  column(f.list(), app::FileListModel::Name) + u' ' +
                  f.tagPage()->Combo7->currentText(),
              "listed");
    }

    // Each page shows its frames (by number) and enables exactly its commands, whatever page
    // came before; Tab goes through it as it reads: down the rows, left to right within a row,
    // and to the next pane on the right when a column ends.
    void pages_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("frames");
        const QString cd = u"CDDB|extraireMP3|%1demCDDB|Extra|extraMP3|extraWAV"_s;
        const QString files =
            u"ouvrir|%1lit|arretlecture|recherche|ouvdossier|copier2|deplacer2|supprimer2"_s;
        // No row is selected here: the tag commands stay disabled on every page (they follow
        // the file the editor shows, see the tag page's tests).
        const QString names = u"voir|renom|"_s;
        QTest::newRow("at start") << u""_s << cd.arg(u""_s) << u"6|3|9"_s;
        QTest::newRow("Tag et noms") << u"TS2=2|TS2=1"_s << files.arg(u""_s) << u"1|3|9"_s;
        QTest::newRow("Options") << u"TS2=1|TS2=2"_s << u""_s << u"7|3|9"_s;
        QTest::newRow("Options du taggeur") << u"TS2=2|TS3=1"_s << u""_s << u"7|3|10"_s;
        QTest::newRow("Conversion de fichier") << u"TS2=2|TS3=2"_s << u""_s << u"7|3|11"_s;
        QTest::newRow("mp3 Tag ID3 v1") << u"TS2=1|TS1=1"_s << files.arg(u""_s) << u"1|2|9"_s;
        QTest::newRow("mp3 Tag ID3 v2") << u"TS2=1|TS1=2"_s << files.arg(u""_s) << u"1|5|9"_s;
        QTest::newRow("mp3 Renomeur") << u"TS2=1|TS1=3"_s << files.arg(names) << u"1|4|9"_s;
        QTest::newRow("wav Renomeur")
            << u"TS2=1|Combo7=*.wav|TS1=3"_s << files.arg(names) << u"1|4|9"_s;
        // The main tab strip shows "Info Fichier" again.
        QTest::newRow("back on Tag et noms")
            << u"TS2=1|TS1=2|TS2=2|TS2=1"_s << files.arg(u""_s) << u"1|3|9"_s;
        QTest::newRow("back on Extraire CD")
            << u"TS2=1|TS1=1|TS2=0"_s << cd.arg(u""_s) << u"6|2|9"_s;
    }
    void pages()
    {
        FormFixture f;
        f.write(u"a.mp3"_s, "a.mp3");
        f.store(u"repertCD"_s, f.music);
        app::Form1 &w = f.start();
        w.show();
        w.resize(1000, 1000);
        QFETCH(QString, clicks);
        setFields(&w, clicks);
        QTEST(enabledCommands(f), "commands");
        QStringList shown;
        for (const QString &frame : listOf(u"6|1|7|3|2|5|4|9|10|11"_s))
            if (!w.findChild<QWidget *>(u"Frame"_s + frame)->isHidden())
                shown << frame;
        QTEST(shown.join(u'|'), "frames");
        f.choose(u"a.mp3"_s); // the editor's fields are in the chain
        QApplication::processEvents();
        QStringList backwards;
        QWidget *from = nullptr;
        for (QWidget *at = f.pageTabs()->nextInFocusChain(); at != f.pageTabs();
             at = at->nextInFocusChain()) {
            const QWidget *parent = at->parentWidget();
            if (!at->isVisibleTo(&w) || !at->isEnabled() || !(at->focusPolicy() & Qt::TabFocus) ||
                (parent && parent->focusProxy() == at))
                continue;
            const QRect a(from ? from->mapTo(&w, QPoint()) : QPoint(),
                          from ? from->size() : QSize());
            const QRect b(at->mapTo(&w, QPoint()), at->size());
            if (from && b.top() < a.top() - 4 && b.left() <= a.right())
                backwards << from->objectName() + u" -> "_s + at->objectName();
            from = at;
        }
        QVERIFY(from);
        QCOMPARE(backwards, QStringList());
        // Tab leaves the multi-line comment for the next field.
        auto *comment = w.findChild<QTextEdit *>(u"txtv2Commentaire"_s);
        comment->setEnabled(true);
        comment->setFocus();
        QTest::keyClick(comment, Qt::Key_Tab);
        QVERIFY(!comment->hasFocus() && comment->toPlainText().isEmpty());
    }

    // A toolbar click releases playback, stops the CD device, then runs its command; a menu
    // item only runs its command; a disabled command (on the CD page) does nothing.
    void commandsRun()
    {
        FormFixture f;
        app::Form1 &w = f.start();
        QStringList journal, pages;
        const std::pair<app::Procedure, QString> procedures[] = {
            {app::Procedure::arret, u"arret"_s},
            {app::Procedure::apercu, u"apercu"_s},
            {app::Procedure::ouvre, u"ouvre"_s}};
        for (const auto &[procedure, name] : procedures)
            w.setProcedure(procedure,
                           [&, label = name] { journal << label + u':' + f.cdControl->command(); });
        for (const QString &page : {u"TS2=0"_s, u"TS2=1|TS1=3"_s}) {
            setFields(&w, page);
            journal.clear();
            for (QAction *command :
                 {f.commands()->button(u"voir"_s), f.commands()->item(u"ouvdossier"_s)}) {
                f.cdControl->sendCommand(u"Open"_s);
                command->trigger();
            }
            pages << journal.join(u' ');
        }
        QCOMPARE(pages, (QStringList{QString(), u"arret:Open apercu:Stop ouvre:Open"_s}));
    }

    // The keyboard reaches the renaming commands, F5 to preview and F2 to rename, on the page
    // "Renomeur" only; a folder opened leaves the keyboard in its list.
    void keyboardReachesCommands()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|autre/b.mp3"_s);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QStringList journal;
        w.setProcedure(app::Procedure::apercu, [&] { journal << u"apercu"_s; });
        w.setProcedure(app::Procedure::renomer, [&] { journal << u"renomer"_s; });
        f.dialogs->folders = {QDir(f.music).filePath(u"autre"_s)};
        QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(f.list()->hasFocus());
        for (const QString &page : {u"TS1=0"_s, u"TS1=3"_s}) {
            setFields(&w, page);
            QTest::keyClick(f.list(), Qt::Key_F5);
            QTest::keyClick(f.list(), Qt::Key_F2);
        }
        QCOMPARE(journal.join(u' '), u"apercu renomer"_s);
    }

    // From the toolbar and from the close box: Cancel keeps the window, OK ends it without a
    // second question.
    void quitAsksFirst()
    {
        for (bool closeBox : {false, true}) {
            FormFixture f;
            app::Form1 &w = f.start();
            bool unloaded = false;
            connect(&w, &app::Form1::unloading, [&unloaded] { unloaded = true; });
            w.show();
            for (bool answer : {false, true}) {
                f.dialogs->answer = answer;
                if (closeBox)
                    w.close();
                else
                    f.commands()->button(u"quit"_s)->trigger();
                QCOMPARE(w.isVisible(), !answer);
                QCOMPARE(unloaded, answer);
            }
            QCOMPARE(f.dialogs->lastText(), u"Voulez-vous quitter ?"_s);
            QCOMPARE(f.dialogs->shown.size(), 2);
            QCOMPARE(f.cdControl->command(), u"Stop"_s);
        }
    }

    void searchDialog_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selected");
        QTest::newRow("lower case finds upper case") << u"zèbre"_s << 2;
        QTest::newRow("middle of a name") << u"ouge"_s << 1;
        QTest::newRow("empty text matches the first row") << QString() << 0;
        QTest::newRow("no match") << u"jazz"_s << -1;
    }
    void searchDialog()
    {
        QFETCH(QString, text);
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"Rouge.mp3|blues du soir.mp3|ZÈBRE.mp3"_s);
        f.commands()->item(u"recherche"_s)->trigger();
        auto *dialog = w.findChild<app::Form2 *>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->Text1->setText(text);
        dialog->Command1->click();
        QVERIFY(!dialog->isVisible());
        QTEST(f.tagPage()->selectedRows().value(0, -1), "selected");
        // The editor shows the file found, as after a click.
        QCoreApplication::processEvents();
        const int row = f.tagPage()->selectedRows().value(0, -1);
        QCOMPARE(w.chosenFile(), row < 0 ? QString() : f.files()->path(row));
    }

    // Help and version are answered on standard output before any display or drive is looked
    // for: no display is given.
    void helpAndVersion_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("begins");
        const QString usage = u"Utilisation : tarvex [--cd-image FICHIER]"_s;
        QTest::newRow("--help") << QStringList{u"--help"_s} << usage;
        QTest::newRow("--help after an image")
            << QStringList{u"--cd-image"_s, u"--version"_s, u"--help"_s} << usage;
        QTest::newRow("--version")
            << QStringList{u"--version"_s} << u"Tarvex " TARVEX_VERSION "\n"_s;
    }
    void helpAndVersion()
    {
        QFETCH(QStringList, args);
        const QString program = qEnvironmentVariable("TARVEX_APP");
        QVERIFY2(QFile::exists(program), "TARVEX_APP does not name the built tarvex");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, args);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        QFETCH(QString, begins);
        QVERIFY2(out.startsWith(begins), qPrintable(out));
    }

    // The about box shows the version. Help and system information say why they cannot be
    // shown: no help file, no program to open it (none is known on the offscreen platform), no
    // system information tool on the PATH.
    void helpAndAboutSayWhy()
    {
        QCOMPARE(QGuiApplication::platformName(), u"offscreen"_s);
        FormFixture f;
        app::Form1 &w = f.start();
        w.show();
        const QString help = f.dir.filePath(u"Tarvexfr.html"_s);
        f.commands()->item(u"aid"_s)->trigger();
        QCOMPARE(f.dialogs->lastText(), u"Le fichier d'aide « %1 » est introuvable."_s.arg(help));
        QVERIFY(mpegstream::writeFile(help, "<html></html>"));
        f.commands()->button(u"aide"_s)->trigger();
        QCOMPARE(f.dialogs->lastText(),
                 u"Aucun programme ne peut ouvrir le fichier d'aide « %1 ». Installez un "
                 u"navigateur Web ou ouvrez ce fichier vous-même."_s.arg(help));
        f.commands()->item(u"aprop"_s)->trigger();
        auto *about = w.findChild<app::frmAbout *>();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->lblVersion->text(), u"Version "_s + QStringLiteral(TARVEX_VERSION));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(f.dir.path()));
        about->cmdSysInfo->click();
        qputenv("PATH", path);
        QCOMPARE(f.dialogs->lastText(),
                 u"Aucun outil d'informations système n'est installé (hardinfo, "
                 u"gnome-system-monitor, ksysguard ou plasma-systemmonitor)."_s);
        QCOMPARE(f.dialogs->shown.size(), 3);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
