#pragma once

#include "app/filewindow.h"
#include "files/fileoperations.h"

#include "tags/tagpattern.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>

namespace files {
class Player;
}

class QThread;
class QTimer;

namespace cd {
class CdAudioControl;
}

namespace app {

class CdPage;
class RenamePanel;
class TagPage;

// The procedures of the window that act on checked files and on playback: the rename preview
// and renaming, copy, move and delete, play and stop, and the CD track list kept in step with
// the CD device. Each reads the window's controls, calls the renaming or file subsystem and
// writes the result back.
class FileCommands : public QObject
{
    Q_OBJECT
public:
    // Registers the procedures with the window and connects LV2, Timer4 and MMControl1.
    // playTimer follows the playback (Timer1), trackTimer the CD device's track (Timer4).
    FileCommands(QObject *parent, FileWindow &window, TagPage &page, CdPage &cd, RenamePanel &panel,
                 cd::CdAudioControl &cdControl, QTimer &playTimer, QTimer &trackTimer,
                 std::unique_ptr<files::Player> player);
    ~FileCommands() override;

    files::Player &player() const { return *m_player; }
    // True while a deletion runs: the rows that go are not shown meanwhile.
    bool isDeleting() const { return m_deleting; }

    // Shows the new names of the checked files now, the tags read again for "D'après le tag".
    void apercu();
    // Renames the checked files as the preview shows. Without a current preview (none shown,
    // or the settings or ticks changed since), shows it first and asks before renaming.
    void renomer();
    // True while the new-name column shows the names of the settings and ticks as they stand.
    bool previewIsCurrent() const { return m_previewCurrent; }
    void copie();
    void deplac();
    // Moves the checked files to the trash, or deletes them for good, each after its question
    // naming the files.
    void supprim();
    void supprimDefinitif();
    void lecture();
    void arret();
    void stoplecture();

    // Colours of the new-name cell: a computed name, a marker.
    QColor nameColour() const;
    QColor markerColour() const;
    // The colour of "(Non compatible)": a checked row the operation cannot name.
    QColor refusedColour() const;

private:
    // The preview follows the renaming settings and the ticks while the renaming page is shown
    // or a preview is on show: a change starts a short timer, so that typing is not slowed.
    void previewLater();
    // Computes and shows the preview. Tags that "D'après le tag" needs and that are not read
    // yet are read on a worker thread, which shows the preview when done, or here with `wait`.
    void showPreview(bool wait);
    void readTagsInBackground(const QStringList &names);
    void forgetPreview();
    QStringList checkedNames() const;
    // Re-reads the folder into LV1 with no row selected, and clears the tag editor.
    void reloadList();
    void copyOrMove(files::Command command);
    void deleteChecked(bool forGood);
    // Says in the status bar what the command did (doneText takes the number of files done), and
    // names in a message the files it could not handle.
    void reportOutcome(const QString &doneText, files::Command command,
                       const files::OperationReport &report);
    files::Clash askClash(const QString &existing);
    void onTrackClicked();
    void followDeviceTrack();
    void resetDisc();

    FileWindow &m_window;
    TagPage &m_page;
    CdPage &m_cd;
    cd::CdAudioControl &m_cdControl;
    QTimer &m_playTimer;
    QTimer &m_trackTimer;
    RenamePanel &m_panel;
    std::unique_ptr<files::Player> m_player;
    bool m_playFailed = false;
    bool m_deleting = false;

    QTimer *m_previewTimer;
    bool m_previewCurrent = false;
    bool m_previewShown = false; // since the list was filled
    // The tag values of the listed files that "D'après le tag" has read, by file name, until the
    // list is read again or their tags are saved.
    QHash<QString, tags::PatternValues> m_tagValues;
    bool m_readingTags = false;
    quint64 m_listGeneration = 0; // values read for an earlier listing are dropped
    std::unique_ptr<QThread> m_tagReader;
    std::shared_ptr<std::atomic_bool> m_stopReading;
};

} // namespace app
