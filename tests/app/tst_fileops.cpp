#include "formfixture.h"

#include "mpegstream.h"

using app::TagPage;

class TestFileOps : public QObject
{
    Q_OBJECT
private slots:
    // Checked files previewed, then renamed: each gets its previewed name, a marker is never a
    // name, and the preview follows the settings typed and the rows ticked since ("later") before
    // the renaming takes it. The operations themselves are the rename rules' table, the refusals
    // the rename batch's; the status bar says what was done, and "message" ends the one report of
    // refusals, if any. The list is re-read in every case.
    void renaming_data()
    {
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("edits"); // on the page "Renomeur"
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("preview");
        QTest::addColumn<QString>("later");
        QTest::addColumn<QString>("previewLater");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("Supprimer")
            << u"01 - Alpha.mp3|02 - Beta.mp3"_s << u"Option1|Combo1=5"_s
            << u"01 - Alpha.mp3|02 - Beta.mp3"_s << u"Alpha.mp3|Beta.mp3"_s << u""_s
            << u"Alpha.mp3|Beta.mp3"_s << u"Alpha.mp3=01 - Alpha.mp3|Beta.mp3=02 - Beta.mp3"_s
            << u"Fichiers renommés : 2"_s << u""_s;
        QTest::newRow("markers are never names; a row ticked later")
            << u"Song.mp3|Titre (Artiste).mp3|x (y).mp3"_s
            << u"Option4|Combo6=Titre (Artiste) <--> Artiste - Titre"_s
            << u"Song.mp3|Titre (Artiste).mp3"_s
            << u"(Non compatible)|Artiste - Titre .mp3|(Pas selectionné)"_s << u"x (y).mp3"_s
            << u"(Non compatible)|Artiste - Titre .mp3|y - x .mp3"_s
            << u"Artiste - Titre .mp3=Titre (Artiste).mp3|Song.mp3=Song.mp3|y - x .mp3=x (y).mp3"_s
            << u"Fichiers renommés : 2"_s << u""_s;
        QTest::newRow("stale preview: a name typed later")
            << u"a.mp3|b.mp3"_s << u"Option5|Text2=c.mp3"_s << u"a.mp3"_s
            << u"c.mp3|(Pas selectionné)"_s << u"|Text2=d.mp3"_s << u"d.mp3|(Pas selectionné)"_s
            << u"b.mp3=b.mp3|d.mp3=a.mp3"_s << u"Fichiers renommés : 1"_s << u""_s;
        QTest::newRow("same new name twice")
            << u"a.mp3|b.mp3"_s << u"Option5|Text2=c.mp3"_s << u"a.mp3|b.mp3"_s << u"c.mp3|c.mp3"_s
            << u""_s << u"c.mp3|c.mp3"_s << u"b.mp3=b.mp3|c.mp3=a.mp3"_s
            << u"Fichiers renommés : 1 ; non renommés : « b.mp3 » (un fichier de ce nom existe "
               u"déjà)"_s
            << u"« b.mp3 » → « c.mp3 » : un fichier de ce nom existe déjà"_s;
        QTest::newRow("no checked row")
            << u"a.mp3|b.mp3"_s << u"Option5|Text2=c.mp3"_s << u""_s
            << u"(Pas selectionné)|(Pas selectionné)"_s << u""_s
            << u"(Pas selectionné)|(Pas selectionné)"_s << u"a.mp3=a.mp3|b.mp3=b.mp3"_s
            << u"Fichiers renommés : 0"_s << u""_s;
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
        f.check(later.section(u'|', 0, 0));
        setFields(&w, later.section(u'|', 1));
        QFETCH(QString, previewLater);
        QTRY_COMPARE(column(f.list(), app::FileListModel::NewName), previewLater);
        w.toolbarClick(u"renom"_s);
        QTEST(FormFixture::state(f.music), "after");
        QVERIFY(f.listShowsFolder());
        QCOMPARE(column(f.list(), app::FileListModel::NewName),
                 QString(listOf(files).size() - 1, u'|'));
        QTEST(w.statusPanel(1), "status");
        QCOMPARE(f.dialogs->shown.size(), message.isEmpty() ? 0 : 1);
        QVERIFY2(message.isEmpty() || f.dialogs->lastText().endsWith(message),
                 qPrintable(f.dialogs->lastText()));
    }

