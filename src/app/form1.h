#pragma once

#include "app/cddbwindow.h"
#include "app/commandtable.h"
#include "app/dialogs.h"
#include "app/filewindow.h"
#include "app/jobwindow.h"
#include "app/tagwindow.h"
#include "cd/cdaudiocontrol.h"
#include "files/player.h"
#include "files/undojournal.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabBar;
class QTimer;

namespace app {

class CddbPanel;
class CdPage;
class CommandTable;
class ExtractionController;
class FileCommands;
class FolderCommands;
class Form2;
class OptionsPage;
class RenamePanel;
class SimpleRegAccess;
class TagCommands;
class TagPage;
class UndoCommands;
class CoverPanel;
class GainCommands;
class frmAbout;

// The main window "Tarvex": the three pages chosen by TS2, the commands and the status bar. It
// builds each controller with the pages it works on and gives it what it uses of the window
// through a small interface (JobWindow, TagWindow, CddbWindow, FileWindow).
class Form1 : public QMainWindow,
              public JobWindow,
              public TagWindow,
              public CddbWindow,
              public FileWindow
{
    Q_OBJECT
public:
    // What the window needs from outside; tests hand in their own dialogs and settings file.
    struct Setup
    {
        std::unique_ptr<Dialogs> dialogs;              // default: QMessageBox and QFileDialog
        std::unique_ptr<cd::CdAudioControl> cdControl; // default: the libcdio control
        std::unique_ptr<files::Player> player;         // default: the desktop's media player
        QString settingsFile;                          // default: the user's configuration folder
        QStringList cdImages;                          // listed after the machine's drives
        // The machine's CD drives, asked again each second so that drives plugged in or out
        // come and go; default: libcdio's list.
        std::function<QStringList()> machineDrives;
        QString helpFile; // the French HTML help page
    };

    explicit Form1(Setup setup, QWidget *parent = nullptr);
    ~Form1() override;

    // The load sequence: settings, fixed lists, drives, CD device. Without any drive the window
    // starts on the page "Tag et noms".
    void startUp();
    // Reads the list of drives again (a timer does so each second) and shows the changes,
    // unless a job or a lookup is reading the disc.
    void pollDrives();

    Dialogs &dialogs() const { return *m_dialogs; }
    QString product() const;
    QString settingsKeyPath() const;

    // Status bar SB1: panel 1 takes passing texts, panel 2 the count of listed files.
    void setStatusPanel(int panel, const QString &text) override;
    QString statusPanel(int panel) const;

    // Procedures provided by the parts of the window. A command runs the procedure registered
    // for it; none registered means nothing happens. Procedure::arret (release the played file)
    // runs before every toolbar command, on TS2 clicks and on the page "Renomeur".
    void setProcedure(Procedure procedure, std::function<void()> body);
    void run(Procedure procedure);

    // Every toolbar click: stop playback and the CD device, then run the button's command.
    void toolbarClick(const QString &key);

    // Shows a folder on the page "Tag et noms", or the folder of a file with the file chosen as
    // if clicked in LV1 (the program's command-line argument).
    void showPath(const QString &path);

    // Procedures of the window itself.
    void quitte();
    void aides();
    void aprop();
    void recherche();
    void ouvre();
    void comptage() override;
    void reperCD();
    void reperWAVMP3();

    // What the extraction and conversion use of the window.
    void inform(const QString &text, Dialogs::Icon icon) override;
    Dialogs::Replace askReplace(const QString &question) override;
    bool confirm(const QString &question, const QString &title) override;
    Dialogs::Unsaved askUnsaved(const QString &question) override;
    bool confirmTagSave(const QString &question) override;
    void showJobProgress(qint64 done, qint64 total) override;
    void clearJobProgress() override;
    void setJobFile(const QString &path) override;
    void stopCdDevice() override;
    void ejectCdDevice() override;
    void setCddbAvailable(bool available) override;
    QList<QWidget *> jobCommands() const override;
    // What the tag commands use of the window.
    QString chosenFile() const override;
    void setChosenFile(const QString &path) override;
    bool showsTagPage() const override;
    void setTagCommandsEnabled(bool enabled) override;
    void recordTagSaves(const QString &label, QList<tags::TagBackup> backups) override;
    void runJob(qsizetype files, bool stoppable,
                const std::function<void(const tags::BatchControl &)> &work, bool slow,
                Stop stopKind) override;
    // The file commands' jobs, whose stop ends them after the file in progress.
    void runJob(qsizetype files, bool stoppable,
                const std::function<void(const tags::BatchControl &)> &work, bool slow) override
    {
        runJob(files, stoppable, work, slow, Stop::AfterCurrent);
    }
    // What the CDDB lookup uses of the window.
    void releaseCdDevice() override;
    void reopenCdDevice() override;
    int chooseItem(const QString &text, const QStringList &items) override;
    // What the file commands use of the window.
    QString chooseFolder(const QString &startFolder) override;
    void recordMoves(const QString &label, const QList<files::MovedFile> &moves,
                     const QStringList &createdFolders) override;
    void recordSteps(const QString &label, const QList<files::FileStep> &steps) override;
    Dialogs::Replace askReplaceOrCancel(const QString &question) override;
    // Undoes the last tag save, renaming or move ("Annuler"), or redoes the last one undone
    // ("Rétablir"), then shows the folder and the files again.
    void annuler();
    void retablir();

signals:
    // The window is closing: transfers in progress are to be cancelled.
    void unloading();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildPages();
    void buildStatusBar();
    void connectCommands();
    void connectPages();
    void connectSettings();

    void loadSettings();
    void fillFixedLists();
    void findDrives();
    void openCdDevice();

    void onMainPage(int page);
    void onSubPage(int page);
    void onOptionsPage(int page);
    void onFileType(int index);
    void writeTagOptions();
    void writeOnlineOptions();
    void writeRipOptions();
    // Asks the question unless `asks` (a box of the Options page, stored under `setting`) is
    // off; a "Ne plus demander" ticked with OK turns the box off.
    bool confirmUnlessSilenced(QCheckBox *asks, const QString &setting, const QString &question,
                               const QString &title);
    void showUndone(const files::UndoReport &report);

    CommandTable *m_commands = nullptr; // toolbar, menus and the keys of their procedures
    QTabBar *TS2 = nullptr;             // the three pages
    CdPage *Frame6 = nullptr;
    TagPage *Frame1 = nullptr;
    OptionsPage *Frame7 = nullptr;
    ExtractionController *m_extraction = nullptr; // CD extraction jobs and WAV conversion
    RenamePanel *m_renamePanel = nullptr;         // inside Frame1->Frame4
    FileCommands *m_fileCommands = nullptr;       // renaming, file operations, playback
    CddbPanel *m_cddb = nullptr;                  // the CDDB lookup of the CD page
    TagCommands *m_tagCommands = nullptr;
    FolderCommands *m_folders = nullptr; // the folder listed, the tree, F5, changes on disk
    UndoCommands *m_undo = nullptr;      // the journal lives as long as the window
    CoverPanel *m_cover = nullptr;       // on the page "Tag ID3 v2"
    GainCommands *m_gain = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *m_stopJob = nullptr; // beside the gauge while a job of the window runs
    bool m_jobRunning = false;
    QTimer *m_playTimer = nullptr;  // follows the playback ("Timer1")
    QTimer *m_trackTimer = nullptr; // follows the CD device's track ("Timer4")
    QTimer *m_driveTimer = nullptr; // polls the drive list
    QString m_chosenFile;           // full path of the file last chosen in LV1
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<cd::CdAudioControl> m_cdControl;
    std::unique_ptr<SimpleRegAccess> m_reg;
    QStringList m_cdImages; // the usable ones once started
    std::function<QStringList()> m_machineDrives;
    QString m_helpFile;
    std::map<Procedure, std::function<void()>> m_procedures;
    QLabel *m_panel1 = nullptr;
    QLabel *m_panel2 = nullptr;
    QPointer<Form2> m_search;
    QPointer<frmAbout> m_about;
    bool m_quitConfirmed = false;
};

} // namespace app
