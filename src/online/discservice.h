#pragma once

#include "cd/cddb.h"
#include "online/acoustid.h"
#include "online/musicbrainzclient.h"

#include <QString>

namespace online {

// Which service names the disc: MusicBrainz, CDDB, CDDB when MusicBrainz finds nothing, or only
// the disc's own CD-Text (which also names the disc when the services find nothing).
enum class DiscService { MusicBrainz, Cddb, MusicBrainzThenCddb, CdText };

// Everything a lookup needs besides the disc: the service, the addresses, the cover limit, the
// CDDB protocol level and the user's e-mail address (the contact the services ask for).
struct LookupSettings
{
    DiscService service = DiscService::MusicBrainzThenCddb;
    QString musicBrainzUrl = musicBrainzDefaultServerUrl();
    QString coverUrl = coverArtDefaultServerUrl();
    qint64 coverMaxBytes = coverDefaultMaxBytes;
    int cddbProtocol = cd::cddbDefaultProtocol;
    QString email;
    // The identification of files by their fingerprints.
    QString acoustIdUrl = acoustIdDefaultServerUrl();
    QString acoustIdKey;
};

inline bool asksMusicBrainz(DiscService service)
{
    return service == DiscService::MusicBrainz || service == DiscService::MusicBrainzThenCddb;
}

// CDDB is asked after MusicBrainz only when MusicBrainz gave no release.
inline bool asksCddbAfter(DiscService service, MusicBrainzReply::Kind musicBrainz)
{
    return service == DiscService::Cddb ||
           (service == DiscService::MusicBrainzThenCddb && musicBrainz != MusicBrainzReply::Found);
}

} // namespace online