    // "Renommer" with no preview on show, or right after a setting changed, shows the preview
    // first and asks; "Annuler" keeps the files, the ticks and the preview.
    void renameAsksWithoutPreview()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3"_s);
        setFields(&w, u"Option5|Text2=c.mp3"_s); // the renaming page is not shown
        f.check(u"a.mp3"_s);
        QCOMPARE(column(f.list(), app::FileListModel::NewName), u"|"_s);
        const QString question = u"Renommer 1 fichier(s) comme l'aperçu l'indique ?"_s;
        f.dialogs->answer = false;
        w.toolbarClick(u"renom"_s);
        QCOMPARE(f.dialogs->lastText(), question);
        QCOMPARE(column(f.list(), app::FileListModel::NewName), u"c.mp3|(Pas selectionné)"_s);
        QCOMPARE(f.files()->checkedNames(), QStringList{u"a.mp3"_s});
        QCOMPARE(FormFixture::state(f.music), u"a.mp3=a.mp3|b.mp3=b.mp3"_s);
        // Now shown, the preview is renamed without a question.
        f.dialogs->answer = true;
        w.toolbarClick(u"renom"_s);
        QCOMPARE(f.dialogs->shown.size(), 1);
        QCOMPARE(FormFixture::state(f.music), u"b.mp3=b.mp3|c.mp3=a.mp3"_s);
        QCOMPARE(w.statusPanel(1), u"Fichiers renommés : 1"_s);
        // A name typed just before: the question again, over the new preview.
        setFields(&w, u"TS1=3|Text2=d.mp3"_s);
        f.check(u"b.mp3"_s);
        w.toolbarClick(u"renom"_s);
        QCOMPARE(f.dialogs->shown.size(), 2);
        QCOMPARE(FormFixture::state(f.music), u"c.mp3=a.mp3|d.mp3=b.mp3"_s);
    }

    // Copy, move and delete (items of the file list's context menu) of the checked a.mp3 and
    // b.mp3 while b.mp3 plays. "target" is the folder chosen (none: cancelled), where "cible"
    // already holds an older a.mp3, which is replaced only on the user's word and then goes to
    // the trash. "Annuler" (Ctrl+Z) afterwards puts every file back, the trash emptied.
    void fileCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QList<app::Dialogs::Replace>>("replace");
        QTest::addColumn<QString>("musicAfter");
        QTest::addColumn<QString>("targetAfter");
        QTest::addColumn<QString>("trashed");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("message");
        using Replace = app::Dialogs::Replace;
        const QString all = u"a.mp3=a.mp3|b.mp3=b.mp3|c.mp3=c.mp3"_s;
        const QString old = u"a.mp3=ancien contenu, plus long"_s;
        const QString both = u"a.mp3=a.mp3|b.mp3=b.mp3"_s;
        QTest::newRow("copy onto its own folder")
            << u"copier"_s << true << u"musique"_s << QList<Replace>{} << all << all << u""_s
            << u"Fichiers copiés : 0 ; en échec : 2"_s
            << u"« b.mp3 » : la destination est le fichier lui-même"_s;
        QTest::newRow("copy: Remplacer")
            << u"copier"_s << true << u"cible"_s << QList<Replace>{Replace::Replace} << all << both
            << old << u"Fichiers copiés : 2"_s << u""_s;
        QTest::newRow("copy: Ignorer")
            << u"copier"_s << true << u"cible"_s << QList<Replace>{Replace::Skip} << all
            << old + u"|b.mp3=b.mp3"_s << u""_s << u"Fichiers copiés : 1 ; gardés à la place : 1"_s
            << u""_s;
        QTest::newRow("copy: Annuler")
            << u"copier"_s << true << u"cible"_s << QList<Replace>{Replace::Cancel} << all << old
            << u""_s << u"Fichiers copiés : 0 ; le reste a été annulé"_s << u""_s;
        QTest::newRow("move: Tout remplacer")
            << u"deplacer"_s << true << u"cible"_s << QList<Replace>{Replace::ReplaceAll}
            << u"c.mp3=c.mp3"_s << both << old << u"Fichiers déplacés : 2"_s << u""_s;
        QTest::newRow("move: Ignorer")
            << u"deplacer"_s << true << u"cible"_s << QList<Replace>{Replace::Skip}
            << u"a.mp3=a.mp3|c.mp3=c.mp3"_s << old + u"|b.mp3=b.mp3"_s << u""_s
            << u"Fichiers déplacés : 1 ; gardés à la place : 1"_s << u""_s;
        QTest::newRow("delete the file played")
            << u"supprimer"_s << true << u""_s << QList<Replace>{} << u"c.mp3=c.mp3"_s << u""_s
            << both << u"Fichiers mis à la corbeille : 2"_s << u""_s;
        for (const QString &command : {u"copier"_s, u"deplacer"_s, u"supprimer"_s})
            QTest::addRow("%s refused", qPrintable(command))
                << command << false << u"cible"_s << QList<Replace>{} << all << old << u""_s
                << u""_s << u""_s;
        for (const QString &command : {u"copier"_s, u"deplacer"_s})
            QTest::addRow("%s, no folder chosen", qPrintable(command))
                << command << true << u""_s << QList<Replace>{} << all << u""_s << u""_s << u""_s
                << u""_s;
    }
    void fileCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, answer);
        QFETCH(QString, target);
        QFETCH(QList<app::Dialogs::Replace>, replace);
        QFETCH(QString, status);
        QFETCH(QString, message);
        FormFixture f;
        qputenv("XDG_DATA_HOME", QFile::encodeName(f.dir.path()));
        const QString trash = f.dir.filePath(u"Trash/files"_s);
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3|c.mp3"_s);
        f.write(u"../cible/a.mp3"_s, "ancien contenu, plus long");
        const QString folder = target.isEmpty() ? QString() : f.dir.filePath(target);
        const QString targetBefore = folder.isEmpty() ? QString() : FormFixture::state(folder);
        f.tagPage()->selectRow(f.files()->rowOf(u"b.mp3"_s));
        w.run(app::Procedure::lecture);
        QCOMPARE(f.player->playState(), files::Player::Playing);
        f.check(u"a.mp3|b.mp3"_s);
        f.dialogs->answer = answer;
        f.dialogs->folders = QStringList{folder};
        f.dialogs->replaceAnswers = replace;
        f.commands()->item(command)->trigger();
        const QString targetState = folder.isEmpty() ? QString() : FormFixture::state(folder);
        QVERIFY(f.player->fileName().isEmpty()); // released before anything else
        QTEST(FormFixture::state(f.music), "musicAfter");
        QTEST(targetState, "targetAfter");
        QTEST(FormFixture::state(trash), "trashed");
        QVERIFY(f.listShowsFolder());
        QVERIFY(f.dialogs->replaceAnswers.isEmpty());
        QCOMPARE(f.dialogs->shown.size(), 1 + replace.size() + !message.isEmpty());
        QVERIFY2(f.dialogs->lastText().endsWith(message), qPrintable(f.dialogs->lastText()));
        QVERIFY(status.isEmpty() || w.statusPanel(1) == status);
        QVERIFY(!w.findChild<app::FileCommands *>()->isDeleting());

        w.annuler();
        QCOMPARE(FormFixture::state(f.music), u"a.mp3=a.mp3|b.mp3=b.mp3|c.mp3=c.mp3"_s);
        QCOMPARE(folder.isEmpty() ? QString() : FormFixture::state(folder), targetBefore);
        QCOMPARE(FormFixture::state(trash), QString());
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

    // To the trash, or for good from another entry, each after a question naming the files. The
    // trash is the desktop's, made when its data folder is missing, and nothing is written under
    // the working folder.
    void deletion()
    {
        FormFixture f;
        const QString trash = f.dir.filePath(u"absent/données/Trash"_s);
        qputenv("XDG_DATA_HOME", QFile::encodeName(f.dir.filePath(u"absent/données"_s)));
        const QString working = QDir::currentPath();
        const auto back = qScopeGuard([&] { QDir::setCurrent(working); });
        QVERIFY(QDir().mkpath(f.dir.filePath(u"travail"_s)) &&
                QDir::setCurrent(f.dir.filePath(u"travail"_s)));
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3|c.mp3|d.mp3|e.mp3"_s);
        f.check(u"a.mp3|b.mp3|c.mp3|d.mp3"_s);
        f.commands()->item(u"supprimer2"_s)->trigger();
        QCOMPARE(f.dialogs->lastText(),
                 u"Mettre 4 fichiers à la corbeille : a.mp3, b.mp3, c.mp3 et 1 autre(s) ?"_s);
        const QString status = w.statusPanel(1);
        f.check(u"e.mp3"_s);
        f.commands()->item(u"supprimerdef"_s)->trigger();
        QCOMPARE(f.dialogs->lastText(), u"Supprimer définitivement 1 fichier : e.mp3 ? Cette "
                                        u"suppression ne peut pas être annulée."_s);
        QCOMPARE(QDir(f.music).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(trash + u"/files"_s).entryList(QDir::Files).join(u'|'),
                 u"a.mp3|b.mp3|c.mp3|d.mp3"_s);
        const QByteArray info = mpegstream::readFile(trash + u"/info/a.mp3.trashinfo"_s);
        QVERIFY2(info.startsWith(
                     "[Trash Info]\nPath=" + QFile::encodeName(f.music).toPercentEncoding("/") +
                     "/a.mp3\nDeletionDate="),
                 info.constData());
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QCOMPARE(status, u"Fichiers mis à la corbeille : 4"_s);
    }
};

QTEST_MAIN(TestFileOps)
#include "tst_fileops.moc"
