#pragma once

#include "app/tagwindow.h"

#include <QObject>
#include <QStringList>

class QWidget;

namespace app {

class Dialogs;
class OptionsPage;
class TagPage;

// "Calculer le ReplayGain" and "Effacer le ReplayGain" for the files selected in LV1.
class GainCommands : public QObject
{
    Q_OBJECT
public:
    GainCommands(QWidget *owner, TagWindow &window, TagPage &page, const OptionsPage &options,
                 Dialogs &dialogs);

    // Measures the selected files on every core, away from the window's thread with the
    // progress in the status bar and "Annuler"; the files of one folder with the same album
    // tag make an album. The loudness, gains and peak of each file are shown before anything
    // is written; on OK they are written (as RVA2 frames too when the options say so), as one
    // step to undo.
    void calculeGain();
    // Removes the ReplayGain texts from the selected files, after a confirmation; one step to
    // undo.
    void effaceGain();

private:
    QStringList selectedFiles() const;
    // Saves the items away from the window's thread and records them for undoing under `label`;
    // the failures are named in one message.
    void save(const QList<tags::BatchItem> &items, const QString &label);

    QWidget *m_owner;
    TagWindow &m_window;
    TagPage &m_page;
    const OptionsPage &m_options;
    Dialogs &m_dialogs;
};

} // namespace app
