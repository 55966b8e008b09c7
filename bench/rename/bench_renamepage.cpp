// Times the window's preview of 10 000 checked rows and its renaming of 1 000 files (rename,
// folder re-read and list refill), offscreen.
#include "app/filecommands.h"
#include "app/filelistmodel.h"
#include "app/form1.h"
#include "app/renamepanel.h"
#include "app/tagpage.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
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
    return 0;
}
