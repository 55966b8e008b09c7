#pragma once

#include "online/musicbrainzrelease.h"

#include <QList>
#include <QString>
#include <QStringList>

// Which release a folder of MP3 files is, and which track each file: files grouped into
// albums, and a readable score between a group and a release. Pure functions of plain values.
namespace online {

// What identifies one file: its tags, its length, and what its fingerprint found.
struct IdentFile
{
    QString path;
    QString title, artist, album, albumArtist;
    int track = 0; // 0 when the tag gives none
    int disc = 0;
    qint64 durationMs = 0;
    // What AcoustID answered for the file's fingerprint (empty when it was not asked).
    QString acoustId;
    QStringList recordingIds;
    QStringList releaseIds;
};

// Files of one folder that make one album: the same album tag, or every file without an album
// tag. The artist and album are the ones a search uses: the tags the most files share, or
// else what the folder's name gives ("Artiste - Album", or the album alone).
struct AlbumGroup
{
    QString folder;
    QString artist;
    QString album;
    QList<int> files; // indices in the list given to groupAlbums, in order
};

QList<AlbumGroup> groupAlbums(const QList<IdentFile> &files);

// How well a file fits a track, from 0 to 100: the recording its fingerprint found is the
// track's (100); otherwise the length within 3 s (40), the title (40 the same, 20 one inside
// the other, letters and digits compared without case or accents), the track number and disc
// (20).
int trackScore(const IdentFile &file, const ReleaseTrack &track);

struct TrackMatch
{
    int file;  // index in the list given to groupAlbums
    int track; // index in ReleaseDetails::tracks
    int score; // trackScore
};

// A release scored against a group, from 0 to 100: 80 for the matches (the sum of their
// scores over 100 per file) and 20 for the track count (files / tracks, the smaller over the
// larger).
struct RankedRelease
{
    ReleaseDetails release;
    int score = 0;
    QList<TrackMatch> matches; // in the order of the group's files
};

// The lowest score a file and a track need to be matched: a length alone, or a title alone.
inline constexpr int minTrackScore = 40;

// Matches the group's files to the release's tracks, best pairs first, each file and each track
// at most once, and scores the release.
RankedRelease rankRelease(const QList<IdentFile> &files, const AlbumGroup &group,
                          const ReleaseDetails &release);

// Best first; equal scores keep their order.
void sortRanked(QList<RankedRelease> &ranked);

} // namespace online
