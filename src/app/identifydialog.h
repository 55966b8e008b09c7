#pragma once

#include "online/identify.h"
#include "tags/tagbatch.h"

#include <QDialog>

class QCheckBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace app {

// "Identifier en ligne": each album group with its releases, best first (artist, title, date,
// country, label, tracks matched out of the release's, score); the release ticked is the one
// written, the first one at the start. Unfolding a release shows a row per file matched, its
// track, title, artist and album now and those the release gives, each row ticked and
// untickable. Nothing is written
// here: "Appliquer" closes the dialog, and the caller saves what chosenReleases() gives.
class IdentifyDialog : public QDialog
{
    Q_OBJECT
public:
    IdentifyDialog(const online::Identification &identification, QWidget *parent = nullptr);

    QTreeWidget *arbreEditions;
    QCheckBox *chkPochette; // the releases' front covers are written too

    // A release ticked, with the edits of the files ticked under it.
    struct Choice
    {
        QString releaseId;
        QList<tags::BatchItem> edits;
    };
    // The release ticked in each group.
    QList<Choice> chosenReleases() const;

private:
    // Keeps one release ticked at most in each group.
    void releaseTicked(QTreeWidgetItem *item);

    const online::Identification &m_identification;
};

} // namespace app
