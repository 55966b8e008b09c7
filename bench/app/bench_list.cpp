// Times the file list of the page "Tag et noms": opening a folder of many MP3 files (time and
// memory the list takes), then a folder of tagged files with the five tag columns shown (time
// to list, time until every cell is filled, and the longest pause of the event loop meanwhile).
// Last, a tree of FILES files in 500 folders listed with "Afficher les sous-dossiers" ticked:
// the time until every file is listed and the longest pause of the event loop meanwhile.
// Run: build/bench/app/bench_list [FILES [TAGGED]]   (defaults 50000 and 10000, offscreen)
#include "app/commandtable.h"
#include "app/form1.h"
#include "benchwindow.h"
#ifndef TARVEX_BENCH_NO_COLUMNS
#include "app/filelistmodel.h"
#include "app/tagpage.h"
#endif

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Resident memory of this process, in MB.
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

QByteArray textFrame(const char *id, const QByteArray &text)
{
    const QByteArray body = '\0' + text;
    QByteArray frame(id, 4);
    for (int shift : {24, 16, 8, 0})
        frame.append(char((body.size() >> shift) & 0xff));
    return frame + QByteArray(2, '\0') + body;
}

// An ID3v2.3 tag with the five listed fields, then four MPEG frames.
QByteArray taggedFile(int i)
{
    const QByteArray frames = textFrame("TIT2", "Titre " + QByteArray::number(i)) +
                              textFrame("TPE1", "Artiste " + QByteArray::number(i % 97)) +
                              textFrame("TALB", "Album " + QByteArray::number(i % 13)) +
                              textFrame("TRCK", QByteArray::number(i % 20 + 1)) +
                              textFrame("TYER", "1999");
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        tag.append(char((frames.size() >> shift) & 0x7f));
    QByteArray audio("\xFF\xFB\x90\x00", 4);
    audio.append(413, '\x55');
    return tag + frames + audio.repeated(4);
}

bool writeFolder(const QString &folder, int count, bool tagged)
{
    QDir().mkpath(folder);
    QByteArray plain("\xFF\xFB\x90\x00", 4);
    plain.append(413, '\x55');
    plain = plain.repeated(4);
    for (int i = 0; i < count; ++i) {
        QFile f(QStringLiteral("%1/piste %2.mp3").arg(folder).arg(i, 5, 10, QLatin1Char('0')));
        const QByteArray bytes = tagged ? taggedFile(i) : plain;
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int fileCount = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int taggedCount = argc > 2 ? std::atoi(argv[2]) : 10000;
    QTemporaryDir dir;
    auto answers = std::make_unique<Answers>();
    Answers *dialogs = answers.get();
    app::Form1 window(benchSetup(dir.filePath(QStringLiteral("Tarvex.ini")), std::move(answers)));
    window.startUp();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.findChild<QTabBar *>(QStringLiteral("TS2"))->setCurrentIndex(1);
    QApplication::processEvents();
    auto *list = window.findChild<QAbstractItemView *>(QStringLiteral("LV1"));
    QAction *open = window.findChild<app::CommandTable *>()->button(QStringLiteral("ouvrir"));

    const QString plain = dir.filePath(QStringLiteral("simples"));
    if (!writeFolder(plain, fileCount, false))
        return 1;
    std::vector<double> times;
    double before = 0;
    double grown = 0;
    double resident = 0;
    for (int run = 0; run < 5; ++run) {
        dialogs->folder = dir.path(); // an empty folder between runs
        open->trigger();
        QApplication::processEvents();
        before = residentMb();
        dialogs->folder = plain;
        QElapsedTimer t;
        t.start();
        open->trigger();
        QApplication::processEvents();
        times.push_back(msSince(t));
        if (run == 0) { // later runs reuse the memory the first one took
            grown = residentMb() - before;
            resident = residentMb();
        }
        if (list->model()->rowCount() != fileCount)
            return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("open a folder of %d MP3 files: %.1f ms (median of 5), list memory %.1f MB "
                "(resident %.1f MB)\n",
                fileCount, times[2], grown, resident);

#ifndef TARVEX_BENCH_NO_COLUMNS
    const QString tagged = dir.filePath(QStringLiteral("tagues"));
    if (!writeFolder(tagged, taggedCount, true))
        return 1;
    auto *page = window.findChild<app::TagPage *>();
    for (int column = app::FileListModel::Titre; column < app::FileListModel::ColumnCount; ++column)
        page->showColumn(column, true);
    std::vector<double> listed, filled, pauses;
    for (int run = 0; run < 5; ++run) {
        dialogs->folder = dir.path();
        open->trigger();
        QApplication::processEvents();
        // The files are in the page cache after the first run: this measures reading the tags
        // and filling the cells, not the disk.
        dialogs->folder = tagged;
        QElapsedTimer t;
        t.start();
        open->trigger();
        QApplication::processEvents();
        listed.push_back(msSince(t));
        // The longest the window could not answer while the columns were filled.
        PauseMeter meter;
        meter.start();
        while (!page->files->allTagsRead() && t.elapsed() < 120000)
            QTest::qWait(2);
        filled.push_back(msSince(t));
        pauses.push_back(meter.longest());
        if (page->files->index(taggedCount - 1, app::FileListModel::Titre).data().toString() !=
            QStringLiteral("Titre %1").arg(taggedCount - 1))
            return 1;
    }
    std::sort(listed.begin(), listed.end());
    std::sort(filled.begin(), filled.end());
    std::sort(pauses.begin(), pauses.end());
    std::printf("open a folder of %d tagged MP3 files with the five tag columns: listed in "
                "%.1f ms, every column filled in %.1f ms, longest event-loop pause %.1f ms "
                "(medians of 5)\n",
                taggedCount, listed[2], filled[2], pauses[2]);

    const QString tree = dir.filePath(QStringLiteral("arbre"));
    const int folderCount = 500;
    for (int folder = 0; folder < folderCount; ++folder) {
        const QString path = QStringLiteral("%1/Artiste %2/Album %3")
                                 .arg(tree)
                                 .arg(folder / 10, 2, 10, QLatin1Char('0'))
                                 .arg(folder % 10);
        if (!writeFolder(path, fileCount / folderCount, false))
            return 1;
    }
    // Between runs, an empty folder: the test folder itself now lists every file below it.
    const QString empty = dir.filePath(QStringLiteral("vide"));
    QDir().mkpath(empty);
    // Ticked as the user does: setChecked alone would not reach the listing.
    dialogs->folder = empty;
    open->trigger();
    page->chkSousDossiers->click();
    if (!page->File1.includesSubfolders())
        return 1;
    std::vector<double> treeListed, treePauses;
    for (int run = 0; run < 5; ++run) {
        dialogs->folder = empty;
        open->trigger();
        if (list->model()->rowCount() != 0)
            return 1;
        dialogs->folder = tree;
        PauseMeter meter;
        meter.start();
        QElapsedTimer t;
        t.start();
        open->trigger();
        while (list->model()->rowCount() != fileCount && t.elapsed() < 120000)
            QTest::qWait(2);
        treeListed.push_back(msSince(t));
        treePauses.push_back(meter.longestToNow());
        if (list->model()->rowCount() != fileCount)
            return 1;
    }
    std::sort(treeListed.begin(), treeListed.end());
    std::sort(treePauses.begin(), treePauses.end());
    std::printf("open a tree of %d MP3 files in %d folders with the subfolders shown: listed in "
                "%.1f ms, longest event-loop pause %.1f ms (medians of 5; worst pause %.1f ms)\n",
                fileCount, folderCount, treeListed[2], treePauses[2], treePauses[4]);
#endif
    return 0;
}
