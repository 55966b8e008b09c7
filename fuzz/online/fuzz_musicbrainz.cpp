// Feeds arbitrary bytes to the reader of MusicBrainz disc-id answers, as a hostile server would
// send them.
#include "cd/cddb.h"
#include "online/musicbrainz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const online::ReleaseList list = online::parseDiscIdAnswer(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)),
        QStringLiteral("ID"));
    for (const online::Release &release : list.releases) {
        release.pickerLine();
        if (online::discOfRelease(release).rows.size() > cd::maxTrackCount)
            __builtin_trap();
    }
    return 0;
}
