#pragma once

#include "cd/accuraterip.h"

#include <QString>

#include <optional>

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

// The AccurateRip identifiers of the disc in a drive and what the database holds for it.
struct DiscCheck
{
    std::optional<CdToc> toc;
    std::optional<AccurateRipDiscId> id;
    AccurateRipLookup lookup;

    // "non vérifié" when the disc or the database could not be read.
    AccurateRipVerdict verdict(int track, quint32 v1, quint32 v2) const
    {
        return id ? lookup.verdict(*id, track, v1, v2) : AccurateRipVerdict{};
    }
};

// Reads the table of contents of drive and fetches its entry from the database at url (waiting
// at most ten seconds, the event loop running meanwhile).
DiscCheck checkDisc(const QString &drive, const QString &url);

} // namespace cd
