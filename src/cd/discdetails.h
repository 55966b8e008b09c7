#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace cd {

struct CddbDisc;
struct CdToc;

// The names a disc carries in its CD-Text, in the block chosen (French when the disc has it, else
// its first block), already converted from the block's character code.
struct CdText
{
    QString artist; // of the album
    QString album;
    QStringList titles;     // one per track, track 1 first; empty when the disc names none
    QStringList performers; // same
    bool isEmpty() const;
};

// What the disc says about itself beyond its table of contents.
struct DiscDetails
{
    QString catalogue; // the media catalogue number (UPC/EAN), empty when the disc has none
    QStringList isrc;  // per track index, empty texts where a track has none
    // Per track index, the sector where its pre-gap (index 00) starts, -1 when the disc gives
    // none; the pre-gap runs up to the track's start (index 01).
    QList<int> pregapStarts;
    CdText text;
    // The sectors before track 1 (from sector 0), and whether they hold sound: a hidden track.
    int hiddenSectors = 0;
    bool hiddenAudible = false;

    bool hasHiddenTrack() const { return hiddenSectors > 0 && hiddenAudible; }
    // Sectors of the pre-gap of track index k that lie before its start, 0 when none.
    int pregapSectors(int k, const CdToc &toc) const;
};

// Where the Q sub-channel of a sector places it: the disc's track number and the index (0 in a
// pre-gap).
struct SectorPosition
{
    int track = 0;
    int index = 0;
};
using PositionReader = std::function<std::optional<SectorPosition>(int sector)>;

// The first sector of the pre-gap of the track numbered `track`, which starts at sector `start`,
// searched from sector `from` (the start of the track before, or 0): from there on the sub-channel
// already names the track, index 0. -1 when the track has no pre-gap; nothing when the drive
// gives no positions.
std::optional<int> findPregapStart(int from, int start, int track, const PositionReader &position);

// True when 16-bit little-endian samples hold sound rather than silence: a sample beyond the
// faint noise some discs keep in their pauses.
bool isAudible(QByteArrayView pcm);

// The details of the disc in drive (a device path or an image): empty when it cannot be read.
// The area before track 1 is read only until sound is found. With scanPregaps, a drive's pre-gaps,
// which libcdio does not give, are found in the sub-channel of the sectors before each track
// (some fifteen reads a track).
DiscDetails readDiscDetails(const QString &drive, bool scanPregaps = true);

// The disc's CD-Text as an entry of the track list, as a CDDB entry fills it: artist, album, one
// row per track of trackCount ("Piste N" where the text names none; "performer / title" when a
// track's performer is not the album's).
CddbDisc cdTextDisc(const CdText &text, int trackCount);

// "mm:ss:ff" of a number of sectors, as cue sheets write times.
QString cueTime(int sectors);

} // namespace cd
