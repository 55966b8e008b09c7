#include "formfixture.h"

#include "app/coverpanel.h"
#include "app/fileinfopanel.h"
#include "app/form2.h"
#include "app/identifydialog.h"
#include "app/otherframestable.h"
#include "app/windowstate.h"
#include "httpserver.h"
#include "mpegstream.h"
#include "peers.h"
#include "tags/tagsave.h"

#include "../tags/tagtestutil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTreeWidget>

#include <unistd.h>

namespace {

// Runs the mutagen helper beside this file and returns its standard output.
QByteArray id3peer(const QStringList &arguments)
{
    QProcess p;
    p.start(u"/usr/bin/python3"_s, QStringList{QFINDTESTDATA("id3peer.py")} + arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qWarning("id3peer.py: %s", p.readAllStandardError().constData());
    return p.readAllStandardOutput();
}

// Both tags of a file as mutagen reads them: "TCON=0|TIT2=x / TCON=Blues|TIT2=x".
QString tagsOf(const QString &file)
{
    return QString::fromUtf8(id3peer({u"read"_s, file})).section(u'\n', 0, 0);
}

const QByteArray audio = mpegstream::frames(mpegstream::FrameHeader{}, 40);

// Every frame of a file as mutagen reads it, pictures as "mime:type:sha1" (see richtag.py).
QJsonObject frames(const QStringList &args)
{
    return QJsonDocument::fromJson(tagtest::richtag(args)).object();
}

// A shown window on a.mp3 and b.mp3, b.mp3 with mutagen's rich tag of the given version (a
// front cover "recto" of 303 bytes that is no image, a PNG back cover), chosen on the page
// "Tag ID3 v2".
app::Form1 &openRichFile(FormFixture &f, const QString &version = u"3"_s)
{
    app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3"_s, audio);
    frames({u"write"_s, f.music + u"/b.mp3"_s, version});
    f.choose(u"b.mp3"_s);
    f.tagPage()->TS1->setCurrentIndex(app::TagPage::TagV2);
    return w;
}

} // namespace

class TestTagPage : public QObject
{
    Q_OBJECT

