#include "filepagefixture.h"

#include "app/cdpage.h"
#include "app/commandtable.h"
#include "app/tageditorpanel.h"
#include "cd/cdaudiocontrol.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <sys/mount.h>
#include <unistd.h>

using app::TagPage;

namespace {

// Dialogs that also note, at each question, whether the window's deletion flag is set.
class WatchingDialogs : public testsupport::ScriptedDialogs
{
public:
    QCheckBox **flag = nullptr;
    QList<bool> flagAtQuestion;
    bool message(QWidget *owner, const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        if (flag && *flag)
            flagAtQuestion.append((*flag)->isChecked());
        return ScriptedDialogs::message(owner, text, title, icon, buttons);
    }
};

} // namespace

class TestFileOps : public QObject
{
    Q_OBJECT
private slots:
    void copyOntoItsOwnFolder();
    void copyReplacesTarget();
    void refusedOrCancelled_data();
    void refusedOrCancelled();
    void moveNeverReplaces();
    void moveAcrossFileSystems();
    void deleteTheFileBeingPlayed();
    void playbackStatus();
    void unplayableFile();
    void renamingPageStopsPlayback();
    void cdTrackFollowsDevice();
};

void TestFileOps::copyOntoItsOwnFolder()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3", "b.mp3"});
    f.check({"a.mp3", "b.mp3"});
    f.list()->setCurrentItem(f.row("a.mp3"));
    w.Frame1->editor->txtv1Titre->setText("reste");
    f.dialogs->folders = {f.music + "/"};
    f.player->calls.clear();
    w.run("copie");
    QCOMPARE(f.dialogs->shown.size(), 1); // the question only: nothing failed
    QCOMPARE(f.dialogs->shown[0].text, QStringLiteral("Voulez vous copier le(s) fichier(s) sélectionné(s) ?"));
    QCOMPARE(f.dialogs->shown[0].title, QStringLiteral("Tarvex"));
    QCOMPARE(f.dialogs->shown[0].icon, app::Dialogs::Icon::Question);
    QCOMPARE(FilePageFixture::state(f.music), (QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"}));
    QCOMPARE(f.checkedCount(), 0);
    QVERIFY(f.list()->selectedItems().isEmpty());
    QVERIFY(w.Frame1->editor->txtv1Titre->text().isEmpty());
    QCOMPARE(f.player->calls.value(0), QStringLiteral("setFileName:"));
}

void TestFileOps::copyReplacesTarget()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3", "b.mp3"});
    const QString target = f.dir.filePath("cible");
    QDir().mkpath(target);
    QFile old(target + "/a.mp3");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("ancien contenu, plus long que le nouveau");
    old.close();
    f.check({"a.mp3"});
    f.dialogs->folders = {target};
    w.run("copie");
    QCOMPARE(FilePageFixture::state(target), QStringList{"a.mp3=a.mp3"});
    QCOMPARE(FilePageFixture::state(f.music), (QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"}));
}

void TestFileOps::refusedOrCancelled_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("folderChosen");
    QTest::addColumn<int>("folderDialogs");
    QTest::newRow("copy refused") << "copie" << false << true << 0;
    QTest::newRow("copy, folder dialog cancelled") << "copie" << true << false << 1;
    QTest::newRow("move refused") << "deplac" << false << true << 0;
    QTest::newRow("move, folder dialog cancelled") << "deplac" << true << false << 1;
    QTest::newRow("delete refused") << "supprim" << false << true << 0;
}

void TestFileOps::refusedOrCancelled()
{
    QFETCH(QString, command);
    QFETCH(bool, answer);
    QFETCH(bool, folderChosen);
    QFETCH(int, folderDialogs);
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3", "b.mp3"});
    const QString target = f.dir.filePath("cible");
    QDir().mkpath(target);
    f.check({"a.mp3", "b.mp3"});
    f.dialogs->answer = answer;
    f.dialogs->folders = folderChosen ? QStringList{target} : QStringList{};
    w.run(command);
    QCOMPARE(f.dialogs->folderDialogs, folderDialogs);
    QCOMPARE(FilePageFixture::state(f.music), (QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"}));
    QCOMPARE(FilePageFixture::state(target), QStringList{});
    QVERIFY(!w.Check1->isChecked());
}

void TestFileOps::moveNeverReplaces()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3", "b.mp3", "c.mp3"});
    const QString target = f.dir.filePath("cible");
    QDir().mkpath(target);
    QFile old(target + "/a.mp3");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("ancien");
    old.close();
    f.check({"a.mp3", "b.mp3"});
    f.dialogs->folders = {target};
    w.run("deplac");
    QCOMPARE(FilePageFixture::state(target), (QStringList{"a.mp3=ancien", "b.mp3=b.mp3"}));
    QCOMPARE(FilePageFixture::state(f.music), (QStringList{"a.mp3=a.mp3", "c.mp3=c.mp3"}));
    QCOMPARE(f.column(TagPage::NameColumn), (QStringList{"a.mp3", "c.mp3"}));
    QCOMPARE(f.dialogs->shown.size(), 2);
    QCOMPARE(f.dialogs->shown[1].icon, app::Dialogs::Icon::Warning);
    QCOMPARE(f.dialogs->lastText(), QStringLiteral("Ces fichiers n'ont pas pu être déplacés :\n"
                                                   "« a.mp3 » : un fichier de ce nom existe déjà"));
}

void TestFileOps::moveAcrossFileSystems()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3", "b.mp3"});
    const QString target = f.dir.filePath("tmpfs");
    QDir().mkpath(target);
    if (::geteuid() != 0 || ::mount("tmpfs", QFile::encodeName(target).constData(), "tmpfs", 0, "size=4m") != 0)
        QSKIP("needs root to mount a tmpfs for a move across file systems");
    f.check({"b.mp3"});
    f.dialogs->folders = {target};
    w.run("deplac");
    const QStringList moved = FilePageFixture::state(target);
    ::umount2(QFile::encodeName(target).constData(), MNT_DETACH);
    QCOMPARE(moved, QStringList{"b.mp3=b.mp3"});
    QCOMPARE(FilePageFixture::state(f.music), QStringList{"a.mp3=a.mp3"});
    QCOMPARE(f.dialogs->shown.size(), 1);
}

void TestFileOps::deleteTheFileBeingPlayed()
{
    auto watching = std::make_unique<WatchingDialogs>();
    WatchingDialogs *dialogs = watching.get();
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3", "b.mp3", "c.mp3"}, std::move(watching));
    dialogs->flag = &w.Check1;
    f.list()->setCurrentItem(f.row("b.mp3"));
    w.run("lecture");
    QCOMPARE(f.player->playState(), files::Player::Playing);
    f.check({"b.mp3", "c.mp3"});
    f.player->calls.clear();
    w.commands->item("supprimer2")->trigger();
    QCOMPARE(f.player->calls.mid(0, 2), (QStringList{"stop", "setFileName:"}));
    QCOMPARE(f.player->playState(), files::Player::Stopped);
    QCOMPARE(dialogs->flagAtQuestion, QList<bool>{true});
    QCOMPARE(dialogs->shown[0].text, QStringLiteral("Voulez vous supprimer le(s) fichier(s) sélectionné(s) ?"));
    QCOMPARE(FilePageFixture::state(f.music), QStringList{"a.mp3=a.mp3"});
    QCOMPARE(f.column(TagPage::NameColumn), QStringList{"a.mp3"});
    QCOMPARE(w.statusPanel(2), QStringLiteral("1 pistes"));
    QVERIFY(!w.Check1->isChecked());
    QVERIFY(f.list()->selectedItems().isEmpty());
}

void TestFileOps::playbackStatus()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3", "b.mp3"});
    f.list()->setCurrentItem(f.row("a.mp3"));
    w.run("lecture");
    QCOMPARE(f.player->fileName(), QDir(f.music).filePath("a.mp3"));
    QCOMPARE(w.statusPanel(1), QStringLiteral("Lecture de : a.mp3"));
    QVERIFY(w.Timer1->isActive());

    // Another row while the first plays: the player switches files.
    f.list()->setCurrentItem(f.row("b.mp3"));
    w.run("lecture");
    QCOMPARE(f.player->fileName(), QDir(f.music).filePath("b.mp3"));
    QCOMPARE(w.statusPanel(1), QStringLiteral("Lecture de : b.mp3"));

    w.commands->item("arretlecture")->trigger();
    QCOMPARE(f.player->playState(), files::Player::Stopped);
    QCOMPARE(f.player->fileName(), QDir(f.music).filePath("b.mp3")); // kept
    QVERIFY(w.statusPanel(1).isEmpty());

    w.run("lecture");
    w.run("arret");
    QVERIFY(f.player->fileName().isEmpty());
    QVERIFY(w.statusPanel(1).isEmpty());

    w.run("lecture");
    QCOMPARE(f.player->playState(), files::Player::Playing);
    w.toolbarClick("voir"); // any toolbar button stops playback first
    QCOMPARE(f.player->playState(), files::Player::Stopped);
    QVERIFY(f.player->fileName().isEmpty());
}

