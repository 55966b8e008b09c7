#pragma once

#include "cd/cdtoc.h"

#include <QString>

#include <optional>

namespace online {

// How MusicBrainz knows a disc: its 28-character identifier and the address where a disc it
// does not know yet is submitted.
struct MusicBrainzDisc
{
    QString id;
    QString submissionUrl;
};

// Computed from the table of contents, so that disc images are identified like drives. The
// data track that ends an enhanced CD is left out, and the audio then ends 11400 sectors
// before it (the gap between the two sessions). Nothing for a table no disc can have.
std::optional<MusicBrainzDisc> musicBrainzDisc(const cd::CdToc &toc);

} // namespace online
