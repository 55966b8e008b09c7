// Feeds arbitrary bytes to the CDDB answer parsers, as a hostile server would send them.
#include "cd/cddb.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString answer =
        cd::decodeCddbAnswer(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const cd::CddbQueryAnswer query =
        cd::parseQueryAnswer(answer, QStringLiteral("cddb+query+0200b401+1+150+182"));
    for (const QString &line : query.matches)
        cd::choiceResult(line);
    // The track count follows the input's length, so that every bound is reached.
    const int trackCount = int(size % (cd::maxTrackCount + 2));
    const cd::CddbDisc disc = cd::parseReadAnswer(answer, trackCount);
    if (disc.rows.size() > std::min(trackCount, cd::maxTrackCount))
        __builtin_trap();
    const cd::CddbSites sites = cd::parseSitesAnswer(answer);
    for (const QString &line : sites.text.split(u'\n'))
        cd::serverUrlInLine(line);
    cd::getField(answer, 3, u"=");
    return 0;
}
