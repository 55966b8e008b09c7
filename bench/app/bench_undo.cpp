// Times "Annuler" after a save of one field into every file of a folder of tagged MP3 files, as
// a user does it: every row selected, the title typed on the page "Tag ID3 v2", "Enregistrer",
// then Ctrl+Z. Prints the time of the undo, from the command to the editor showing the files
// again, and the longest pause of the window's event loop meanwhile (a timer ticks every 5 ms).
// Run: build/bench/app/bench_undo [FILES]   (default 5000, offscreen)
#include "app/commandtable.h"
#include "app/filelistmodel.h"
#include "app/form1.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "benchwindow.h"
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
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>

namespace {

// An ID3v2.3 tag with a title and an album, room for a longer title, then four MPEG frames.
QByteArray taggedFile(int i)
{
    const auto frame = [](const char *id, const QByteArray &text) {
        const QByteArray body = '\0' + text;
        QByteArray bytes(id, 4);
        for (int shift : {24, 16, 8, 0})
            bytes.append(char((body.size() >> shift) & 0xff));
        return bytes + QByteArray(2, '\0') + body;
    };
    const QByteArray frames = frame("TIT2", "Titre " + QByteArray::number(i)) +
                              frame("TALB", "Album") + QByteArray(64, '\0');
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        tag.append(char((frames.size() >> shift) & 0x7f));
    QByteArray audio("\xFF\xFB\x90\x00", 4);
    audio.append(413, '\x55');
    return tag + frames + audio.repeated(4);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("album"));
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        QFile f(QStringLiteral("%1/piste %2.mp3").arg(folder).arg(i, 5, 10, QLatin1Char('0')));
        const QByteArray bytes = taggedFile(i);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 1;
    }

    app::Form1 window(benchSetup(dir.filePath(QStringLiteral("Tarvex.ini"))));
    window.startUp();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.showPath(folder);
    auto *page = window.findChild<app::TagPage *>();
    auto *commands = window.findChild<app::CommandTable *>();
    page->TS1->setCurrentIndex(app::TagPage::TagV2);
    page->LV1->setFocus();
    QTest::keyClick(page->LV1, Qt::Key_A, Qt::ControlModifier);
    QApplication::processEvents();
    if (page->editor->shownFiles().size() != count) {
        std::fprintf(stderr, "the editor does not show every file\n");
        return 1;
    }
    page->editor->txtv2Titre->setText(QStringLiteral("Un titre nettement plus long que l'ancien"));
    QElapsedTimer saving;
    saving.start();
    commands->button(QStringLiteral("enreID"))->trigger();
    const double saved = msSince(saving);
    QAction *undo = commands->item(QStringLiteral("annuler"));
    if (!undo->isEnabled())
        return 1;

    // The longest the window could not answer while the undo ran.
    PauseMeter pauses;
    bool done = false;
    QElapsedTimer undoing;
    QTimer::singleShot(20, [&] {
        undoing.start();
        undo->trigger();
        done = true;
    });
    pauses.start();
    while (!done)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double undone = msSince(undoing);
    pauses.stop();
    const double longest = pauses.longest();

    const tags::Result<tags::TagType> first = tags::ZellTagCtrl().GetAllTags(
        QStringLiteral("%1/piste %2.mp3").arg(folder).arg(0, 5, 10, QLatin1Char('0')));
    if (!first.ok() || first->TagV2.Titre() != QStringLiteral("Titre 0") ||
        page->editor->shownFiles().size() != count) {
        std::fprintf(stderr, "the files were not restored, or are not shown again\n");
        return 1;
    }
    std::printf("save of %d files: %.0f ms; undo: %.0f ms, longest event-loop pause %.1f ms\n",
                count, saved, undone, longest);
    return 0;
}
