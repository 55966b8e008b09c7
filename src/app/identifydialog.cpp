#include "app/identifydialog.h"

#include "app/widgets.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

namespace {

// Where a row keeps what it stands for: the group, the release in the group, the match in the
// release.
constexpr int GroupRole = Qt::UserRole;
constexpr int ReleaseRole = Qt::UserRole + 1;
constexpr int MatchRole = Qt::UserRole + 2;

QString releaseLine(const online::RankedRelease &ranked)
{
    const online::ReleaseDetails &r = ranked.release;
    QStringList details;
    for (const QString &part : {r.date, r.country, r.label}) {
        if (!part.isEmpty())
            details.append(part);
    }
    return IdentifyDialog::tr("%1 - %2 (%3), %4/%5 pistes")
        .arg(r.artist, r.title, details.join(QStringLiteral(", ")))
        .arg(ranked.matches.size())
        .arg(r.tracks.size());
}

// A file's values as a row shows them: "3. Title — Artist — Album".
QString valuesLine(int track, const QString &title, const QString &artist, const QString &album)
{
    QStringList parts;
    for (const QString &part : {title, artist, album}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    const QString text = parts.join(QStringLiteral(" — "));
    return track > 0 ? QStringLiteral("%1. %2").arg(track).arg(text) : text;
}

} // namespace

IdentifyDialog::IdentifyDialog(const online::Identification &identification, QWidget *parent)
    : QDialog(parent), m_identification(identification)
{
    setWindowTitle(tr("Identifier en ligne"));
    arbreEditions = named<QTreeWidget>(this, "arbreEditions");
    arbreEditions->setAccessibleName(tr("Éditions trouvées"));
    arbreEditions->setHeaderLabels(
        {tr("Édition ou fichier"), tr("Valeurs actuelles"), tr("Nouvelles valeurs"), tr("Score")});
    for (qsizetype g = 0; g < identification.albums.size(); ++g) {
        const online::AlbumIdentification &album = identification.albums[g];
        auto *group = new QTreeWidgetItem(arbreEditions);
        group->setText(0, QStringLiteral("%1 — %2").arg(QFileInfo(album.group.folder).fileName(),
                                                        album.group.album));
        group->setText(1, album.failures.join(u' '));
        group->setExpanded(true);
        for (qsizetype r = 0; r < album.releases.size(); ++r) {
            const online::RankedRelease &ranked = album.releases[r];
            auto *release = new QTreeWidgetItem(group);
            release->setText(0, releaseLine(ranked));
            release->setText(3, QString::number(ranked.score));
            release->setData(0, GroupRole, int(g));
            release->setData(0, ReleaseRole, int(r));
            release->setCheckState(0, r == 0 ? Qt::Checked : Qt::Unchecked);
            for (qsizetype m = 0; m < ranked.matches.size(); ++m) {
                const online::TrackMatch &match = ranked.matches[m];
                const online::IdentFile &file = identification.files[match.file];
                const online::ReleaseTrack &track = ranked.release.tracks[match.track];
                auto *row = new QTreeWidgetItem(release);
                row->setText(0, QFileInfo(file.path).fileName());
                row->setText(1, valuesLine(file.track, file.title, file.artist, file.album));
                row->setText(
                    2, valuesLine(track.position, track.title,
                                  track.artist.isEmpty() ? ranked.release.artist : track.artist,
                                  ranked.release.title));
                row->setText(3, QString::number(match.score));
                row->setData(0, MatchRole, int(m));
                row->setCheckState(0, Qt::Checked);
            }
        }
    }
    // Every column as wide as its texts: the values before and after are read side by side.
    arbreEditions->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(arbreEditions, &QTreeWidget::itemChanged, this, &IdentifyDialog::releaseTicked);

    chkPochette = named<QCheckBox>(this, "chkPochette",
                                   tr("Ajouter la &pochette de l'édition (Cover Art Archive)"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *apply = buttons->addButton(tr("Appliquer"), QDialogButtonBox::AcceptRole);
    apply->setObjectName(QStringLiteral("cmdAppliquer"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(arbreEditions);
    layout->addWidget(chkPochette);
    layout->addWidget(buttons);
    resize(900, 500);
}

void IdentifyDialog::releaseTicked(QTreeWidgetItem *item)
{
    if (!item->data(0, ReleaseRole).isValid() || item->checkState(0) != Qt::Checked)
        return;
    const QSignalBlocker blocker(arbreEditions);
    QTreeWidgetItem *group = item->parent();
    for (int i = 0; i < group->childCount(); ++i) {
        if (group->child(i) != item)
            group->child(i)->setCheckState(0, Qt::Unchecked);
    }
}

QList<IdentifyDialog::Choice> IdentifyDialog::chosenReleases() const
{
    QList<Choice> chosen;
    for (int g = 0; g < arbreEditions->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = arbreEditions->topLevelItem(g);
        for (int r = 0; r < group->childCount(); ++r) {
            QTreeWidgetItem *release = group->child(r);
            if (release->checkState(0) != Qt::Checked)
                continue;
            const online::RankedRelease &ranked =
                m_identification.albums[release->data(0, GroupRole).toInt()]
                    .releases[release->data(0, ReleaseRole).toInt()];
            const QList<tags::BatchItem> edits = online::releaseEdits(m_identification, ranked);
            Choice choice{ranked.release.id, {}};
            for (int m = 0; m < release->childCount(); ++m) {
                QTreeWidgetItem *row = release->child(m);
                if (row->checkState(0) == Qt::Checked)
                    choice.edits.append(edits[row->data(0, MatchRole).toInt()]);
            }
            if (!choice.edits.isEmpty())
                chosen.append(choice);
        }
    }
    return chosen;
}

} // namespace app
