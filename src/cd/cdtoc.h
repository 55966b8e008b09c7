#pragma once

#include <QList>

namespace cd {

// A CD address in minutes, seconds and frames (75 frames a second), lead-in included.
struct Msf
{
    int minute = 0;
    int second = 0;
    int frame = 0;
};

// Sector number of an MSF address: the 150 frames of the lead-in come off.
constexpr int msfToSector(int minute, int second, int frame)
{
    return minute * 4500 + second * 75 + frame - 150;
}

// Sectors between the end of an enhanced CD's audio session and the start of its data track.
inline constexpr int enhancedCdGap = 11400;

// Table of contents as the drive reports it: the first and last track numbers, then the start
// address of every track followed by the lead-out address (lastTrack - firstTrack + 2 entries).
struct CdToc
{
    int firstTrack = 0;
    int lastTrack = 0;
    QList<Msf> starts;
    // The last track holds data, as on an enhanced CD (audio session, then a data session).
    bool lastTrackIsData = false;

    int trackCount() const { return lastTrack >= firstTrack ? lastTrack - firstTrack + 1 : 0; }
    // The tracks that hold audio: all but the data track that ends an enhanced CD.
    int audioTrackCount() const
    {
        return lastTrackIsData && trackCount() > 1 ? trackCount() - 1 : trackCount();
    }
    // Sectors of track index k (0-based): [start, end). The last audio track of an enhanced CD
    // ends with its session, the gap before the data track.
    int trackStart(int k) const { return sectorOf(k); }
    int trackEnd(int k) const
    {
        return sectorOf(k + 1) -
               (k + 1 == audioTrackCount() && k + 1 < trackCount() ? enhancedCdGap : 0);
    }

private:
    int sectorOf(int k) const
    {
        const Msf &a = starts.at(k);
        return msfToSector(a.minute, a.second, a.frame);
    }
};

} // namespace cd
