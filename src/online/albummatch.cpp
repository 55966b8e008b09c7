#include "online/albummatch.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace online {

namespace {

// Letters and digits only, without case or accents: "Jóga (Live)" and "joga live" agree.
QString comparable(const QString &text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.isLetterOrNumber())
            out.append(c.toCaseFolded());
    }
    return out;
}

// The value the most files give, first met on a tie; empty values do not count.
QString mostCommon(const QStringList &values)
{
    QHash<QString, int> counts;
    QString best;
    for (const QString &value : values) {
        if (value.isEmpty())
            continue;
        if (++counts[value] > counts.value(best))
            best = value;
    }
    return best;
}

} // namespace

QList<AlbumGroup> groupAlbums(const QList<IdentFile> &files)
{
    QList<AlbumGroup> groups;
    QHash<QString, qsizetype> byKey;
    for (int i = 0; i < files.size(); ++i) {
        const QFileInfo info(files[i].path);
        const QString folder = info.absolutePath();
        const QString key = folder + u'\n' + comparable(files[i].album);
        qsizetype at = byKey.value(key, -1);
        if (at < 0) {
            at = groups.size();
            byKey.insert(key, at);
            groups.append({folder, {}, {}, {}});
        }
        groups[at].files.append(i);
    }
    for (AlbumGroup &group : groups) {
        QStringList artists, albums;
        for (int i : group.files) {
            const IdentFile &f = files[i];
            artists.append(f.albumArtist.isEmpty() ? f.artist : f.albumArtist);
            albums.append(f.album);
        }
        group.artist = mostCommon(artists);
        group.album = mostCommon(albums);
        if (group.album.isEmpty()) {
            const QString name = QFileInfo(group.folder).fileName();
            const qsizetype dash = name.indexOf(QStringLiteral(" - "));
            group.album = dash < 0 ? name : name.mid(dash + 3).trimmed();
            if (dash > 0 && group.artist.isEmpty())
                group.artist = name.left(dash).trimmed();
        }
    }
    return groups;
}

int trackScore(const IdentFile &file, const ReleaseTrack &track)
{
    if (!track.recordingId.isEmpty() && file.recordingIds.contains(track.recordingId))
        return 100;
    int score = 0;
    if (file.durationMs > 0 && track.lengthMs > 0 &&
        std::abs(file.durationMs - track.lengthMs) <= 3000)
        score += 40;
    const QString a = comparable(file.title), b = comparable(track.title);
    if (!a.isEmpty() && !b.isEmpty()) {
        if (a == b)
            score += 40;
        else if (a.contains(b) || b.contains(a))
            score += 20;
    }
    if (file.track == track.position && (file.disc == 0 || file.disc == track.disc))
        score += 20;
    return score;
}

RankedRelease rankRelease(const QList<IdentFile> &files, const AlbumGroup &group,
                          const ReleaseDetails &release)
{
    RankedRelease ranked{release, 0, {}};
    QList<TrackMatch> pairs;
    for (int f : group.files) {
        for (int t = 0; t < release.tracks.size(); ++t) {
            const int score = trackScore(files[f], release.tracks[t]);
            if (score >= minTrackScore)
                pairs.append({f, t, score});
        }
    }
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const TrackMatch &a, const TrackMatch &b) { return a.score > b.score; });
    QList<bool> fileTaken(files.size()), trackTaken(release.tracks.size());
    int sum = 0;
    for (const TrackMatch &pair : pairs) {
        if (fileTaken[pair.file] || trackTaken[pair.track])
            continue;
        fileTaken[pair.file] = trackTaken[pair.track] = true;
        ranked.matches.append(pair);
        sum += pair.score;
    }
    std::sort(ranked.matches.begin(), ranked.matches.end(),
              [](const TrackMatch &a, const TrackMatch &b) { return a.file < b.file; });
    const qsizetype count = group.files.size(), tracks = release.tracks.size();
    if (count == 0 || tracks == 0)
        return ranked;
    const double matched = 80.0 * sum / (100.0 * double(count));
    const double sized = 20.0 * double(std::min(count, tracks)) / double(std::max(count, tracks));
    ranked.score = int(matched + sized + 0.5);
    return ranked;
}

void sortRanked(QList<RankedRelease> &ranked)
{
    std::stable_sort(
        ranked.begin(), ranked.end(),
        [](const RankedRelease &a, const RankedRelease &b) { return a.score > b.score; });
}

} // namespace online
