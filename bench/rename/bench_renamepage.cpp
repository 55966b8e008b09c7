// Times the window's preview of 10 000 checked rows and its renaming of 1 000 files (rename,
// folder re-read and list refill), then the preview following typing on 5 000 checked files (time
// from the last keystroke to the preview on show, and the longest pause of the event loop),
// offscreen.
#include "app/filecommands.h"
#include "app/filelistmodel.h"
#include "app/form1.h"
#include "app/renamepanel.h"
#include "app/tagpage.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

namespace {

class SilentPlayer : public files::Player
{
public:
    void setFileName(const QString &path) override { m_name = path; }
    QString fileName() const override { return m_name; }
    void play() override {}
    void pause() override {}
    void stop() override {}
    PlayState playState() const override { return Stopped; }

private:
    QString m_name;
};

class SilentDialogs : public app::Dialogs
{
public:
    int shown = 0;
    bool message(QWidget *, const QString &, const QString &, Icon, Buttons) override
    {
        ++shown;
        return true;
    }
    QString chooseFolder(QWidget *, const QString &) override { return {}; }
};

void makeFiles(const QString &folder, int count)
{
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("/%1 - Piste.mp3").arg(i, 5, 10, QChar('0')));
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
    }
}

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

// An ID3v2.3 text frame in ISO-8859-1.
QByteArray textFrame(const char *id, const QByteArray &text)
{
    QByteArray frame(id);
    const quint32 size = quint32(text.size() + 1);
    for (int shift : {24, 16, 8, 0})
        frame += char((size >> shift) & 0xff);
    return frame + QByteArray(2, '\0') + '\0' + text;
}

// Files "00000 - Piste.mp3" ... each with an ID3v2.3 tag naming its artist and title, and a few
// bytes of padding where the audio would be.
void makeTaggedFiles(const QString &folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const QByteArray frames = textFrame("TPE1", "Artiste " + QByteArray::number(i % 40)) +
                                  textFrame("TIT2", "Titre " + QByteArray::number(i));
        QByteArray tag("ID3\x03\0\0", 6);
        for (int shift : {21, 14, 7, 0})
            tag += char((frames.size() >> shift) & 0x7f);
        QFile file(folder + QStringLiteral("/%1 - Piste.mp3").arg(i, 5, 10, QChar('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(tag + frames + QByteArray(64, 0)) < 0)
            std::abort();
    }
}

// Types text into field at 10 ms a character, then waits for the preview to follow. Returns the
// time from the last keystroke to the preview on show and the longest pause of the event loop
// meanwhile, both in milliseconds.
std::pair<double, double> typeAndWait(QLineEdit *field, const QString &text,
                                      const app::FileCommands &commands)
{
    QElapsedTimer gap;
    gap.start();
    double longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, gap.nsecsElapsed() / 1e6);
        gap.restart();
    });
    tick.start(5);
    field->clear();
    QElapsedTimer lastKey;
    for (const QChar c : text) {
        if (lastKey.isValid())
            while (lastKey.elapsed() < 10)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        field->insert(c);
        lastKey.start();
    }
    while (!commands.previewIsCurrent())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return {lastKey.nsecsElapsed() / 1e6, longest};
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    auto *dialogs = new SilentDialogs;
    app::Form1::Setup setup;
    setup.dialogs.reset(dialogs);
    setup.player = std::make_unique<SilentPlayer>();
    setup.settingsFile = dir.filePath(QStringLiteral("Tarvex.ini"));
    setup.machineDrives = [] { return QStringList(); };
    app::Form1 window(std::move(setup));
    app::TagPage *page = window.findChild<app::TagPage *>();

    for (const int count : {10000, 1000}) {
        const QString folder = dir.filePath(QString::number(count));
        QDir().mkpath(folder);
        makeFiles(folder, count);
        page->File1.setPath(folder);
        page->File1.refresh();
        page->refillList();
        page->setAllChecked(true);
        window.findChild<app::RenamePanel *>()->Combo1->setCurrentIndex(3);
        window.findChild<app::RenamePanel *>()->Combo2->setCurrentIndex(5);

        QElapsedTimer timer;
        timer.start();
        window.findChild<app::FileCommands *>()->apercu();
        const double preview = seconds(timer);
        if (page->files->newName(0) != QStringLiteral("00000Piste.mp3"))
            std::abort();
        out << QStringLiteral("fenêtre : aperçu de %1 lignes cochées : %2 s (cible 0,2 s)\n")
                   .arg(count)
                   .arg(preview, 0, 'f', 4);
        out.flush();
        if (count != 1000)
            continue;
        timer.restart();
        window.findChild<app::FileCommands *>()->renomer();
        const double rename = seconds(timer);
        if (dialogs->shown != 0 || !QFile::exists(folder + QStringLiteral("/00999Piste.mp3")))
            std::abort();
        out << QStringLiteral(
                   "fenêtre : renommage de %1 fichiers, relecture comprise : %2 s (cible 1 s)\n")
                   .arg(count)
                   .arg(rename, 0, 'f', 4);
    }

    // The preview following typing, on 5 000 checked files.
    constexpr int typed = 5000;
    const QString folder = dir.filePath(QStringLiteral("saisie"));
    QDir().mkpath(folder);
    makeTaggedFiles(folder, typed);
    page->File1.setPath(folder);
    page->File1.refresh();
    page->refillList();
    page->setAllChecked(true);
    auto *panel = window.findChild<app::RenamePanel *>();
    auto *commands = window.findChild<app::FileCommands *>();
    panel->Option5->setChecked(true);
    commands->apercu(); // a preview on show follows the settings from now on
    const auto [manual, manualPause] =
        typeAndWait(panel->Text2, QStringLiteral("Nouveau.mp3"), *commands);
    if (page->files->newName(typed - 1) != QStringLiteral("Nouveau.mp3")) {
        qWarning("%s", qPrintable(page->files->newName(typed - 1)));
        std::abort();
    }
    out << QStringLiteral("fenêtre : aperçu suivant la frappe (Manuellement), %1 lignes : %2 ms "
                          "après la dernière touche, pause la plus longue %3 ms (cible 100 ms)\n")
               .arg(typed)
               .arg(manual, 0, 'f', 1)
               .arg(manualPause, 0, 'f', 1);
    panel->optDapresTag->setChecked(true);
    QLineEdit *pattern = panel->cboModele->lineEdit();
    const auto [first, firstPause] = typeAndWait(pattern, QStringLiteral("%artiste%"), *commands);
    const auto [again, againPause] =
        typeAndWait(pattern, QStringLiteral("%artiste% - %titre%"), *commands);
    if (page->files->newName(typed - 1) != QStringLiteral("Artiste 39 - Titre 4999.mp3")) {
        qWarning("%s", qPrintable(page->files->newName(typed - 1)));
        std::abort();
    }
    out << QStringLiteral("fenêtre : aperçu d'après le tag, %1 lignes : première lecture des tags "
                          "%2 ms après la dernière touche (pause la plus longue %3 ms), puis %4 ms "
                          "(pause la plus longue %5 ms, cible 100 ms)\n")
               .arg(typed)
               .arg(first, 0, 'f', 1)
               .arg(firstPause, 0, 'f', 1)
               .arg(again, 0, 'f', 1)
               .arg(againPause, 0, 'f', 1);
    return 0;
}
