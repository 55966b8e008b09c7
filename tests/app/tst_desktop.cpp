#include "app/windowstate.h"
#include "formfixture.h"

// What the desktop hands the program: a folder or an MP3 to open, and the window as it was left.
class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void showPath_data();
    void showPath();
    void windowStateComesBack();
};

void TestDesktop::showPath_data()
{
    QTest::addColumn<QString>("given"); // inside the folder "musique"
    QTest::addColumn<QString>("chosen");
    QTest::newRow("folder") << u"album"_s << QString();
    QTest::newRow("mp3 of a folder") << u"album/B.mp3"_s << u"album/B.mp3"_s;
    QTest::newRow("file the list leaves out") << u"album/notes.txt"_s << QString();
}

void TestDesktop::showPath()
{
    QFETCH(QString, given);
    QFETCH(QString, chosen);
    FormFixture f;
    for (const QString &name : listOf(u"autre.mp3|album/a.mp3|album/B.mp3|album/notes.txt"_s))
        f.write(name, name.toUtf8());
    app::Form1 &form = f.start();
    form.showPath(QDir(f.music).filePath(given));

    QCOMPARE(form.TS2->currentIndex(), 1);
    QCOMPARE(column(f.list(), app::TagPage::NameColumn), u"a.mp3|B.mp3"_s);
    const QTreeWidgetItem *current = f.list()->currentItem();
    QCOMPARE(current && current->isSelected(), !chosen.isEmpty());
    QCOMPARE(form.chosenFile(), chosen.isEmpty() ? QString() : QDir(f.music).filePath(chosen));
}

void TestDesktop::windowStateComesBack()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"Fenetre.ini"_s);
    const auto makeWindow = [] {
        auto window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        for (int i = 0; i < 2; ++i) {
            auto *splitter = new QSplitter(window.get());
            splitter->addWidget(new QWidget);
            splitter->addWidget(new QWidget);
            layout->addWidget(splitter);
        }
        window->resize(600, 400);
        return window;
    };
    const auto sizes = [](const QWidget &window) {
        QList<QList<int>> result;
        for (const QSplitter *splitter : window.findChildren<QSplitter *>())
            result << splitter->sizes();
        return result;
    };
    auto first = makeWindow();
    first->show();
    first->resize(700, 450);
    QVERIFY(QTest::qWaitForWindowExposed(first.get()));
    first->findChildren<QSplitter *>()[0]->setSizes({100, 580});
    first->findChildren<QSplitter *>()[1]->setSizes({500, 180});
    QVERIFY(app::saveWindowState(*first, file));

    auto second = makeWindow();
    app::restoreWindowState(*second, file);
    second->show();
    QVERIFY(QTest::qWaitForWindowExposed(second.get()));
    QCOMPARE(second->size(), QSize(700, 450));
    QCOMPARE(sizes(*second), sizes(*first));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
