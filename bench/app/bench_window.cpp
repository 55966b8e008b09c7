// Times the main window: start-up to a shown window, listing a folder of 10 000 MP3 files,
// refilling and checking the list, and the click that shows the information and
// the tags of a 10 MB file. Run: build/bench/app/bench_window (offscreen by default).
#include "app/commandtable.h"
#include "app/form1.h"
#include "app/optionspage.h"
#include "app/tagpage.h"
#include "benchwindow.h"
#include "mpeg/fileinfo.h"
#include "tags/zelltagctrl.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// One MPEG-1 Layer III frame, 128 kbit/s, 44.1 kHz: 417 bytes.
QByteArray frame()
{
    QByteArray f("\xFF\xFB\x90\x00", 4);
    f.append(413, '\x55');
    return f;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F> double timeMs(F &&f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString disc = QStringLiteral(TARVEX_DEMO_DISC) + QStringLiteral(".cue");

    // Start-up: the same steps as the program's main(), up to the window on screen.
    auto answers = std::make_unique<Answers>();
    Answers *dialogs = answers.get();
    app::Form1::Setup setup;
    setup.dialogs = std::move(answers);
    setup.settingsFile = dir.filePath(QStringLiteral("Tarvex.ini"));
    setup.cdImages = {disc};
    app::Form1 window(std::move(setup));
    window.startUp();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QApplication::processEvents();
    std::printf(
        "start-up to a shown window: %.1f ms (process start to exposed, same steps as main)\n",
        double(sinceStart.nsecsElapsed()) / 1e6);
    if (argc > 1 && QByteArray(argv[1]) == "--start-up-only")
        return 0;

    // 10 000 files of a few frames each.
    const QString folder = dir.filePath(QStringLiteral("musique"));
    QDir().mkpath(folder);
    const QByteArray small = frame().repeated(4);
    for (int i = 0; i < 10000; ++i) {
        QFile f(QStringLiteral("%1/piste %2.mp3").arg(folder).arg(i, 5, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly) || f.write(small) != small.size())
            return 1;
    }
    // The page "Tag et noms" lists the CD extraction folder when it is shown.
    window.findChild<app::OptionsPage *>()->Text3->setText(folder);
    window.findChild<QTabBar *>(QStringLiteral("TS2"))->setCurrentIndex(1);
    dialogs->folder = folder;
    std::vector<double> open, refill, checkAll;
    QAbstractItemView *list = window.findChild<app::TagPage *>()->LV1;
    for (int run = 0; run < 5; ++run) {
        open.push_back(timeMs([&] {
            window.findChild<app::CommandTable *>()->button(QStringLiteral("ouvrir"))->trigger();
            QApplication::processEvents();
        }));
        checkAll.push_back(
            timeMs([&] { window.findChild<app::TagPage *>()->setAllChecked(true); }));
        refill.push_back(timeMs([&] {
            window.findChild<QTabBar *>(QStringLiteral("TS2"))->setCurrentIndex(0);
            window.findChild<QTabBar *>(QStringLiteral("TS2"))->setCurrentIndex(1);
            QApplication::processEvents();
        }));
        if (list->model()->rowCount() != 10000)
            return 1;
    }
    std::printf("open a folder of 10000 MP3 files (list + count): %.1f ms (median of 5)\n",
                median(open));
    std::printf("check all 10000 rows: %.1f ms\n", median(checkAll));
    std::printf("switch pages twice (two refills of 10000 rows): %.1f ms\n", median(refill));

    // A 10 MB file with both tags, clicked in the list.
    const QString bigFolder = dir.filePath(QStringLiteral("gros"));
    QDir().mkpath(bigFolder);
    const QString big = bigFolder + QStringLiteral("/gros.mp3");
    {
        QFile f(big);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(frame().repeated(10 * 1024 * 1024 / 417));
    }
    tags::TagType tagsOfBig;
    tagsOfBig.TagV1.setValide(true);
    tagsOfBig.TagV1.setTitre(QStringLiteral("Gros fichier"));
    tagsOfBig.TagV2.setValide(true);
    tagsOfBig.TagV2.setTitre(QStringLiteral("Gros fichier"));
    tagsOfBig.TagV2.setArtiste(QStringLiteral("Banc d'essai"));
    if (!tags::ZellTagCtrl().SetAllTags(big, tagsOfBig).ok())
        return 1;
    dialogs->folder = bigFolder;
    window.findChild<app::CommandTable *>()->button(QStringLiteral("ouvrir"))->trigger();
    const QRect rect = list->visualRect(list->model()->index(0, 0));
    std::vector<double> clicks;
    for (int run = 0; run < 21; ++run) {
        clicks.push_back(timeMs(
            [&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center()); }));
    }
    std::printf("click on a 10 MB MP3 (information + both tags shown): %.1f ms (median of 21)\n",
                median(clicks));
    return 0;
}