    void clickRow(FormFixture &f, int row)
    {
        f.click(row);
        QCOMPARE(f.list()->currentIndex().row(), row);
    }

private slots:
    void initTestCase()
    {
        if (QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, u"import mutagen"_s}) != 0)
            TARVEX_PEER_MISSING("python3-mutagen is needed to check tags independently");
    }

    void listing()
    {
        FormFixture f;
        app::Form1 &w =
            f.startOnFiles(u"b.mp3|A.MP3|c.wav|.cache.mp3|notes.txt|Zèbre.Mp3|z.WAV"_s, audio);
        QDir(f.music).mkdir(u"dossier.mp3"_s);
        // A link to a file is listed as the file; a link to nothing is not.
        QVERIFY(QFile::link(u"b.mp3"_s, f.music + u"/lien.mp3"_s));
        QVERIFY(QFile::link(u"perdu.mp3"_s, f.music + u"/casse.mp3"_s));
        f.dialogs->folders = {f.music};
        f.commands()->button(u"ouvrir"_s)->trigger();
        QCOMPARE(column(f.list(), 0), u"A.MP3|b.mp3|lien.mp3|Zèbre.Mp3"_s);
        QCOMPARE(w.statusPanel(2), u"4 pistes"_s);
        setFields(&w, u"Command1"_s);
        QVERIFY(f.files()->isChecked(2));
        setFields(&w, u"Command2"_s);
        QVERIFY(!f.files()->isChecked(0));
        // The WAV files counted, the first one selected; a click shows its information and no
        // tag.
        setFields(&w, u"Combo7=*.wav"_s);
        QCOMPARE(column(f.list(), 0), u"c.wav|z.WAV"_s);
        QCOMPARE(w.statusPanel(2), u"2 pistes"_s);
        QCOMPARE(f.tagPage()->currentSelectedRow(), 0);
        clickRow(f, 1);
        QCOMPARE(w.chosenFile(), f.music + u"/z.WAV"_s);
        QCOMPARE(f.tagPage()->Frame3->Mpeg_BitRate->text() +
                     f.tagPage()->Frame3->Mpeg_Frequence->text(),
                 u"128 Kbt44100 Hz"_s);
        QCOMPARE(editorTexts(f.tagPage()->editor), u"00"_s + QString(19, u'|'));
    }

    // The tag columns are read once shown, sort as people read numbers (files without a value
    // last, gains with their sign) with the selection kept on its file, and come back with the
    // window's size and splitter.
    void tagColumns()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3|c.mp3|nue.mp3"_s, audio);
        const QStringList tracks = {u"10/12"_s, u"2"_s, QString()};
        const QStringList gains = {u"-6.48 dB"_s, u"-10.20 dB"_s, u"2.00 dB"_s};
        for (int i = 0; i < 3; ++i) {
            tags::TagType tag;
            tag.TagV2.setValide(true);
            tag.TagV2.setTitre(u"Titre %1"_s.arg(i));
            tag.TagV2.setPiste(tracks[i]);
            const QString path = f.music + u'/' + u"abc"_s[i] + u".mp3"_s;
            QVERIFY(tags::ZellTagCtrl().SetAllTags(path, tag).ok());
            tags::TagChanges texts;
            texts.userTexts = {{u"replaygain_track_gain"_s, gains[i]},
                               {u"REPLAYGAIN_ALBUM_GAIN"_s, u"-7.00 dB"_s}};
            QVERIFY(tags::saveTags(path, texts).ok());
        }
        app::TagPage *page = f.tagPage();
        QCOMPARE(page->files->index(0, app::FileListModel::Titre).data(), QVariant(QString()));
        page->showColumn(app::FileListModel::Titre, true);
        page->showColumn(app::FileListModel::Piste, true);
        QTRY_VERIFY(f.files()->allTagsRead());
        QCOMPARE(column(f.list(), app::FileListModel::Titre), u"Titre 0|Titre 1|Titre 2|"_s);
        QCOMPARE(column(f.list(), app::FileListModel::Piste), u"10|2||"_s);
        page->showColumn(app::FileListModel::GainPiste, true);
        page->showColumn(app::FileListModel::GainAlbum, true);
        QCOMPARE(column(f.list(), app::FileListModel::GainPiste), gains.join(u'|') + u'|');
        QCOMPARE(column(f.list(), app::FileListModel::GainAlbum), u"-7.00 dB|-7.00 dB|-7.00 dB|"_s);
        f.list()->sortByColumn(app::FileListModel::GainPiste, Qt::AscendingOrder);
        QCOMPARE(column(f.list(), 0), u"b.mp3|a.mp3|c.mp3|nue.mp3"_s);
        f.list()->sortByColumn(app::FileListModel::Name, Qt::AscendingOrder);

        page->selectRow(0);
        f.list()->scrollTo(f.files()->index(0, app::FileListModel::Piste));
        QHeaderView *header = f.list()->header();
        const QPoint onTrack(header->sectionViewportPosition(app::FileListModel::Piste) + 5, 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onTrack);
        QCOMPARE(column(f.list(), 0), u"b.mp3|a.mp3|c.mp3|nue.mp3"_s);
        QCOMPARE(page->currentSelectedRow(), 1);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onTrack);
        QCOMPARE(column(f.list(), 0), u"a.mp3|b.mp3|c.mp3|nue.mp3"_s);
        // A save shows in the columns.
        f.choose(u"a.mp3"_s);
        setFields(&w, u"TS1=2|txtv2Titre=Nouveau"_s);
        f.dialogs->answer = true;
        f.commands()->button(u"enreID"_s)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(
            page->files->index(0, app::FileListModel::Titre).data().toString(), u"Nouveau"_s,
            30000);

        // The window's size and splitter come back with the columns.
        const QString state = f.dir.filePath(u"Fenetre.ini"_s);
        auto *splitter = w.findChild<QSplitter *>();
        w.resize(1000, 700);
        splitter->setSizes({300, 700});
        const QList<int> sizes = splitter->sizes();
        QVERIFY(app::saveWindowState(w, state));
        w.resize(960, 640);
        splitter->setSizes({600, 400});
        page->showColumn(app::FileListModel::Titre, false);
        f.list()->sortByColumn(app::FileListModel::Name, Qt::DescendingOrder);
        app::restoreWindowState(w, state);
        page->refillList();
        QCOMPARE(w.size(), QSize(1000, 700));
        QCOMPARE(splitter->sizes(), sizes);
        QVERIFY(!f.list()->isColumnHidden(app::FileListModel::Titre));
        QTRY_VERIFY(f.files()->allTagsRead());
        QCOMPARE(column(f.list(), 0), u"a.mp3|b.mp3|c.mp3|nue.mp3"_s);

        // A list saved before the gain columns existed keeps them hidden.
        QWidget older;
        QStandardItemModel sevenColumns(0, app::FileListModel::GainPiste);
        auto *olderList = new QTreeView(&older);
        olderList->setModel(&sevenColumns);
        olderList->header()->setObjectName(header->objectName());
        QVERIFY(app::saveWindowState(older, state));
        page->showColumn(app::FileListModel::GainPiste, false);
        page->showColumn(app::FileListModel::GainAlbum, false);
        app::restoreWindowState(w, state);
        QVERIFY(!f.list()->isColumnHidden(app::FileListModel::Titre));
        QVERIFY(f.list()->isColumnHidden(app::FileListModel::GainPiste));
        QVERIFY(f.list()->isColumnHidden(app::FileListModel::GainAlbum));
    }

    // The keyboard opens the list's menu beside the current row (menu key, Shift+F10), whose
    // "Colonnes" chooses the tag columns; on an empty list, the columns alone.
    void columnMenuFromKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("files");
        QTest::newRow("Shift+F10")
            << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier) << u"a.mp3|b.mp3"_s;
        QTest::newRow("menu key") << int(Qt::Key_Menu) << Qt::KeyboardModifiers() << u"a.mp3"_s;
        QTest::newRow("menu key, empty list")
            << int(Qt::Key_Menu) << Qt::KeyboardModifiers() << QString();
    }
    void columnMenuFromKeyboard()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, files);
        FormFixture f;
        f.startOnFiles(files, audio);
        if (f.files()->count() > 0)
            f.tagPage()->selectRow(f.files()->count() - 1);
        f.list()->setFocus();
        QTest::keyClick(f.list(), Qt::Key(key), modifiers);
        auto *shown = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(shown);
        QMenu *columns = f.tagPage()->mnuColonnes;
        if (files.isEmpty()) {
            QCOMPARE(shown, columns);
        } else {
            QCOMPARE(shown, f.commands()->mnuflottant);
            QVERIFY(shown->actions().contains(columns->menuAction()));
            const QRect row = f.list()->visualRect(f.list()->currentIndex());
            QVERIFY(shown->geometry().contains(f.list()->viewport()->mapToGlobal(row.center()) +
                                               QPoint(1, 1)));
        }
        // The menu's keys: "Piste" is the fourth column, shown on Enter.
        if (shown != columns) {
            shown->setActiveAction(columns->menuAction());
            QTest::keyClick(shown, Qt::Key_Right);
            QTRY_VERIFY(columns->isVisible());
        }
        // A sub-menu opened by the keyboard starts on its first entry, a menu on none.
        for (int i = files.isEmpty() ? 0 : 1; i < 4; ++i)
            QTest::keyClick(columns, Qt::Key_Down);
        QTest::keyClick(columns, Qt::Key_Return);
        QVERIFY(!f.list()->isColumnHidden(app::FileListModel::Piste));
        QVERIFY(f.list()->isColumnHidden(app::FileListModel::Titre));
    }

    // The tree lists the folder clicked, after the question about edits not saved: kept, the
    // list and the tree stay on the folder shown.
    void treeChoosesFolder()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|CD 1/b.mp3"_s, audio);
        app::TagPage *page = f.tagPage();
        QTreeView *tree = page->arbreDossiers;
        const QString cd1 = f.music + u"/CD 1"_s;
        // Room for the temporary folder's depth.
        w.resize(1600, 700);
        w.findChild<QSplitter *>()->setSizes({600, 500, 500});
        const auto clickFolder = [&](const QString &path) {
            const QModelIndex index = page->dossiers->index(path);
            tree->scrollTo(index);
            QTRY_VERIFY(!tree->visualRect(index).isEmpty());
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                              tree->visualRect(index).topLeft() + QPoint(4, 4));
        };
        QCOMPARE(page->dossiers->filePath(tree->currentIndex()), f.music);
        f.choose(u"a.mp3"_s);
        setFields(&w, u"TS1=2|chkv2|txtv2Titre=Gardé"_s);
        f.dialogs->unsavedAnswers = {app::Dialogs::Unsaved::Cancel};
        clickFolder(cd1);
        QCOMPARE(f.dialogs->lastText(), u"Enregistrer les modifications ?"_s);
        QCOMPARE(column(f.list(), 0), u"a.mp3"_s);
        QCOMPARE(page->dossiers->filePath(tree->currentIndex()), f.music);
        f.dialogs->unsavedAnswers = {app::Dialogs::Unsaved::Discard};
        clickFolder(cd1);
        QCOMPARE(column(f.list(), 0), u"b.mp3"_s);
        QCOMPARE(page->txtDossier->text(), cd1);
        QCOMPARE(w.statusPanel(2), u"1 pistes"_s);
    }

    // With the folders below, the list shows their MP3 files by their paths below the folder,
    // and the editor acts on the file shown; hidden folders are left out.
    void subfolders()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(
            u"b.mp3|CD 1/a.mp3|CD 1/Bonus/c.MP3|.cache/d.mp3|CD 1/notes.txt|e.wav"_s, audio);
        setFields(&w, u"chkSousDossiers"_s);
        QCOMPARE(column(f.list(), 0), u"b.mp3|CD 1/a.mp3|CD 1/Bonus/c.MP3"_s);
        QCOMPARE(w.statusPanel(2), u"3 pistes"_s);
        QCOMPARE(f.stored(u"SousDossiers"_s), u"1"_s);
        // A file another program adds below is listed by itself.
        f.write(u"CD 1/Bonus/f.mp3"_s, audio);
        QTRY_COMPARE(column(f.list(), 0), u"b.mp3|CD 1/a.mp3|CD 1/Bonus/c.MP3|CD 1/Bonus/f.mp3"_s);
        f.choose(u"CD 1/Bonus/c.MP3"_s);
        QCOMPARE(w.chosenFile(), f.music + u"/CD 1/Bonus/c.MP3"_s);
        setFields(&w, u"TS1=2|chkv2|txtv2Titre=Dessous"_s);
        f.commands()->button(u"enreID"_s)->trigger();
        QVERIFY(tagsOf(f.music + u"/CD 1/Bonus/c.MP3"_s).contains(u"TIT2=Dessous"_s));
        // WAV files are listed from the folder alone.
        setFields(&w, u"Combo7=*.wav"_s);
        QCOMPARE(column(f.list(), 0), u"e.wav"_s);
        setFields(&w, u"Combo7=*.mp3|chkSousDossiers"_s);
        QCOMPARE(column(f.list(), 0), u"b.mp3"_s);
    }

    // The folders below "/" are far too many: stopped with the window's button, or past the
    // bounds (with a word), "/" is listed alone and the box unticked.
    void subfoldersOfTheWholeDisk_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QString>("message");
        QTest::newRow("stopped") << true << QString();
        QTest::newRow("past the bounds") << false
                                         << u"Plus de 100\u202F000 fichiers ou de 20\u202F000 "
                                            u"dossiers sous ce dossier : seuls ses propres "
                                            u"fichiers sont affichés."_s;
    }
    void subfoldersOfTheWholeDisk()
    {
        QFETCH(bool, stop);
        QFETCH(QString, message);
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3"_s, audio);
        auto *stopButton = w.findChild<QPushButton *>(u"cmdArreterTache"_s);
        bool stopShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            stopShown = stopShown || stopButton->isVisible();
            if (stop && stopButton->isVisible())
                stopButton->click();
        });
        watch.start(1);
        f.dialogs->folders = {u"/"_s};
        f.commands()->button(u"ouvrir"_s)->trigger();
        setFields(&w, u"chkSousDossiers"_s);
        QVERIFY(stopShown);
        QVERIFY(!f.tagPage()->chkSousDossiers->isChecked());
        QCOMPARE(f.stored(u"SousDossiers"_s), u"0"_s);
        QVERIFY(!column(f.list(), 0).contains(u'/'));
        QCOMPARE(f.tagPage()->File1.folders(), QStringList{u"/"_s});
        QCOMPARE(f.dialogs->lastText(), message);
        QVERIFY(w.centralWidget()->isEnabled() && !stopButton->isVisible());
    }

    // F5 lists the folder again: a file another program added appears, the selection and the
    // edits stay, and nothing is asked.
    void refreshKeepsSelectionAndEdits()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|c.mp3"_s, audio);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        f.choose(u"c.mp3"_s);
        setFields(&w, u"TS1=2|chkv2|txtv2Titre=Tapé"_s);
        f.write(u"b.mp3"_s, audio);
        QTest::keyClick(&w, Qt::Key_F5);
        QCOMPARE(column(f.list(), 0), u"a.mp3|b.mp3|c.mp3"_s);
        QTRY_COMPARE(f.tagPage()->selectedRows(), QList<int>{2});
        QCOMPARE(w.findChild<QLineEdit *>(u"txtv2Titre"_s)->text(), u"Tapé"_s);
        QVERIFY(f.tagPage()->editor->hasUnsavedEdits());
        QVERIFY(f.dialogs->shown.isEmpty());
    }

    // Another program adds a file to the folder and changes the tag of the file shown: the
    // window shows both by itself.
    void changesOnDiskShown()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3"_s, audio);
        f.choose(u"a.mp3"_s);
        f.write(u"b.mp3"_s, audio);
        QTRY_COMPARE(column(f.list(), 0), u"a.mp3|b.mp3"_s);
        QTRY_COMPARE(f.tagPage()->selectedRows(), QList<int>{0});
        tags::TagType tag;
        tag.TagV2.setValide(true);
        tag.TagV2.setTitre(u"Dehors"_s);
        QVERIFY(tags::ZellTagCtrl().SetAllTags(f.music + u"/a.mp3"_s, tag).ok());
        QTRY_COMPARE(w.findChild<QLineEdit *>(u"txtv2Titre"_s)->text(), u"Dehors"_s);
        QVERIFY(f.dialogs->shown.isEmpty());
    }

    // "Ne plus demander" ticked with OK silences the question from then on and in the next
    // session; the box of the Options page brings it back. Ticked with Annuler, it is not taken.
    void stopAsking()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3"_s, audio);
        f.choose(u"a.mp3"_s);
        setFields(&w, u"TS1=2|chkv2"_s);
        const auto save = [&](const QString &title) {
            setFields(&w, u"TS1=2|txtv2Titre="_s + title);
            f.commands()->button(u"enreID"_s)->trigger();
            return tagsOf(f.music + u"/a.mp3"_s);
        };
        f.dialogs->stopAsking = true;
        f.dialogs->answer = false;
        QVERIFY(!save(u"Un"_s).contains(u"TIT2=Un"_s));
        f.dialogs->answer = true;
        QVERIFY(save(u"Deux"_s).contains(u"TIT2=Deux"_s));
        QVERIFY(save(u"Trois"_s).contains(u"TIT2=Trois"_s));
        QCOMPARE(f.dialogs->shown.size(), 2);
        QCOMPARE(f.stored(u"ConfirmerEnregistrement|ConfirmerQuitter"_s), u"0|<absent>"_s);
        QVERIFY(!f.optionsPage()->chkConfirmerEnregistrement->isChecked());
        setFields(&w, u"chkConfirmerEnregistrement"_s);
        f.dialogs->stopAsking = false;
        QVERIFY(save(u"Quatre"_s).contains(u"TIT2=Quatre"_s));
        QCOMPARE(f.dialogs->shown.size(), 3);

        // Quitting: silenced once, the next window closes without a word.
        f.dialogs->stopAsking = true;
        f.commands()->button(u"quit"_s)->trigger();
        QVERIFY(!w.isVisible());
        QCOMPARE(f.dialogs->shown.size(), 4);
        app::Form1 &next = f.start();
        next.show();
        QVERIFY(!f.optionsPage()->chkConfirmerQuitter->isChecked());
        QVERIFY(next.close());
        QVERIFY(f.dialogs->shown.isEmpty());
        QCOMPARE(f.stored(u"ConfirmerEnregistrement|ConfirmerQuitter"_s), u"1|0"_s);
    }

    // Several rows selected: the editor shows what they share, and a save writes the changed
    // field, and only that one, into each of them; a file that cannot take it is named once
    // at the end while the others are saved.
    void severalFilesEditedAtOnce()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3|c.mp3"_s, audio);
        const QStringList genres = {u"Rock"_s, u"Jazz"_s, u"Blues"_s};
        for (int i = 0; i < 3; ++i)
            id3peer({u"genre"_s, f.music + u'/' + u"abc"_s[i] + u".mp3"_s, genres[i]});
        const QByteArray untouched = mpegstream::readFile(f.music + u"/b.mp3"_s);
        clickRow(f, 0);
        f.click(2, Qt::ControlModifier);
        app::TagEditorPanel *e = f.tagPage()->editor;
        QCOMPARE(e->shownFiles().size(), 2);
        QCOMPARE(e->txtv2Titre->text(), u"x"_s);
        QCOMPARE(e->cmbv2Genre->lineEdit()->placeholderText(), u"<différentes valeurs>"_s);
        setFields(&w, u"TS1=2|txtv2Album=Nouvel album"_s);
        QVERIFY(f.commands()->button(u"enreID"_s)->isEnabled());
        f.commands()->button(u"enreID"_s)->trigger();
        QCOMPARE(tagsOf(f.music + u"/a.mp3"_s), u"- / TALB=Nouvel album|TCON=Rock|TIT2=x"_s);
        QCOMPARE(tagsOf(f.music + u"/c.mp3"_s), u"- / TALB=Nouvel album|TCON=Blues|TIT2=x"_s);
        QCOMPARE(mpegstream::readFile(f.music + u"/b.mp3"_s), untouched);

        f.write(u"c.mp3"_s, "plus un MP3");
        setFields(&w, u"txtv2Titre=y"_s);
        f.commands()->button(u"enreID"_s)->trigger();
        QVERIFY(tagsOf(f.music + u"/a.mp3"_s).endsWith(u"TIT2=y"_s));
        QVERIFY2(f.dialogs->lastText().startsWith(u"Le tag n'a pas pu être enregistré dans 1 "
                                                  u"fichier(s) :\n« c.mp3 » : "_s),
                 qPrintable(f.dialogs->lastText()));
    }

    // A save with several files shown writes into each what a save of it alone writes: a
    // version unticked is removed, the defaults of the options replace the comments and the
    // encoded-by text. "seul.mp3" saved alone is the reference; "expected" is a pattern of what
    // mutagen reads back from it. Saved, the edits are not asked about again.
    void severalFilesLikeOne_data()
    {
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("expected");
        QTest::newRow("v1 unticked") << u"TS1=1|chkv1"_s << u"^- / COMM=Très connu\\|"_s;
        QTest::newRow("v2 unticked") << u"TS1=2|chkv2"_s << u"^TALB=Le Jardin\\|.* / $"_s;
        QTest::newRow("defaults, album typed")
            << u"Text8=Par défaut|Text9=Maison|TS1=2|txtv2Album=Autre"_s
            << u"^COMM=Par défaut\\|.* / COMM=Par défaut\\|TALB=Autre\\|.*\\|TENC=Maison\\|"_s;
        QTest::newRow("defaults alone")
            << u"Text8=Par défaut|TS1=2"_s << u"^COMM=Par défaut\\|.* / COMM=Par défaut\\|"_s;
    }
    void severalFilesLikeOne()
    {
        QFETCH(QString, edits);
        QFETCH(QString, expected);
        FormFixture f;
        const QStringList names = listOf(u"a.mp3|b.mp3|c.mp3|seul.mp3"_s);
        app::Form1 &w = f.startOnFiles(names.join(u'|'), audio);
        for (const QString &name : names)
            id3peer({u"write"_s, f.music + u'/' + name});
        clickRow(f, 3);
        setFields(&w, edits);
        f.commands()->button(u"enreID"_s)->trigger();
        const QString alone = tagsOf(f.music + u"/seul.mp3"_s);
        QVERIFY2(QRegularExpression(expected).match(alone).hasMatch(), qPrintable(alone));
        clickRow(f, 0);
        f.click(2, Qt::ShiftModifier);
        app::TagEditorPanel *e = f.tagPage()->editor;
        QCOMPARE(e->shownFiles().size(), 3);
        setFields(&w, edits);
        f.commands()->button(u"enreID"_s)->trigger();
        for (const QString &name : names.mid(0, 3))
            QCOMPARE(tagsOf(f.music + u'/' + name), alone);
        QVERIFY(!e->hasUnsavedEdits());
        QCOMPARE(f.dialogs->shown.size(), 2); // the two questions, no failure
    }

    // One command is one step of "Annuler", however many files it wrote, and "Rétablir" does it
    // again: the files come back byte for byte each way. Twenty files are saved and restored
    // away from the window's thread.
    void oneUndoStepPerCommand_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("label");
        const QString save = u"TS1=2|txtv2Album=Autre|enreID"_s;
        QTest::newRow("Enregistrer") << 3 << save << u"Enregistrement du tag de 3 fichiers"_s;
        QTest::newRow("Enregistrer, 20 files")
            << 20 << save << u"Enregistrement du tag de 20 fichiers"_s;
        QTest::newRow("Effacer") << 3 << u"TS1=2|suppID"_s << u"Suppression du tag"_s;
        QTest::newRow("Copier") << 3 << u"TS1=1|copieID"_s << u"Copie du tag"_s;
        QTest::newRow("pochette") << 3 << u"TS1=2|cmdAjouterPochette"_s
                                  << u"Ajout de la pochette"_s;
        QTest::newRow("d'après le nom") << 3 << u"TS1=2|cboModeleTag=%titre%|cmdRemplirNom"_s
                                        << u"Remplissage du tag d'après le nom"_s;
        QTest::newRow("renommage") << 3 << u"TS1=3|Option6|Text6=x |voir|renom"_s << u"Renommage"_s;
    }
    void oneUndoStepPerCommand()
    {
        QFETCH(int, count);
        FormFixture f;
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << u"%1.mp3"_s.arg(i, 2, 10, QChar(u'0'));
        app::Form1 &w = f.startOnFiles(names.join(u'|'), audio);
        id3peer({u"write"_s, f.music + u'/' + names[0]});
        for (const QString &name : names.mid(1))
            f.write(name, mpegstream::readFile(f.music + u'/' + names[0]));
        const QString png = f.dir.filePath(u"i.png"_s);
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(png));
        f.dialogs->files = {png};
        f.check(names.join(u'|'));
        clickRow(f, 0);
        f.click(count - 1, Qt::ShiftModifier);
        // Each file's name and the hash of its bytes.
        const auto state = [&] {
            QStringList files;
            for (const QString &name : QDir(f.music).entryList(QDir::Files, QDir::Name))
                files << name + u'=' +
                             QCryptographicHash::hash(mpegstream::readFile(f.music + u'/' + name),
                                                      QCryptographicHash::Sha1)
                                 .toHex();
            return files.join(u'|');
        };
        const QString before = state();
        QFETCH(QString, steps);
        for (const QString &step : listOf(steps)) {
            if (QAction *button = f.commands()->button(step))
                button->trigger();
            else
                setFields(&w, step);
        }
        QCoreApplication::processEvents();
        const QString after = state();
        QVERIFY(after != before);
        QAction *undo = f.commands()->item(u"annuler"_s);
        QFETCH(QString, label);
        QCOMPARE(undo->text(), u"&Annuler : "_s + label);
        undo->trigger();
        QCOMPARE(state(), before);
        QVERIFY(!undo->isEnabled());
        QAction *redo = f.commands()->item(u"retablir"_s);
        QVERIFY(redo && redo->isEnabled());
        redo->trigger();
        QCOMPARE(state(), after);
        undo->trigger();
        QCOMPARE(state(), before);
    }

    // "D'après le tag" names checked files from their tags, making the folders a "/" asks for;
    // a checked file whose tags lack a field shows "(Non compatible)" and keeps its name. The
    // pattern is remembered for the next start.
    void renameFromTags()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|nue.mp3"_s, audio);
        id3peer({u"write"_s, f.music + u"/a.mp3"_s});
        f.check(u"a.mp3|nue.mp3"_s);
        setFields(&w, u"TS1=3|optDapresTag|cboModele=%artiste%/%piste:2% %titre%"_s);
        w.toolbarClick(u"voir"_s);
        QCOMPARE(column(f.list(), app::FileListModel::NewName),
                 u"Joe Dassin/05 Été indien.mp3|(Non compatible)"_s);
        w.toolbarClick(u"renom"_s);
        QVERIFY(QFile::exists(f.music + u"/Joe Dassin/05 Été indien.mp3"_s));
        QVERIFY(QFile::exists(f.music + u"/nue.mp3"_s) && !QFile::exists(f.music + u"/a.mp3"_s));
        QCOMPARE(f.stored(u"ModelesNom"_s).section(u'\n', 0, 0), u"%artiste%/%piste:2% %titre%"_s);
    }

    // "Remplir le tag d'après le nom": one file gets the values in its fields, to be saved as
    // any edit; several get them written after a list of what each receives, and Ctrl+Z gives
    // the files back byte for byte.
    void tagFromNames()
    {
        FormFixture f;
        app::Form1 &w =
            f.startOnFiles(u"01 - Joe Dassin - Été indien.mp3|02 - Aube - Marée.mp3"_s, audio);
        const QString first = f.music + u"/01 - Joe Dassin - Été indien.mp3"_s,
                      second = f.music + u"/02 - Aube - Marée.mp3"_s;
        const QByteArray before = mpegstream::readFile(first);
        clickRow(f, 0);
        setFields(&w, u"TS1=2|cboModeleTag=%piste% - %artiste% - %titre%|cmdRemplirNom"_s);
        app::TagEditorPanel *e = f.tagPage()->editor;
        QCOMPARE(e->txtv2Piste->text() + u'|' + e->txtv2Artiste->text() + u'|' +
                     e->txtv2Titre->text(),
                 u"01|Joe Dassin|Été indien"_s);
        QCOMPARE(mpegstream::readFile(first), before); // nothing written yet

        setFields(&w, u"txtv2Piste=|txtv2Artiste=|txtv2Titre="_s);
        f.dialogs->unsavedAnswers = {app::Dialogs::Unsaved::Discard};
        f.click(1, Qt::ControlModifier);
        QCOMPARE(e->shownFiles().size(), 2);
        setFields(&w, u"cmdRemplirNom"_s);
        QVERIFY(f.dialogs->lastText().contains(u"« 02 - Aube - Marée.mp3 » : Piste = 2, "
                                               u"Titre = Marée, Artiste = Aube"_s));
        QCOMPARE(tagsOf(second), u"- / TIT2=Marée|TPE1=Aube|TRCK=2"_s);
        f.commands()->item(u"annuler"_s)->trigger();
        QCOMPARE(mpegstream::readFile(first), before);
        QCOMPARE(mpegstream::readFile(second), before);
    }

    // At the smallest window size, choosing a sub-page never narrows the list, the buttons
    // under the tag pages are whole in the window, and the renaming page shows its case lists
    // whole without scrolling sideways. At the default size the tree has room for names.
    void subPagesFitTheSmallestWindow()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3"_s, audio);
        QVERIFY(f.tagPage()->arbreDossiers->width() >= 140);
        w.resize(940, 480);
        QTest::qWait(50);
        const int listWidth = f.list()->width();
        for (int page = 1; page <= 3; ++page) {
            f.tagPage()->TS1->setCurrentIndex(page);
            QTest::qWait(20);
            QCOMPARE(f.list()->width(), listWidth);
            for (QPushButton *button : {f.tagPage()->cmdRemplirNom, f.tagPage()->cmdIdentifier}) {
                const QRect shown(button->mapTo(&w, QPoint()), button->size());
                QVERIFY2(!button->isVisible() || (w.rect().contains(shown) &&
                                                  button->width() >= button->sizeHint().width()),
                         qPrintable(button->text()));
            }
        }
        auto *frame = w.findChild<QGroupBox *>(u"Frame4"_s);
        auto *scroll = qobject_cast<QScrollArea *>(frame->parentWidget()->parentWidget());
        QVERIFY(scroll && !scroll->horizontalScrollBar()->isVisible());
        for (const char *name : {"Combo4", "Combo5"}) {
            auto *cases = frame->findChild<QComboBox *>(QLatin1String(name));
            QVERIFY2(cases->width() >= cases->sizeHint().width(), name);
        }
    }

    // Whatever changes the rows selected (keys, a name typed, a sort, the file type, the search
    // dialog, Ctrl+A), the editor and "Info Fichier" show them. The list starts on b.mp3.
    void editorFollowsSelection_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("shown"); // the files the editor shows
        QTest::newRow("Down") << u"Down"_s << u"c.mp3"_s;
        QTest::newRow("Up") << u"Up"_s << u"a.mp3"_s;
        QTest::newRow("End, Home") << u"End|Home"_s << u"a.mp3"_s;
        QTest::newRow("Page Down") << u"PgDown"_s << u"d.mp3"_s;
        QTest::newRow("name typed") << u"D"_s << u"d.mp3"_s;
        QTest::newRow("sorted, Up") << u"sort|Up"_s << u"c.mp3"_s;
        QTest::newRow("file type and back") << u"Combo7=*.wav|Combo7=*.mp3"_s << u"a.mp3"_s;
        QTest::newRow("search dialog") << u"find"_s << u"c.mp3"_s;
        QTest::newRow("Ctrl+A") << u"Ctrl+A"_s << u"a.mp3|b.mp3|c.mp3|d.mp3"_s;
    }
    void editorFollowsSelection()
    {
        QFETCH(QString, steps);
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3|c.mp3|d.mp3|w.wav"_s, audio);
        for (const QString &name : listOf(u"a|b|c|d"_s)) {
            tags::TagType tag;
            tag.TagV2.setValide(true);
            tag.TagV2.setTitre(u"Titre "_s + name);
            QVERIFY(tags::ZellTagCtrl().SetAllTags(f.music + u'/' + name + u".mp3"_s, tag).ok());
        }
        clickRow(f, 1);
        for (const QString &step : listOf(steps)) {
            if (step == u"sort") {
                f.list()->sortByColumn(app::FileListModel::Name, Qt::DescendingOrder);
            } else if (step == u"find") {
                f.commands()->item(u"recherche"_s)->trigger();
                auto *dialog = w.findChild<app::Form2 *>();
                dialog->Text1->setText(u"C"_s);
                dialog->Command1->click();
            } else if (step.contains(u'=')) {
                setFields(&w, step);
            } else {
                QTest::keySequence(f.list(), QKeySequence(step));
            }
            QCoreApplication::processEvents();
        }
        QFETCH(QString, shown);
        QStringList names;
        for (const QString &file : f.tagPage()->editor->shownFiles())
            names << QFileInfo(file).fileName();
        QCOMPARE(names.join(u'|'), shown);
        const QString title = f.tagPage()->editor->txtv2Titre->text();
        const QString size = f.tagPage()->Frame3->Mpeg_Taille_Fichier->text();
        if (names.size() == 1) {
            QCOMPARE(title, u"Titre "_s + shown.front());
            QCOMPARE(w.chosenFile(), f.music + u'/' + shown);
            QVERIFY(!size.isEmpty());
        } else {
            QCOMPARE(title + size, QString());
        }
    }

    // Edits not saved yet are settled before anything shows other files or takes the shown one
    // away: another row (mouse or keyboard), another main page, folder or file type, a copy,
    // move or deletion of the checked files, the window closing. "Enregistrer" writes them,
    // "Ignorer" drops them, "Annuler" keeps them, their file and its row, and the action does
    // not happen. A click on another row's check box only ticks it, without a question.
    void unsavedEdits_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<app::Dialogs::Unsaved>("answer");
        using U = app::Dialogs::Unsaved;
        for (const QString &action : {u"click"_s, u"close"_s}) {
            QTest::addRow("%s, Enregistrer", qPrintable(action)) << action << U::Save;
            QTest::addRow("%s, Ignorer", qPrintable(action)) << action << U::Discard;
            QTest::addRow("%s, Annuler", qPrintable(action)) << action << U::Cancel;
        }
        for (const QString &action : {u"Down"_s, u"TS2=0"_s, u"ouvdossier"_s, u"Combo7=*.wav"_s,
                                      u"copier2"_s, u"deplacer2"_s, u"supprimer2"_s})
            QTest::addRow("%s, Annuler", qPrintable(action)) << action << U::Cancel;
        QTest::newRow("check box") << u"check box"_s << U::Discard;
    }
    void unsavedEdits()
    {
        QFETCH(QString, action);
        QFETCH(app::Dialogs::Unsaved, answer);
        FormFixture f;
        qputenv("XDG_DATA_HOME", QFile::encodeName(f.dir.path()));
        app::Form1 &w = f.startOnFiles(u"chanson.mp3|nue.mp3"_s, audio);
        const QString song = f.music + u"/chanson.mp3"_s, target = f.dir.filePath(u"cible"_s);
        id3peer({u"write"_s, song});
        QVERIFY(QDir().mkpath(target));
        clickRow(f, 1);
        clickRow(f, 0); // nothing edited: no question
        QVERIFY(f.dialogs->shown.isEmpty());
        setFields(&w, u"TS1=2|txtv2Titre=Nouveau"_s);
        const QString before = FormFixture::state(f.music);
        f.check(u"chanson.mp3"_s);
        f.dialogs->unsavedAnswers = {answer};
        f.dialogs->folders = {target};
        const bool checkBox = action == u"check box";
        const bool kept = answer == app::Dialogs::Unsaved::Cancel || checkBox;
        if (action == u"close") {
            w.close();
            QCOMPARE(w.isVisible(), kept);
        } else if (action == u"click") {
            f.click(1);
        } else if (action == u"Down") {
            QTest::keyClick(f.list(), Qt::Key_Down);
        } else if (checkBox) {
            const QRect row = f.list()->visualRect(f.files()->index(1, 0));
            const int box = f.list()->style()->pixelMetric(QStyle::PM_IndicatorWidth);
            QTest::mouseClick(f.list()->viewport(), Qt::LeftButton, {},
                              QPoint(row.left() + box / 2 + 4, row.center().y()));
        } else if (QAction *command = f.commands()->item(action)) {
            command->trigger();
        } else {
            setFields(&w, action);
        }
        QCoreApplication::processEvents();
        QCOMPARE(f.dialogs->shown.value(0).text,
                 checkBox ? QString() : u"Enregistrer les modifications ?"_s);
        QCOMPARE(tagsOf(song).contains(u"TIT2=Nouveau"_s), answer == app::Dialogs::Unsaved::Save);
        app::TagEditorPanel *e = f.tagPage()->editor;
        if (action == u"close")
            return;
        QCOMPARE(e->shownFile(), kept ? song : f.music + u"/nue.mp3"_s);
        QCOMPARE(f.list()->currentIndex().row(), kept ? 0 : 1);
        if (!kept)
            return;
        // Kept: the same file, edits and row, and nothing else happened.
        QCOMPARE(e->txtv2Titre->text(), u"Nouveau"_s);
        QCOMPARE(f.tagPage()->selectedRows(), QList<int>{0});
        QCOMPARE(FormFixture::state(f.music), before);
        QCOMPARE(FormFixture::state(target), QString());
        QCOMPARE(f.pageTabs()->currentIndex(), 1);
        QCOMPARE(f.tagPage()->Combo7->currentText(), u"*.mp3"_s);
        QVERIFY(f.listShowsFolder());
        QCOMPARE(f.files()->isChecked(1), checkBox);
    }

    // The file being edited, renamed by the renaming page, keeps its edits under its new name:
    // the save writes the renamed file. Undoing the save and the renaming, then redoing the
    // renaming, the editor goes along with the file.
    void editsFollowRename()
    {
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"a.mp3|b.mp3"_s, audio);
        clickRow(f, 0);
        setFields(&w, u"TS1=2|chkv2|txtv2Titre=Nouveau"_s);
        f.check(u"a.mp3"_s);
        setFields(&w, u"TS1=3|Option5|Text2=c.mp3"_s);
        w.toolbarClick(u"voir"_s);
        w.toolbarClick(u"renom"_s);
        QCoreApplication::processEvents();
        app::TagEditorPanel *e = f.tagPage()->editor;
        const QString renamed = f.music + u"/c.mp3"_s;
        QCOMPARE(column(f.list(), 0), u"b.mp3|c.mp3"_s);
        QCOMPARE(e->shownFile(), renamed);
        QCOMPARE(e->txtv2Titre->text(), u"Nouveau"_s);
        QCOMPARE(f.tagPage()->selectedRows(), QList<int>{1});
        setFields(&w, u"TS1=2"_s);
        f.commands()->button(u"enreID"_s)->trigger();
        QCOMPARE(tagsOf(renamed), u"- / TIT2=Nouveau"_s);
        QVERIFY(f.dialogs->shown.size() == 1); // the save's question, no failure
        QAction *undo = f.commands()->item(u"annuler"_s);
        undo->trigger();
        undo->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(column(f.list(), 0), u"a.mp3|b.mp3"_s);
        QCOMPARE(e->shownFile(), f.music + u"/a.mp3"_s);
        QCOMPARE(f.tagPage()->selectedRows(), QList<int>{0});
        f.commands()->item(u"retablir"_s)->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(e->shownFile(), renamed);
        QCOMPARE(column(f.list(), 0), u"b.mp3|c.mp3"_s);
    }

    // The three toolbar commands, each asking first, given on the page ("TS1") the edits end on;
    // "expected" is what mutagen reads back, empty when the question is refused and the file
    // must stay byte for byte as it was. They act only on the file whose tags the editor shows:
    // once a page change, a reload of the list or the "*.wav" list hides it, they are disabled
    // and a click neither asks nor writes.
    void tagCommands_data()
    {
        QTest::addColumn<bool>("tagged");
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("expected");
        QTest::newRow("save")
            << false
            << u"chkv1|chkv2|txtv1Piste=7/12|txtv1Titre=T1|txtv1Artiste=A1|txtv1Album=B1|"
               u"txtv1Annee=2001|cmbv1Genre=Blues|txtv1Commentaire=C1|txtv2Piste=7/12|"
               u"txtv2Titre=Été|txtv2Artiste=A2|txtv2Album=B2|txtv2Annee=2002|cmbv2Genre=Rock|"
               u"txtv2Commentaire=C2|txtv2Compositeur=D|txtv2Original=O|txtv2Copyright=P|"
               u"txtv2Url=http://u|txtv2Encode=E|TS1=2"_s
            << u"enreID"_s
            << u"COMM=C1|TALB=B1|TCON=0|TIT2=T1|TPE1=A1|TRCK=7|TYER=2001 / COMM=C2|TALB=B2|TCOM=D|"
               u"TCON=Rock|TCOP=P|TENC=E|TIT2=Été|TOPE=O|TPE1=A2|TRCK=7/12|TYER=2002|WXXX=http://u"_s;
        QTest::newRow("defaults override")
            << false
            << u"chkv1|chkv2|txtv1Titre=t|txtv2Titre=t|txtv2Commentaire=à moi|"
               u"txtv2Encode=moi|Text8=Par défaut|Text9=Encodeur maison|TS1=1"_s
            << u"enreID"_s
            << u"COMM=Par défaut|TIT2=t / COMM=Par défaut|TENC=Encodeur maison|TIT2=t"_s;
        QTest::newRow("copy from v1")
            << false << u"chkv1|txtv1Titre=Un|txtv1Piste=3|cmbv1Genre=Jazz|TS1=1"_s << u"copieID"_s
            << u"TCON=8|TIT2=Un|TRCK=3 / TCON=Jazz|TIT2=Un|TRCK=3"_s;
        QTest::newRow("copy from v2")
            << false << u"chkv2|txtv2Titre=Un|txtv2Piste=3|cmbv2Genre=Jazz|TS1=2"_s << u"copieID"_s
            << u"TCON=8|TIT2=Un|TRCK=3 / TCON=Jazz|TIT2=Un|TRCK=3"_s;
        // An empty block stays (genre 255, no track); no v2 frame keeps a text, not even "0".
        QTest::newRow("delete") << true << u"TS1=1"_s << u"suppID"_s << u" / "_s;
        for (const QString &command : {u"enreID"_s, u"suppID"_s, u"copieID"_s})
            QTest::addRow("%s refused", qPrintable(command))
                << true << u"txtv2Titre=autre|TS1=2"_s << command << u""_s;
        const QString all = u"enreID|suppID|copieID"_s;
        QTest::newRow("Info Fichier") << true << u"TS1=2|TS1=0"_s << all << u""_s;
        QTest::newRow("main tab and back") << true << u"TS2=2|TS2=1|TS1=2"_s << all << u""_s;
        QTest::newRow("wav list") << true << u"Combo7=*.wav|TS1=2"_s << all << u""_s;
        QTest::newRow("list reloaded") << true << u"TS1=2|reload"_s << all << u""_s;
    }
    void tagCommands()
    {
        QFETCH(bool, tagged);
        QFETCH(QString, edits);
        QFETCH(QString, command);
        QFETCH(QString, expected);
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"t.mp3"_s, audio);
        const QString file = f.music + u"/t.mp3"_s;
        if (tagged)
            id3peer({u"write"_s, file});
        const QByteArray before = mpegstream::readFile(file);
        clickRow(f, 0);
        setFields(&w, edits.section(u"|reload"_s, 0, 0)); // "reload" re-reads the list
        if (edits.endsWith(u"reload"_s))
            f.tagPage()->refillList();
        // The rows that hide the file try all three commands, and would let them write.
        const bool enabled = !command.contains(u'|');
        f.dialogs->answer = !expected.isEmpty() || !enabled; // a refusal leaves the file as it was
        for (const QString &name : listOf(command)) {
            QCOMPARE(f.commands()->button(name)->isEnabled(), enabled);
            f.commands()->button(name)->trigger();
        }
        QCOMPARE(f.dialogs->shown.size(), int(enabled));
        if (expected.isEmpty())
            QCOMPARE(mpegstream::readFile(file), before);
        else
            QCOMPARE(tagsOf(file), expected);
        QVERIFY(mpegstream::readFile(file).contains(audio));
    }

    // A genre outside the list shows the empty entry; a save that does not touch it keeps it.
    void genrePositions_data()
    {
        QTest::addColumn<QString>("tcon");
        QTest::addColumn<int>("v1Genre");
        QTest::addColumn<int>("position");  // in both lists
        QTest::addColumn<QString>("saved"); // the version 1 tag mutagen reads back
        QTest::newRow("genre 0") << u"(0)"_s << 0 << 1 << u"TCON=0|TIT2=x|TRCK=1"_s;
        QTest::newRow("last genre") << u"(147)"_s << 147 << 148 << u"TCON=147|TIT2=x|TRCK=1"_s;
        QTest::newRow("no genre") << QString() << 255 << 0 << u"TIT2=x|TRCK=1"_s;
        QTest::newRow("number without a name")
            << u"(200)"_s << 200 << 0 << u"TCON=200|TIT2=x|TRCK=1"_s;
    }
    void genrePositions()
    {
        QFETCH(QString, tcon);
        QFETCH(int, v1Genre);
        FormFixture f;
        f.startOnFiles(u"g.mp3"_s, audio);
        const QString file = f.music + u"/g.mp3"_s;
        id3peer({u"genre"_s, file, tcon});
        QVERIFY(mpegstream::writeFile(
            file, mpegstream::readFile(file) +
                      mpegstream::id3v1Block(u"x"_s, {}, {}, {}, {}, 1, v1Genre)));
        clickRow(f, 0);
        QTEST(f.tagPage()->editor->cmbv1Genre->currentIndex(), "position");
        QTEST(f.tagPage()->editor->cmbv2Genre->currentIndex(), "position");
        f.tagPage()->TS1->setCurrentIndex(app::TagPage::TagV1);
        f.commands()->button(u"enreID"_s)->trigger();
        QTEST(tagsOf(file).section(u" / "_s, 0, 0), "saved");
    }

    // A save that fails names the file in an error box and leaves it as it was; the window
    // stays usable: an untagged file shows nothing, a tagged one both versions, every field.
    void failedSaveIsReported()
    {
        FormFixture f;
        f.startOnFiles(u"verrou.mp3|parti.mp3"_s, audio);
        const QString locked = f.music + u"/verrou.mp3"_s;
        id3peer({u"write"_s, locked});
        const bool root = geteuid() == 0;
        if (root && QProcess::execute(u"chattr"_s, {u"+i"_s, locked}) != 0)
            QSKIP("running as root without chattr +i: a read-only file cannot be made");
        if (!root)
            QFile::setPermissions(locked, QFileDevice::ReadOwner);
        const QByteArray before = mpegstream::readFile(locked);
        clickRow(f, 1);
        f.tagPage()->editor->txtv2Titre->setText(u"jamais écrit"_s);
        f.tagPage()->TS1->setCurrentIndex(app::TagPage::TagV2);
        f.commands()->button(u"enreID"_s)->trigger();
        const QByteArray after = mpegstream::readFile(locked);
        if (root)
            QProcess::execute(u"chattr"_s, {u"-i"_s, locked});
        QCOMPARE(after, before);
        QCOMPARE(f.dialogs->shown.last().icon, app::Dialogs::Icon::Error);
        QVERIFY2(f.dialogs->lastText().startsWith(
                     u"Le tag de « verrou.mp3 » n'a pas pu être enregistré : "_s),
                 qPrintable(f.dialogs->lastText()));
        // A file removed behind the window's back is not created again. The edits that could
        // not be saved are dropped when the next file is clicked.
        f.dialogs->unsavedAnswers = {app::Dialogs::Unsaved::Discard,
                                     app::Dialogs::Unsaved::Discard};
        clickRow(f, 0); // an untagged file: everything cleared and disabled
        app::TagEditorPanel *e = f.tagPage()->editor;
        QVERIFY(!e->txtv1Titre->isEnabled() && !e->txtv2Titre->isEnabled());
        QCOMPARE(editorTexts(e), u"00"_s + QString(19, u'|'));
        e->chkv2->click();
        QVERIFY(QFile::remove(f.music + u"/parti.mp3"_s));
        f.commands()->button(u"enreID"_s)->trigger();
        QVERIFY(!QFile::exists(f.music + u"/parti.mp3"_s));
        QVERIFY(f.dialogs->lastText().startsWith(u"Le tag de « parti.mp3 »"_s));
        clickRow(f, 1); // both versions shown again, every field
        QCOMPARE(editorTexts(e), u"11|5|Été indien|Joe Dassin|Le Jardin|1975|Rock||5/12|"
                                 u"Été indien|Joe Dassin|Le Jardin|1975|Rock|Très connu|"
                                 u"Toto Cutugno|Albatros|CBS|http://exemple.fr|LAME"_s);
    }

    // The editor and tarvex-cli set store the same values for the same input: the track field,
    // the genre (picked from the v1 list, typed for v2), and the comment and encoded-by texts,
    // typed or given as the defaults of the options.
    void editorAndCommandLineStoreTheSame_data()
    {
        QTest::addColumn<QString>("track");
        QTest::addColumn<QString>("genre");
        QTest::addColumn<QString>("texts"); // typed in the editor, then in the options
        QTest::newRow("track and total, typed texts")
            << u"7/12"_s << u"Reggae"_s
            << u"txtv1Commentaire=Écoute du soir|txtv2Commentaire=Écoute du soir|"
               u"txtv2Encode=LAME 3.100"_s;
        QTest::newRow("track with words, defaults")
            << u" 3 pistes"_s << u"rock"_s
            << u"txtv1Commentaire=tapé|txtv2Commentaire=tapé|txtv2Encode=tapé|"
               u"Text8=Écoute du soir|Text9=LAME 3.100"_s;
    }
    void editorAndCommandLineStoreTheSame()
    {
        QFETCH(QString, track);
        QFETCH(QString, genre);
        QFETCH(QString, texts);
        FormFixture f;
        app::Form1 &w = f.startOnFiles(u"editeur.mp3|ligne.mp3"_s, audio);
        clickRow(f, 0);
        app::TagEditorPanel *e = f.tagPage()->editor;
        setFields(&w,
                  u"chkv1|chkv2|txtv1Piste=%1|txtv2Piste=%1|cmbv2Genre=%2|"_s.arg(track, genre) +
                      texts);
        e->cmbv1Genre->setCurrentIndex(e->cmbv1Genre->findText(genre, Qt::MatchFixedString));
        f.tagPage()->TS1->setCurrentIndex(app::TagPage::TagV2);
        f.commands()->button(u"enreID"_s)->trigger();
        QCOMPARE(runCli({u"set"_s, u"--v1"_s, u"--v2"_s, u"--piste="_s + track,
                         u"--genre="_s + genre, u"--commentaire=Écoute du soir"_s,
                         u"--encode=LAME 3.100"_s, f.music + u"/ligne.mp3"_s}),
                 0);
        const QString stored = storedTags(f.music + u"/editeur.mp3"_s);
        QVERIFY2(stored.contains(u"|Écoute du soir|"_s) && stored.contains(u"|LAME 3.100"_s),
                 qPrintable(stored));
        QCOMPARE(stored, storedTags(f.music + u"/ligne.mp3"_s));
    }

    // Cover chosen, saved, dropped, removed, every other frame kept; then all three undone.
    void coverThenUndo()
    {
        FormFixture f;
        app::CoverPanel *cover = openRichFile(f).findChild<app::CoverPanel *>();
        const QString file = f.music + u"/b.mp3"_s, png = f.dir.filePath(u"i.png"_s),
                      jpeg = f.dir.filePath(u"i.jpeg"_s), copy = f.dir.filePath(u"copie"_s);
        const QByteArray original = mpegstream::readFile(file);
        QJsonObject others = frames({u"dump"_s, file});
        others.remove(u"APIC:recto"_s);
        const auto front = [&] { // the front cover, once every other frame was found unchanged
            QJsonObject now = frames({u"dump"_s, file});
            const QString recto = now.take(u"APIC:recto"_s).toString();
            return now == others ? recto : u"autres cadres changés"_s;
        };
        const auto picture = [](const QString &mime, const QString &path) {
            return u"image/%1:PictureType.COVER_FRONT:%2"_s.arg(
                mime, QCryptographicHash::hash(mpegstream::readFile(path), QCryptographicHash::Sha1)
                          .toHex());
        };
        const QString shown = u"303 octets\ncouverture (recto), image/jpeg"_s;
        QCOMPARE(cover->lblPochetteInfo->text(), shown);
        for (const QString &path : {png, jpeg})
            QVERIFY(QImage(16, 8, QImage::Format_RGB32).save(path));
        f.dialogs->files = {png, copy};
        cover->cmdAjouterPochette->click();
        QCOMPARE(front(), picture(u"png"_s, png));
        cover->cmdEnregistrerPochette->click();
        QCOMPARE(mpegstream::readFile(copy), mpegstream::readFile(png));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(jpeg)});
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(cover->lblPochette, &enter);
        QVERIFY(enter.isAccepted());
        QApplication::sendEvent(cover->lblPochette, &drop);
        QCOMPARE(front(), picture(u"jpeg"_s, jpeg));
        cover->cmdSupprimerPochette->click();
        QCOMPARE(front(), QString());
        QCOMPARE(cover->lblPochetteInfo->text(), u"204 octets\ncouverture (verso), image/png"_s);
        QAction *undo = f.commands()->item(u"annuler"_s);
        for (int i = 0; i < 3; ++i)
            undo->trigger();
        QCOMPARE(mpegstream::readFile(file), original);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(cover->lblPochetteInfo->text(), shown);
    }

    // "Autres champs" lists every frame of mutagen's rich tag the fields and the pictures do
    // not show; an edit, an addition and a removal there are asked about like the fields, and
    // saved with them, every other value kept. With two files shown, a row shows the value they
    // share or "<différentes valeurs>", and an edit reaches both.
    void otherFrames()
    {
        FormFixture f;
        f.startOnFiles(u"a.mp3|b.mp3|c.mp3"_s, audio);
        const QString b = f.music + u"/b.mp3"_s, c = f.music + u"/c.mp3"_s;
        frames({u"write"_s, b, u"4"_s});
        frames({u"write"_s, c, u"4"_s});
        tags::TagChanges sad;
        sad.frames = {{u"TMOO"_s, u"Triste"_s}};
        QVERIFY(tags::saveTags(c, sad).ok());
        f.choose(u"b.mp3"_s);
        f.tagPage()->TS1->setCurrentIndex(app::TagPage::TagV2);
        app::OtherFramesTable *table = f.tagPage()->editor->autresChamps;
        QTreeWidget *t = table->tblAutresChamps;
        const auto rows = [t] {
            QStringList shown;
            for (int row = 0; row < t->topLevelItemCount(); ++row) {
                const QTreeWidgetItem *item = t->topLevelItem(row);
                shown.append(item->text(0) + u'=' +
                             (item->data(1, Qt::UserRole + 1).toBool() ? u"<différentes valeurs>"_s
                                                                       : item->text(1)));
            }
            return shown;
        };
        const auto rowOf = [t](const QString &name) {
            return t->findItems(name, Qt::MatchExactly).value(0);
        };
        QCOMPARE(rows().join(u'|'),
                 u"Compilation=1|Date de sortie originale=2001|Ambiance=Calme|"
                 u"Regroupement (iTunes)=Groupe|Données privées (Tarvex)=10 octets|"
                 u"Tri de l'artiste de l'album=Tri TSO2|Tri de l'album=Tri TSOA|"
                 u"Tri du compositeur=Tri TSOC|Tri de l'artiste=Tri TSOP|Tri du titre=Tri TSOT|"
                 u"Réglage du volume (track)=12 octets|Commentaire (Notiz)=Grüße|"
                 u"Popularité (moi@exemple.fr)=20 octets|"
                 u"Intervenants=producer\\\\Zoé\\\\mix\\\\Yves|URL (site)=http://exemple.fr/a|"
                 u"Table des chapitres (toc)=27 octets|"
                 u"Identifiant unique (http://musicbrainz.org)=27 octets|"
                 u"URL (autre)=http://exemple.fr/b|REPLAYGAIN_TRACK_GAIN=-6.5 dB|"
                 u"Commentaire (iTunNORM)= 0000044E 00000000|Chapitre (ch0)=38 octets"_s);

        QJsonObject before = frames({u"dump"_s, b});
        rowOf(u"Ambiance"_s)->setText(1, u"Joyeux"_s);
        table->cboNouveauChamp->setCurrentText(u"artiste de l'album"_s);
        table->cmdAjouterChamp->click();
        // Typed into the editor the button opened, and saved while it is still open.
        QTest::keyClicks(t->findChild<QLineEdit *>(), "Invite");
        // Another file chosen: the question covers the table; "Annuler" keeps the edits.
        f.dialogs->unsavedAnswers = {app::Dialogs::Unsaved::Cancel};
        f.choose(u"a.mp3"_s);
        QCOMPARE(f.dialogs->shown.size(), 1);
        QCOMPARE(f.tagPage()->editor->shownFile(), b);
        t->setCurrentItem(rowOf(u"Données privées (Tarvex)"_s));
        table->cmdRetirerChamp->click();
        f.commands()->button(u"enreID"_s)->trigger();
        before[u"TMOO"_s] = u"Joyeux"_s;
        before[u"TPE2"_s] = u"Invite"_s;
        before.remove(before.keys().filter(u"PRIV:Tarvex"_s).value(0));
        QCOMPARE(frames({u"dump"_s, b}), before);
        QCOMPARE(mpegstream::readFile(b)[3], '\4');

        QJsonObject beforeC = frames({u"dump"_s, c});
        clickRow(f, 1);
        f.click(2, Qt::ControlModifier);
        QCOMPARE(f.tagPage()->editor->shownFiles().size(), 2);
        QVERIFY(rows().contains(u"Ambiance=<différentes valeurs>"_s));
        QVERIFY(rows().contains(u"Données privées (Tarvex)=<différentes valeurs>"_s));
        QVERIFY(rows().contains(u"Tri de l'artiste=Tri TSOP"_s));
        rowOf(u"Tri de l'artiste"_s)->setText(1, u"Commun"_s);
        f.commands()->button(u"enreID"_s)->trigger();
        before[u"TSOP"_s] = u"Commun"_s;
        beforeC[u"TSOP"_s] = u"Commun"_s;
        QCOMPARE(frames({u"dump"_s, b}), before);
        QCOMPARE(frames({u"dump"_s, c}), beforeC);

        // The option for old players converts the tag saved to version 2.3, and is kept.
        f.optionsPage()->chkTagsV23->click();
        QCOMPARE(f.stored(u"TagsV23"_s), u"1"_s);
        f.choose(u"b.mp3"_s);
        f.tagPage()->editor->txtv2Titre->setText(u"Ancien"_s);
        f.commands()->button(u"enreID"_s)->trigger();
        QCOMPARE(mpegstream::readFile(b)[3], '\3');
        before[u"TIT2"_s] = u"Ancien"_s;
        QCOMPARE(frames({u"dump"_s, b}), before);
    }

    // An edit of the title in the editor keeps every other value of a rich version 2.4 tag: the
    // editor writes only what the user changed. Then renaming and move undone, last first; the
    // tag save not undone over a file changed since.
    void undoCommands()
    {
        FormFixture f;
        app::Form1 &w = openRichFile(f, u"4"_s);
        const QString b = f.music + u"/b.mp3"_s;
        QJsonObject before = frames({u"dump"_s, b});
        QVERIFY(before.size() >= 30);
        QCOMPARE(f.tagPage()->editor->cmbv2Genre->currentText(), u"Chanson française/Synthwave"_s);
        f.tagPage()->editor->txtv2Titre->setText(u"Nouveau"_s);
        f.commands()->button(u"enreID"_s)->trigger();
        QJsonObject after = frames({u"dump"_s, b});
        QCOMPARE(after.take(u"TIT2"_s).toString(), u"Nouveau"_s);
        before.remove(u"TIT2"_s);
        QCOMPARE(after, before);
        f.write(u"b.mp3"_s, mpegstream::readFile(b) + "ajout d'un autre programme");
        const QByteArray changed = mpegstream::readFile(b);
        setFields(&w, u"TS1=3|Option5|Text2=c.mp3"_s);
        f.check(u"a.mp3"_s);
        w.toolbarClick(u"voir"_s);
        w.toolbarClick(u"renom"_s);
        f.check(u"c.mp3"_s);
        f.dialogs->folders = {f.dir.path()};
        f.commands()->item(u"deplacer2"_s)->trigger();
        QAction *undo = f.commands()->item(u"annuler"_s);
        for (const QString &step : {u"Déplacement=b.mp3|c.mp3"_s, u"Renommage=a.mp3|b.mp3"_s}) {
            QCOMPARE(undo->text(), u"&Annuler : "_s + step.section(u'=', 0, 0));
            undo->trigger();
            QCOMPARE(column(f.list(), 0), step.section(u'=', 1));
        }
        QCOMPARE(undo->text(), u"&Annuler : Enregistrement du tag"_s);
        undo->trigger();
        QCOMPARE(mpegstream::readFile(b), changed);
        QVERIFY2(f.dialogs->lastText().contains(u"b.mp3"_s), qPrintable(f.dialogs->lastText()));
    }

    // "Identifier sur MusicBrainz…" asks the services off the window's thread: the window is
    // closed to edits and "Arrêter" stops before the next request, with nothing shown or written.
    // Asked again, it lists the release MusicBrainz gives for the files shown and writes nothing
    // until "Appliquer"; a file unticked there keeps its tag; the whole is one step to undo.
    void identifyOnline()
    {
        FormFixture f;
        testsupport::HttpServer server;
        QVERIFY(server.start());
        const QByteArray found = "{\"releases\": [{\"id\": \"r1\"}]}";
        server.queue("/ws/2/release?query=", {200, found, {}, 500});
        server.queue("/ws/2/release?query=", {200, found});
        QJsonArray tracks;
        for (const QString &title : {u"Un"_s, u"Deux"_s, u"Trois"_s})
            tracks.append(QJsonObject{{u"title"_s, title},
                                      {u"length"_s, 1000},
                                      {u"recording"_s, QJsonObject{{u"id"_s, u"rec-"_s + title}}}});
        const QJsonObject release{
            {u"id"_s, u"r1"_s},
            {u"title"_s, u"Le Jardin"_s},
            {u"date"_s, u"1975"_s},
            {u"artist-credit"_s, QJsonArray{QJsonObject{{u"name"_s, u"Joe Dassin"_s}}}},
            {u"media"_s, QJsonArray{QJsonObject{{u"position"_s, 1}, {u"tracks"_s, tracks}}}}};
        server.queue("/ws/2/release/r1?", {200, QJsonDocument(release).toJson()});
        const QByteArray jpeg = "\xFF\xD8\xFF\xE0 recto";
        server.queue("/release/r1/front-500", {200, jpeg});
        f.store(u"ServeurMusicBrainz"_s, server.url());
        f.store(u"ServeurPochettes"_s, server.url());
        const QStringList names{u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s};
        app::Form1 &w = f.startOnFiles(names.join(u'|'), audio);
        id3peer({u"write"_s, f.music + u"/a.mp3"_s});
        for (const QString &name : names.mid(1))
            f.write(name, mpegstream::readFile(f.music + u"/a.mp3"_s));
        const QByteArray untouched = mpegstream::readFile(f.music + u"/a.mp3"_s);
        clickRow(f, 0);
        f.click(2, Qt::ShiftModifier);
        setFields(&w, u"TS1=2"_s);

        bool editableMeanwhile = true;
        QTimer stop;
        connect(&stop, &QTimer::timeout, this, [&] {
            auto *button = w.findChild<QPushButton *>(u"cmdArreterTache"_s);
            if (!button->isVisible())
                return;
            stop.stop();
            editableMeanwhile = f.tagPage()->isEnabled();
            button->click();
        });
        stop.start(20);
        f.tagPage()->cmdIdentifier->click();
        QVERIFY(!stop.isActive());
        QVERIFY(!editableMeanwhile);
        QCOMPARE(server.requests().size(), 1);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(mpegstream::readFile(f.music + u"/a.mp3"_s), untouched);

        bool writtenBefore = true;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<app::IdentifyDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            answer.stop();
            writtenBefore = mpegstream::readFile(f.music + u"/a.mp3"_s) != untouched;
            QTreeWidgetItem *release = dialog->arbreEditions->topLevelItem(0)->child(0);
            QCOMPARE(release->childCount(), 3);
            release->child(2)->setCheckState(0, Qt::Unchecked);
            dialog->chkPochette->setChecked(true);
            dialog->findChild<QPushButton *>(u"cmdAppliquer"_s)->click();
        });
        answer.start(50);
        f.tagPage()->cmdIdentifier->click();
        QVERIFY(!answer.isActive());
        QVERIFY(!writtenBefore);
        const QJsonObject b = frames({u"dump"_s, f.music + u"/b.mp3"_s});
        QCOMPARE(b.value(u"TIT2"_s).toString() + u'|' + b.value(u"TRCK"_s).toString(),
                 u"Deux|2/3"_s);
        const QString cover = b.value(u"APIC:"_s).toString();
        QVERIFY2(
            cover.startsWith(u"image/jpeg:"_s) &&
                cover.endsWith(QCryptographicHash::hash(jpeg, QCryptographicHash::Sha1).toHex()),
            qPrintable(cover));
        QCOMPARE(mpegstream::readFile(f.music + u"/c.mp3"_s), untouched);
        QAction *undo = f.commands()->item(u"annuler"_s);
        QCOMPARE(undo->text(), u"&Annuler : Identification en ligne"_s);
        undo->trigger();
        for (const QString &name : names)
            QCOMPARE(mpegstream::readFile(f.music + u'/' + name), untouched);
    }
};

QTEST_MAIN(TestTagPage)
#include "tst_tagpage.moc"
