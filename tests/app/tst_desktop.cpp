#include "app/windowstate.h"
#include "formfixture.h"

// What the desktop hands the program: a folder or an MP3 to open, and the window as it was left.
class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void showPath_data()
    {
        QTest::addColumn<QString>("given"); // inside the folder "musique"
        QTest::addColumn<QString>("chosen");
        QTest::newRow("folder") << u"album"_s << QString();
        QTest::newRow("mp3 of a folder") << u"album/B.mp3"_s << u"album/B.mp3"_s;
        QTest::newRow("file the list leaves out") << u"album/notes.txt"_s << QString();
    }

    void showPath()
    {
        QFETCH(QString, given);
        QFETCH(QString, chosen);
        FormFixture f;
        for (const QString &name : listOf(u"autre.mp3|album/a.mp3|album/B.mp3|album/notes.txt"_s))
            f.write(name, name.toUtf8());
        app::Form1 &form = f.start();
        form.showPath(QDir(f.music).filePath(given));

        QCOMPARE(pageTabs(form)->currentIndex(), 1);
        QCOMPARE(column(f.list(), app::FileListModel::Name), u"a.mp3|B.mp3"_s);
        QCOMPARE(tagPage(form)->currentSelectedRow() >= 0, !chosen.isEmpty());
        QCOMPARE(form.chosenFile(), chosen.isEmpty() ? QString() : QDir(f.music).filePath(chosen));
    }

    void windowStateComesBack()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"Fenetre.ini"_s);
        QWidget windows[2];
        for (QWidget &window : windows) {
            auto *layout = new QVBoxLayout(&window);
            for (int i = 0; i < 2; ++i) {
                auto *splitter = new QSplitter;
                splitter->addWidget(new QWidget);
                splitter->addWidget(new QWidget);
                layout->addWidget(splitter);
            }
        }
        windows[0].resize(700, 450);
        windows[0].show();
        const QList<QSplitter *> saved = windows[0].findChildren<QSplitter *>();
        saved[0]->setSizes({100, 580});
        saved[1]->setSizes({500, 180});
        QVERIFY(app::saveWindowState(windows[0], file));

        app::restoreWindowState(windows[1], file);
        windows[1].show();
        const QList<QSplitter *> restored = windows[1].findChildren<QSplitter *>();
        QCOMPARE(windows[1].size(), QSize(700, 450));
        QCOMPARE(restored[0]->sizes(), saved[0]->sizes());
        QCOMPARE(restored[1]->sizes(), saved[1]->sizes());
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