void TestFileOps::unplayableFile()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3"});
    f.list()->setCurrentItem(f.row("a.mp3"));
    f.player->failNextPlay();
    w.run("lecture");
    QVERIFY(w.statusPanel(1).isEmpty());
    QVERIFY(!w.Timer1->isActive());
    QCOMPARE(f.player->playState(), files::Player::Stopped);
}

void TestFileOps::renamingPageStopsPlayback()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3"});
    w.Frame1->TS1->setCurrentIndex(TagPage::InfoFichier);
    f.list()->setCurrentItem(f.row("a.mp3"));
    w.run("lecture");
    QCOMPARE(f.player->playState(), files::Player::Playing);
    w.Frame1->TS1->setCurrentIndex(TagPage::Renomeur);
    QCOMPARE(f.player->playState(), files::Player::Stopped);
    QVERIFY(f.player->fileName().isEmpty());
}

void TestFileOps::cdTrackFollowsDevice()
{
    FilePageFixture f;
    app::Form1 &w = f.start({});
    QTreeWidget *tracks = w.Frame6->LV2;
    tracks->clear();
    for (const char *title : {"Piste 1", "Piste 2", "Piste 3"})
        tracks->addTopLevelItem(new QTreeWidgetItem({QString::fromUtf8(title)}));
    QVERIFY(w.MMControl1->isOpen());

    QTreeWidgetItem *third = tracks->topLevelItem(2);
    tracks->setCurrentItem(third);
    emit tracks->itemClicked(third, 0);
    QCOMPARE(w.MMControl1->track(), 3);

    w.MMControl1->setTrack(2);
    w.Timer4->start(10);
    QTRY_COMPARE(tracks->currentItem(), tracks->topLevelItem(1));
    w.Timer4->stop();

    w.Frame6->txtArtiste->setText("Artiste");
    w.Frame6->txtAlbum->setText("Album");
    w.Frame6->txtAnnee->setText("1999");
    if (w.Frame6->txtGenre->count() < 3)
        w.Frame6->txtGenre->addItems({"", "Blues", "Classic Rock"});
    w.Frame6->txtGenre->setCurrentIndex(2);
    emit w.MMControl1->done(1);
    QCOMPARE(tracks->topLevelItemCount(), 0);
    QVERIFY(w.Frame6->txtArtiste->text().isEmpty());
    QVERIFY(w.Frame6->txtAlbum->text().isEmpty());
    QVERIFY(w.Frame6->txtAnnee->text().isEmpty());
    QCOMPARE(w.Frame6->txtGenre->currentIndex(), 0);
}

QTEST_MAIN(TestFileOps)
#include "tst_fileops.moc"
