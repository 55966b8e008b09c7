#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// The release search and the release lookup of the MusicBrainz web service: their addresses and
// the reading of their JSON answers. A field of the wrong type reads as absent.
namespace online {

// One track of a release, with what a tag takes from it.
struct ReleaseTrack
{
    int disc = 1;       // the medium's position, from 1
    int position = 0;   // on its medium, from 1
    int discTracks = 0; // tracks on its medium
    QString title;
    QString artist;
    QString artistId; // of the first credited artist
    QString recordingId;
    qint64 lengthMs = 0; // 0 when unknown
};

// A release with its tracks, as the release lookup gives it.
struct ReleaseDetails
{
    QString id;
    QString title;
    QString artist;
    QString artistId; // of the first credited artist
    QString date;
    QString country;
    QString label;
    QString releaseGroupId;
    QString genre; // of the release group, empty when it has none
    int discCount = 0;
    QList<ReleaseTrack> tracks; // every medium, in order

    QString year() const { return date.left(4); }
};

// serverUrl + "/ws/2/release?query=...&limit=N&fmt=json": the releases whose title and artist
// are the ones given (either may be empty, not both); the track count raises the score of the
// releases that have it.
QUrl releaseSearchUrl(const QString &serverUrl, const QString &artist, const QString &album,
                      int trackCount, int limit);
// serverUrl + "/ws/2/release/<id>?inc=recordings+artist-credits+release-groups+labels&fmt=json".
QUrl releaseLookupUrl(const QString &serverUrl, const QString &releaseId);

// The release ids of a search answer, best first; false when the body is not a search answer.
bool parseReleaseSearch(QByteArrayView json, QStringList *ids);
// The release of a lookup answer; an id left empty when the body is not a release.
ReleaseDetails parseReleaseLookup(QByteArrayView json);

// Most tracks read from one release: a boxed set is bounded, a hostile answer too.
inline constexpr int maxReleaseTracks = 500;

} // namespace online
