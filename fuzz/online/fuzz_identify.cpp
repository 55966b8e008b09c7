// Feeds arbitrary bytes to the readers of MusicBrainz release answers and AcoustID answers, as a
// hostile server would send them, then ranks the release read against a small album.
#include "online/acoustid.h"
#include "online/albummatch.h"
#include "online/musicbrainzrelease.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList ids;
    online::parseReleaseSearch(bytes, &ids);
    online::AcoustIdMatch match;
    QString failure;
    online::parseAcoustIdAnswer(bytes, &match, &failure);
    const online::ReleaseDetails release = online::parseReleaseLookup(bytes);
    if (release.tracks.size() > online::maxReleaseTracks)
        __builtin_trap();
    QList<online::IdentFile> files{
        {QStringLiteral("/a/1.mp3"),
         QStringLiteral("Intro"),
         {},
         {},
         {},
         1,
         0,
         60000,
         {},
         match.recordingIds,
         {}},
        {QStringLiteral("/a/2.mp3"), {}, {}, {}, {}, 2, 1, 0, {}, {}, {}}};
    const QList<online::AlbumGroup> groups = online::groupAlbums(files);
    const online::RankedRelease ranked = online::rankRelease(files, groups.first(), release);
    if (ranked.score < 0 || ranked.score > 100 || ranked.matches.size() > files.size())
        __builtin_trap();
    return 0;
}
