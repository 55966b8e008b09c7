#pragma once

#include "cd/accuraterip.h"

#include <QString>

namespace cd {

class HttpFetch;

// The address of the AccurateRip database, below which each disc's entry lies.
QString accurateRipDefaultUrl();

// What the database answered for a disc.
struct AccurateRipLookup
{
    enum State {
        Found,       // the entry came and was read
        Unknown,     // the database has no entry for the disc
        Unreachable, // no answer, or an answer that is not an entry (malformed, too large)
    };
    State state = Unreachable;
    QList<AccurateRipPressing> pressings;

    // The verdict for one track; "non vérifié" when the database could not be read.
    AccurateRipVerdict verdict(const AccurateRipDiscId &disc, int track, quint32 v1,
                               quint32 v2) const;
};

// Fetches the entry of a disc from the database at databaseUrl through fetch (its timeout
// applies; the body is limited to the size of an entry).
AccurateRipLookup lookUpAccurateRip(HttpFetch &fetch, const QString &databaseUrl,
                                    const AccurateRipDiscId &disc);

} // namespace cd
