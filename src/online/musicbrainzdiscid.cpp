#include "online/musicbrainzdiscid.h"

#include <discid/discid.h>

#include <memory>

namespace online {

namespace {

int framesOf(const cd::Msf &a)
{
    return a.minute * 4500 + a.second * 75 + a.frame;
}

} // namespace

std::optional<MusicBrainzDisc> musicBrainzDisc(const cd::CdToc &toc)
{
    if (toc.firstTrack < 1 || toc.lastTrack > 99 || toc.trackCount() < 1 ||
        toc.starts.size() != toc.trackCount() + 1)
        return std::nullopt;
    int last = toc.lastTrack;
    int leadOut = framesOf(toc.starts.last());
    if (toc.lastTrackIsData() && toc.trackCount() > 1) {
        --last;
        leadOut = framesOf(toc.starts.at(toc.trackCount() - 1)) - cd::enhancedCdGap;
    }
    // libdiscid takes the lead-out first, then the start of each track by its number.
    int offsets[100] = {};
    offsets[0] = leadOut;
    for (int t = toc.firstTrack; t <= last; ++t)
        offsets[t] = framesOf(toc.starts.at(t - toc.firstTrack));

    const std::unique_ptr<DiscId, void (*)(DiscId *)> disc(discid_new(), discid_free);
    if (!disc || !discid_put(disc.get(), toc.firstTrack, last, offsets))
        return std::nullopt;
    return MusicBrainzDisc{QString::fromLatin1(discid_get_id(disc.get())),
                           QString::fromLatin1(discid_get_submission_url(disc.get()))};
}

} // namespace online
