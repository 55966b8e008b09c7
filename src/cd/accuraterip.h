#pragma once

#include "cd/cdtoc.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace cd {

// Stereo sample frames in one CD sector.
inline constexpr int sectorFrames = 588;

// The checksums of one extracted track, fed with its samples in order: the CRC32 of the audio
// bytes and the AccurateRip v1 and v2 sums. AccurateRip leaves out the first five sectors of
// the disc's first track (but one frame) and the last five of its last track, where drives
// with different read offsets disagree.
class TrackChecksums
{
public:
    TrackChecksums(qint64 trackFrames, bool firstTrack, bool lastTrack);

    // Adds the next bytes of 16-bit stereo audio; a frame may straddle two calls.
    void add(const char *pcm, qint64 bytes);

    quint32 crc32() const { return m_crc; }
    quint32 accurateRipV1() const { return m_v1; }
    quint32 accurateRipV2() const { return m_v1 + m_v2High; }

private:
    void addFrames(const char *pcm, qint64 frames);

    quint64 m_from;
    quint64 m_to;
    quint64 m_position = 1; // the multiplier of the next frame
    quint32 m_v1 = 0;
    quint32 m_v2High = 0;
    quint32 m_crc = 0;
    unsigned char m_partial[4] = {};
    int m_partialBytes = 0;
};

// The identifiers under which the AccurateRip database files a disc.
struct AccurateRipDiscId
{
    int trackCount = 0;
    quint32 id1 = 0;
    quint32 id2 = 0;
    quint32 cddbId = 0;

    // "dBAR-010-00154c2f-00af4fd4-890e120a"
    QString name() const;
    // The entry's path below the database address: "f/2/c/dBAR-....bin".
    QString entryPath() const;
};

// Nothing when the table of contents describes no disc.
std::optional<AccurateRipDiscId> accurateRipDiscId(const CdToc &toc);

// One pressing in a database entry: the disc's identifiers and, per track, how many rips
// agreed and their checksum.
struct AccurateRipPressing
{
    AccurateRipDiscId disc;
    struct Track
    {
        int confidence = 0;
        quint32 crc = 0;
    };
    QList<Track> tracks;
};

// Entries larger than this are refused: a disc has at most 99 tracks and few pressings.
inline constexpr qint64 accurateRipMaxEntryBytes = 64 * 1024;

// Parses a database entry: pressings one after the other, each a track count, the three
// identifiers and nine bytes per track (confidence, checksum, offset checksum), little-endian.
// Nothing when the bytes end inside a pressing, hold none, or are too large.
std::optional<QList<AccurateRipPressing>> parseAccurateRipEntry(QByteArrayView bytes);

enum class AccurateRipResult { Exact, Different, Unknown, NotChecked };

struct AccurateRipVerdict
{
    AccurateRipResult result = AccurateRipResult::NotChecked;
    int confidence = 0; // the highest confidence among the pressings that match
};

// What the database says about a track (numbered from 1): exact when a pressing of this disc
// holds its v1 or v2 checksum, different when none does.
AccurateRipVerdict accurateRipVerdict(const QList<AccurateRipPressing> &pressings,
                                      const AccurateRipDiscId &disc, int track, quint32 v1,
                                      quint32 v2);

// "exact", "différent", "inconnu" or "non vérifié".
QString accurateRipWord(AccurateRipResult result);
// "AccurateRip : exact (confiance N)", "AccurateRip : différent", "AccurateRip : disque
// inconnu" or "AccurateRip : non vérifié".
QString accurateRipText(const AccurateRipVerdict &verdict);

// Eight lowercase hexadecimal digits.
QString hex8(quint32 value);

} // namespace cd
