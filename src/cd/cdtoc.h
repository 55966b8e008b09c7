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

// Sectors between the last track of a session and the first of the next: the session's
// lead-out (6750), the next one's lead-in (4500) and the pregap of its first track (150).
inline constexpr int enhancedCdGap = 11400;

// Table of contents as the drive reports it: the first and last track numbers, then the start
// address of every track followed by the lead-out address (lastTrack - firstTrack + 2 entries).
struct CdToc
{
    int firstTrack = 0;
    int lastTrack = 0;
    QList<Msf> starts;
    // The tracks (0-based indexes) that hold data rather than audio: the last one of an
    // enhanced CD, the first one of a mixed-mode CD.
    QList<int> dataTracks = {};
    // The sector where the disc's last session starts when it has several (an enhanced CD's data
    // session); 0 for a disc of one session, as every image is.
    int lastSessionStart = 0;

    int trackCount() const { return lastTrack >= firstTrack ? lastTrack - firstTrack + 1 : 0; }
    bool isDataTrack(int k) const { return dataTracks.contains(k); }
    bool lastTrackIsData() const { return isDataTrack(trackCount() - 1); }
    // The tracks the track list shows: all but the data track that ends an enhanced CD.
    int audioTrackCount() const
    {
        return lastTrackIsData() && trackCount() > 1 ? trackCount() - 1 : trackCount();
    }
    // Sectors of track index k (0-based): [start, end). A track that ends a session ends
    // before the gap that leads to the next one.
    int trackStart(int k) const { return sectorOf(k); }
    int trackEnd(int k) const
    {
        const int next = sectorOf(k + 1);
        return sectorOf(k) < lastSessionStart && next >= lastSessionStart
                   ? lastSessionStart - enhancedCdGap
                   : next;
    }
    // The lead-out: the end of the disc.
    int leadOut() const { return sectorOf(trackCount()); }

private:
    int sectorOf(int k) const
    {
        const Msf &a = starts.at(k);
        return msfToSector(a.minute, a.second, a.frame);
    }
};

} // namespace cd
