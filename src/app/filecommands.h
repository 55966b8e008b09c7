#pragma once

#include "app/filewindow.h"
#include "files/fileoperations.h"

#include <QColor>
#include <QObject>
#include <QStringList>

#include <memory>

namespace files {
class Player;
}

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

    void apercu();
    void renomer();
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
    QStringList checkedNames() const;
    // Re-reads the folder into LV1 with no row selected, and clears the tag editor.
    void reloadList();
    void copyOrMove(files::Command command);
    void deleteChecked(bool forGood);
    void reportFailures(files::Command command, const files::OperationReport &report);
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
};

} // namespace app
