#include "formfixture.h"

using app::TagPage;

class TestFileOps : public QObject
{
    Q_OBJECT
private slots:
    // Checked files previewed, then renamed: each gets its previewed name, a marker is never a
    // name, and renaming takes the previewed cells, not the settings or ticks changed since
    // ("later"). The operations themselves are the rename rules' table, the refusals the rename
    // batch's; "message" ends the one report, if any. The list is re-read in every case.
    void renaming_data()
    {
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("edits"); // on the page "Renomeur"
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("preview");
        QTest::addColumn<QString>("later");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("message");
        QTest::newRow("Supprimer")
            << u"01 - Alpha.mp3|02 - Beta.mp3"_s << u"Option1|Combo1=5"_s
            << u"01 - Alpha.mp3|02 - Beta.mp3"_s << u"Alpha.mp3|Beta.mp3"_s << u""_s
            << u"Alpha.mp3=01 - Alpha.mp3|Beta.mp3=02 - Beta.mp3"_s << u""_s;
        QTest::newRow("markers are never names")
            << u"Song.mp3|Titre (Artiste).mp3|x (y).mp3"_s
            << u"Option4|Combo6=Titre (Artiste) <--> Artiste - Titre"_s
            << u"Song.mp3|Titre (Artiste).mp3"_s
            << u"(Non compatible)|Artiste - Titre .mp3|(Pas selectionné)"_s
            << u"x (y).mp3|Combo6=Artiste - Titre <--> Titre - Artiste"_s
            << u"Artiste - Titre .mp3=Titre (Artiste).mp3|Song.mp3=Song.mp3|x (y).mp3=x (y).mp3"_s
            << u""_s;
        QTest::newRow("same new name twice")
            << u"a.mp3|b.mp3"_s << u"Option5|Text2=c.mp3"_s << u"a.mp3|b.mp3"_s << u"c.mp3|c.mp3"_s
            << u""_s << u"b.mp3=b.mp3|c.mp3=a.mp3"_s
            << u"« b.mp3 » → « c.mp3 » : un fichier de ce nom existe déjà"_s;
        QTest::newRow("no checked row") << u"a.mp3|b.mp3"_s << u"Option5|Text2=c.mp3"_s << u""_s
                                        << u"(Pas selectionné)|(Pas selectionné)"_s << u""_s
                                        << u"a.mp3=a.mp3|b.mp3=b.mp3"_s << u""_s;
    }
    void renaming()
    {
        QFETCH(QString, files);
        QFETCH(QString, later);
        QFETCH(QString, message);
        FormFixture f;
        app::Form1 &w = f.startOnFiles(files);
        QFETCH(QString, edits);
        setFields(&w, u"TS1=3|"_s + edits);
        QFETCH(QString, checked);
        f.check(checked);
        w.toolbarClick(u"voir"_s);
        QTEST(column(f.list(), app::FileListModel::NewName), "preview");
        f.check(later.section(u'|', 0, 0)); // ticked after the preview: its cell holds a marker
        setFields(&w, later.section(u'|', 1));
        w.toolbarClick(u"renom"_s);
        QTEST(FormFixture::state(f.music), "after");
        QVERIFY(f.listShowsFolder());
        QCOMPARE(column(f.list(), app::FileListModel::NewName),
                 QString(listOf(files).size() - 1, u'|'));
        QCOMPARE(f.dialogs->shown.size(), message.isEmpty() ? 0 : 1);
        QVERIFY2(message.isEmpty() || f.dialogs->lastText().endsWith(message),
                 qPrintable(f.dialogs->lastText()));
    }

