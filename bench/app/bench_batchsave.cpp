// Times the window's save of one field into every file of a folder: all rows selected, the
// title typed on the "Tag ID3 v2" page, "Enregistrer" answered OK. The same code path as a
// user's Ctrl+A, typing and saving, offscreen. Prints the seconds from the click to the end
// of the batch (the files' data synced).
// Usage: bench_batchsave FOLDER TITLE
#include "app/commandtable.h"
#include "app/filelistmodel.h"
#include "app/form1.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "benchwindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_batchsave FOLDER TITLE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir settings;
    app::Form1 window(benchSetup(settings.filePath(QStringLiteral("Tarvex.ini"))));
    window.startUp();
    window.showPath(QString::fromLocal8Bit(argv[1]));
    auto *page = window.findChild<app::TagPage *>();
    page->TS1->setCurrentIndex(app::TagPage::TagV2);
    page->LV1->selectionModel()->setCurrentIndex(page->files->index(0, 0),
                                                 QItemSelectionModel::NoUpdate);
    page->LV1->selectAll();
    QApplication::processEvents();
    if (page->editor->shownFiles().size() != page->files->count()) {
        std::fprintf(stderr, "the editor does not show every file\n");
        return 1;
    }
    page->editor->txtv2Titre->setText(QString::fromLocal8Bit(argv[2]));
    QElapsedTimer timer;
    timer.start();
    window.findChild<app::CommandTable *>()->button(QStringLiteral("enreID"))->trigger();
    std::printf("%.3f\n", double(timer.nsecsElapsed()) / 1e9);
    return 0;
}
