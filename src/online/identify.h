#pragma once

#include "online/acoustid.h"
#include "online/albummatch.h"
#include "online/musicbrainz.h"
#include "online/musicbrainzclient.h"
#include "tags/tagbatch.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace cd {
class HttpFetch;
}

// Identifying MP3 files already on disk: each album group is searched on MusicBrainz by what its
// tags and folder give; a group the search cannot place is fingerprinted and looked up on
// AcoustID, and the releases found there are ranked the same way.
namespace online {

struct IdentifySettings
{
    QString musicBrainzUrl = musicBrainzDefaultServerUrl();
    QString acoustIdUrl = acoustIdDefaultServerUrl();
    QString acoustIdKey;
    QString email;        // the contact MusicBrainz asks for, in the User-Agent
    int searchLimit = 5;  // releases of a search fetched whole
    int placedScore = 70; // a group whose best release scores less is fingerprinted
    QString cachePath;    // of the fingerprints; empty for the user's cache folder
    // Set (from any thread) to stop before the next request or fingerprint; may be null.
    const std::atomic_bool *cancel = nullptr;
};

struct AlbumIdentification
{
    AlbumGroup group;
    QList<RankedRelease> releases; // best first
    bool fingerprinted = false;
    QStringList failures; // French: no network, service busy, nothing found...
};

struct Identification
{
    QList<IdentFile> files;
    QList<AlbumIdentification> albums;
    bool cancelled = false; // stopped through IdentifySettings::cancel: the albums are partial
};

// The tags and length of each file (ID3v2, else ID3v1).
QList<IdentFile> readIdentFiles(const QStringList &paths);

// `progress` receives French texts of the step under way; it may be empty.
Identification identifyFiles(const QStringList &paths, const IdentifySettings &settings,
                             cd::HttpFetch &fetch,
                             const std::function<void(const QString &)> &progress = {});

// The edits that write a release into the files it matched: title, artist, album, album
// artist, year, track "n/total", disc "n/total", genre (of the release group, when it has
// one) and the MusicBrainz and AcoustID identifiers. Only the values the release gives.
QList<tags::BatchItem> releaseEdits(const Identification &identification,
                                    const RankedRelease &release);

// Adds the release's front cover, fetched from the Cover Art Archive at coverServerUrl, to the
// edits of its files. The French reason when there is none to add; the edits then stay as
// they are.
QString addFrontCover(QList<tags::BatchItem> &edits, const QString &releaseId, cd::HttpFetch &fetch,
                      const QString &coverServerUrl = coverArtDefaultServerUrl(),
                      qint64 maxBytes = coverDefaultMaxBytes);

} // namespace online
