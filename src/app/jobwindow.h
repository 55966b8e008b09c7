#pragma once

#include "app/dialogs.h"

#include <QList>
#include <QString>

class QWidget;

namespace app {

// What the CD extraction and WAV conversion use of the window around the pages they work on.
class JobWindow
{
public:
    // A message box over the window, with the product name as its title.
    virtual void inform(const QString &text, Dialogs::Icon icon) = 0;
    virtual Dialogs::Replace askReplace(const QString &question) = 0;
    virtual bool confirm(const QString &question, const QString &title) = 0;
    // Status bar SB1: panel 1 takes passing texts.
    virtual void setStatusPanel(int panel, const QString &text) = 0;
    // The gauge of the status bar and its total (shown when `done` is 0); emptied at the end.
    virtual void showJobProgress(qint64 done, qint64 total) = 0;
    virtual void clearJobProgress() = 0;
    // The file a job wrote last (Txt_Chemin).
    virtual void setJobFile(const QString &path) = 0;
    // Stops the CD device before a job reads the disc.
    virtual void stopCdDevice() = 0;
    // Opens the drive's tray once a job is done (nothing for a disc image).
    virtual void ejectCdDevice() = 0;
    // The "CDDB" command, usable while the track list has rows.
    virtual void setCddbAvailable(bool available) = 0;
    // The window's commands and tab strips, off while a job runs.
    virtual QList<QWidget *> jobCommands() const = 0;

protected:
    ~JobWindow() = default;
};

} // namespace app