    // Copy, move and delete (items of the file list's context menu) of the checked a.mp3 and
    // b.mp3 while b.mp3 plays. "target" is the folder chosen (none: cancelled), where "cible"
    // already holds an older a.mp3.
    void fileCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("musicAfter");
        QTest::addColumn<QString>("targetAfter");
        QTest::addColumn<QString>("message");
        const QString all = u"a.mp3=a.mp3|b.mp3=b.mp3|c.mp3=c.mp3"_s;
        const QString old = u"a.mp3=ancien contenu, plus long"_s;
        QTest::newRow("copy onto its own folder")
            << u"copier"_s << true << u"musique"_s << all << all << u""_s;
        QTest::newRow("copy replaces a target")
            << u"copier"_s << true << u"cible"_s << all << u"a.mp3=a.mp3|b.mp3=b.mp3"_s << u""_s;
        QTest::newRow("move never replaces")
            << u"deplacer"_s << true << u"cible"_s << u"a.mp3=a.mp3|c.mp3=c.mp3"_s
            << old + u"|b.mp3=b.mp3"_s << u"« a.mp3 » : un fichier de ce nom existe déjà"_s;
        QTest::newRow("delete the file played")
            << u"supprimer"_s << true << u""_s << u"c.mp3=c.mp3"_s << u""_s << u""_s;
        for (const QString &command : {u"copier"_s, u"deplacer"_s, u"supprimer"_s})
            QTest::addRow("%s refused", qPrintable(command))
                << command << false << u"cible"_s << all << old << u""_s;
        for (const QString &command : {u"copier"_s, u"deplacer"_s})
            QTest::addRow("%s, no folder chosen", qPrintable(command))
                << command << true << u""_s << all << u""_s << u""_s;
    }
    void fileCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, answer);
        QFETCH(QString, target);
        QFETCH(QString, message);
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3|c.mp3"_s);
        f.write(u"../cible/a.mp3"_s, "ancien contenu, plus long");
        const QString folder = target.isEmpty() ? QString() : f.dir.filePath(target);
        f.tagPage()->selectRow(f.files()->rowOf(u"b.mp3"_s));
        w.run(app::Procedure::lecture);
        QCOMPARE(f.player->playState(), files::Player::Playing);
        f.check(u"a.mp3|b.mp3"_s);
        f.dialogs->answer = answer;
        f.dialogs->folders = QStringList{folder};
        f.commands()->item(command)->trigger();
        const QString targetState = folder.isEmpty() ? QString() : FormFixture::state(folder);
        QVERIFY(f.player->fileName().isEmpty()); // released before anything else
        QTEST(FormFixture::state(f.music), "musicAfter");
        QTEST(targetState, "targetAfter");
        QVERIFY(f.listShowsFolder());
        QCOMPARE(f.dialogs->shown.size(), message.isEmpty() ? 1 : 2);
        QVERIFY2(f.dialogs->lastText().endsWith(message), qPrintable(f.dialogs->lastText()));
        QVERIFY(!w.findChild<app::FileCommands *>()->isDeleting());
    }

    void playback()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3"_s);
        auto play = [&](const QString &name) {
            f.tagPage()->selectRow(f.files()->rowOf(name));
            w.run(app::Procedure::lecture);
        };
        play(u"a.mp3"_s);
        QCOMPARE(w.statusPanel(1), u"Lecture de : a.mp3"_s);
        QVERIFY(f.timer(u"Timer1"_s)->isActive());
        play(u"b.mp3"_s); // another row while the first plays: the player switches files
        QCOMPARE(w.statusPanel(1), u"Lecture de : b.mp3"_s);
        f.commands()->item(u"arretlecture"_s)->trigger();
        QCOMPARE(f.player->playState(), files::Player::Stopped);
        QCOMPARE(f.player->fileName(), f.music + u"/b.mp3"_s); // stopping keeps the file
        QVERIFY(w.statusPanel(1).isEmpty());
        // "arret" and any toolbar click release the file.
        for (auto release : {+[](app::Form1 &w) { w.run(app::Procedure::arret); },
                             +[](app::Form1 &w) { w.toolbarClick(u"voir"_s); }}) {
            play(u"b.mp3"_s);
            release(w);
            QVERIFY(f.player->fileName().isEmpty());
        }
        // A file that cannot be played stops silently.
        f.player->failNextPlay();
        play(u"a.mp3"_s);
        QVERIFY(w.statusPanel(1).isEmpty());
        QVERIFY(!f.timer(u"Timer1"_s)->isActive());
        QVERIFY(f.dialogs->shown.isEmpty());
    }

    // To the trash, or for good from another entry, each after a question naming the files.
    void deletion()
    {
        FormFixture f;
        qputenv("XDG_DATA_HOME", QFile::encodeName(f.dir.path()));
        f.startOnFiles(u"a.mp3|b.mp3|c.mp3|d.mp3|e.mp3"_s);
        f.check(u"a.mp3|b.mp3|c.mp3|d.mp3"_s);
        f.commands()->item(u"supprimer2"_s)->trigger();
        QCOMPARE(f.dialogs->lastText(),
                 u"Mettre 4 fichiers à la corbeille : a.mp3, b.mp3, c.mp3 et 1 autre(s) ?"_s);
        f.check(u"e.mp3"_s);
        f.commands()->item(u"supprimerdef"_s)->trigger();
        QCOMPARE(f.dialogs->lastText(), u"Supprimer définitivement 1 fichier : e.mp3 ? Cette "
                                        u"suppression ne peut pas être annulée."_s);
        QCOMPARE(QDir(f.music).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(f.dir.filePath(u"Trash/files"_s)).entryList(QDir::Files).join(u'|'),
                 u"a.mp3|b.mp3|c.mp3|d.mp3"_s);
    }
};

QTEST_MAIN(TestFileOps)
#include "tst_fileops.moc"
