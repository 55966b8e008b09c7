// Times "Autres champs" on many files selected at once, as a user does it: every row of a folder
// of MP3 files with rich version 2.4 tags selected (Ctrl+A) on the page "Tag ID3 v2", then one
// frame typed in the table and "Enregistrer". Prints the time of each step and the longest
// pause of the window's event loop meanwhile (a timer ticks every 5 ms).
// Run: build/bench/app/bench_frames [FILES]   (default 1000, offscreen)
#include "app/commandtable.h"
#include "app/form1.h"
#include "app/otherframestable.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "benchwindow.h"
#include "tags/tagframes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

QByteArray frame(const char *id, const QByteArray &body)
{
    QByteArray bytes(id, 4);
    for (int shift : {21, 14, 7, 0})
        bytes.append(char((body.size() >> shift) & 0x7f));
    return bytes + QByteArray(2, '\0') + body;
}

// A version 2.4 tag as taggers write it for an album: shared values, values of each track,
// identifiers, lyrics and binary frames; then four MPEG frames.
QByteArray taggedFile(int i)
{
    const QByteArray n = QByteArray::number(i);
    const QByteArray frames =
        frame("TIT2", "\3Titre " + n) + frame("TPE1", "\3Artiste") + frame("TALB", "\3Album") +
        frame("TRCK", "\3" + n) + frame("TPE2", "\3Artiste de l'album") + frame("TPOS", "\0031/1") +
        frame("TBPM", "\003" + QByteArray::number(90 + i % 40)) + frame("TSOP", "\3Artiste, L'") +
        frame("TXXX", QByteArray("\3MusicBrainz Album Id\0a1b2c3", 28)) +
        frame("TXXX", QByteArray("\3MusicBrainz Release Track Id\0", 30) + n) +
        frame("UFID", QByteArray("http://musicbrainz.org\0", 23) + n) +
        frame("USLT", QByteArray("\3fra\0", 5) + "Paroles de la piste " + n) +
        frame("COMM", QByteArray("\3engiTunNORM\0", 13) + n) +
        frame("PRIV", QByteArray("WM/Provider\0", 12) + QByteArray(40, 'p')) +
        QByteArray(256, '\0');
    QByteArray tag("ID3\x04\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        tag.append(char((frames.size() >> shift) & 0x7f));
    QByteArray audio("\xFF\xFB\x90\x00", 4);
    audio.append(413, '\x55');
    return tag + frames + audio.repeated(4);
}

// Runs `step` from the event loop until `done` says it ended; the time it took and the longest
// gap between two ticks of a 5 ms timer, the longest the window could not answer.
std::pair<double, double> timed(const std::function<void()> &step,
                                const std::function<bool()> &done)
{
    PauseMeter pauses;
    QElapsedTimer whole;
    QTimer::singleShot(20, [&] {
        whole.start();
        step();
    });
    pauses.start();
    while (!whole.isValid() || !done())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    pauses.stop();
    return {msSince(whole), pauses.longest()};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
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
    app::OtherFramesTable *table = page->editor->autresChamps;
    page->TS1->setCurrentIndex(app::TagPage::TagV2);
    page->LV1->setFocus();

    const auto [shown, shownPause] =
        timed([&] { QTest::keyClick(page->LV1, Qt::Key_A, Qt::ControlModifier); },
              [&] { return page->editor->shownFiles().size() == count; });
    const QList<QTreeWidgetItem *> sort =
        table->tblAutresChamps->findItems(QStringLiteral("Tri de l'artiste"), Qt::MatchExactly);
    if (sort.isEmpty() || sort.first()->text(1) != QStringLiteral("Artiste, L'")) {
        std::fprintf(stderr, "the table does not show the shared sort name\n");
        return 1;
    }
    const int rows = table->tblAutresChamps->topLevelItemCount();
    sort.first()->setText(1, QStringLiteral("Artiste, Le"));

    bool saved = false;
    const auto [saving, savingPause] = timed(
        [&] {
            commands->button(QStringLiteral("enreID"))->trigger();
            saved = true;
        },
        [&] { return saved; });
    const tags::Result<QList<tags::TagFrame>> last = tags::readFrames(
        QStringLiteral("%1/piste %2.mp3").arg(folder).arg(count - 1, 5, 10, QLatin1Char('0')));
    const bool written =
        last.ok() && std::any_of(last->begin(), last->end(), [](const auto &f) {
            return f.key == QStringLiteral("TSOP") && f.value == QStringLiteral("Artiste, Le");
        });
    if (!written) {
        std::fprintf(stderr, "the frame was not saved into every file\n");
        return 1;
    }
    std::printf("%d files selected: table of %d rows shown in %.0f ms, longest event-loop pause "
                "%.1f ms; one frame saved into all in %.0f ms, longest pause %.1f ms\n",
                count, rows, shown, shownPause, saving, savingPause);
    return 0;
}
