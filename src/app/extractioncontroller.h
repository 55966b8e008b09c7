#pragma once

#include "app/jobwindow.h"
#include "cd/extractionjob.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QFrame;
class QPushButton;
class QWidget;

namespace app {

class CdPage;
class OptionsPage;
class TagPage;

// The window's side of CD extraction and WAV conversion: the track list read from the drive,
// the WAV and MP3 jobs over the checked tracks, the conversion of the checked WAV files of the
// file list, and the state of the window while one of them runs.
class ExtractionController : public QObject
{
    Q_OBJECT
public:
    // The window gives its status bar, gauge, dialogs, CD device and commands; the pages are
    // the ones the jobs read and write.
    ExtractionController(QObject *parent, JobWindow &window, CdPage &cd, TagPage &tagPage,
                         const OptionsPage &options);

    // "Convertir en MP3" under the file list of "Tag et noms", and its gauge.
    QPushButton *cmdConvertir;
    QFrame *Shape1;
    QFrame *Shape2;

    // Empties LV2 and lists one row "Piste N" per track of the drive's disc; enables the
    // "CDDB" button when there is at least one.
    void readCdToc(const QString &drive);
    // Rips the checked tracks into each format of `kinds`, all from one reading of the disc.
    void extract(const QList<cd::ExtractionJob::Kind> &kinds);
    void OnSave();

    bool isBusy() const { return m_busy; }

    // Asked before the window closes. Nothing when no job runs; otherwise the user's answer
    // to stopping the job (the job then stops after its current batch and removes the
    // unfinished file).
    std::optional<bool> confirmClose();

private:
    void driveClicked();
    cd::ReplaceAnswer askReplace(const QString &path);
    void showTrackOutcome(const cd::TrackOutcome &outcome, bool mp3);
    bool showProgress(qint64 done, qint64 total);
    // "Piste 3/12 — temps restant : 2 min 05 s" under the track list.
    void showOverallProgress(int track, int tracks, int finished, qint64 elapsedMs);
    void setBusy(bool busy);
    void updateConvertButton();

    JobWindow &m_window;
    CdPage &m_cd;
    TagPage &m_tagPage;
    const OptionsPage &m_options;
    bool m_busy = false;
    bool m_stopRequested = false;
    bool m_indexJustChanged = false;
    QList<QPointer<QWidget>> m_disabled;
};

} // namespace app
