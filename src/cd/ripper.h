#pragma once

#include "cd/flacstream.h"
#include "cd/lamestream.h"
#include "cd/outputfile.h"

#include <QString>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace cd {

// Sectors read per device request: the unit of reading, progress and event processing.
inline constexpr int batchSectors = 27;

enum class RipStatus {
    Ok,
    DeviceUnavailable, // the drive or image cannot be opened
    TocUnreadable,     // no disc, drive not ready
    BadTrackIndex,     // the track index lies beyond the disc's tracks
    DataTrack,         // the track holds data, not audio
    BeyondDisc,        // the track runs past the end of the disc (an image cut short)
    EncoderFailed,
    WriteFailed,
    Cancelled,
};

// The track index of the sound some discs hide before track 1 (in its pre-gap, from sector 0).
inline constexpr int hiddenTrackIndex = -1;

// The largest read offset correction accepted, in samples (drives stay far below).
inline constexpr int maxOffsetSamples = 10 * 588;

// How a track is read.
struct RipOptions
{
    // Through cdparanoia (re-reads, jitter correction) rather than plain batch reads.
    bool secure = false;
    // The drive's read offset correction in samples: positive reads that many stereo samples
    // later on the disc, negative earlier. Samples outside the disc are silence.
    int offsetSamples = 0;
    // Given each batch of samples (16-bit little-endian stereo) once read, in order: what a
    // measure of the audio needs, without reading it again.
    std::function<void(const char *pcm, int bytes)> samplesRead = {};
};

struct RipResult
{
    RipStatus status = RipStatus::Ok;
    int unreadableSectors = 0; // sectors given up (silence) or not read exactly
    int rereadSectors = 0;     // sectors that needed more than one read (secure mode)
    bool secure = false;       // the track was read through cdparanoia
    quint32 crc32 = 0;         // of the audio bytes written (or encoded)
    quint32 accurateRipV1 = 0;
    quint32 accurateRipV2 = 0;
    QString detail; // French description of a write failure (naming the file) or of a track
                    // that cannot be read as audio (naming the track)

    bool ok() const { return status == RipStatus::Ok; }
};

// Called once before the first batch (done = 0) and after every batch, with the sectors done
// and the track's length in sectors. Returning false stops the rip after that batch: the
// unfinished file is discarded and the result is Cancelled. The window processes its pending
// events here.
using RipProgress = std::function<bool(qint64 done, qint64 total)>;

// Copies track trackIndex (0-based position in the table of contents, or hiddenTrackIndex) of
// drive, a device path or a disc image, into a WAV file: a 44-byte header and the track's raw
// samples. The file gets its name only once complete (see OutputFile); on failure nothing is left
// behind.
RipResult ripTrackToWav(const QString &drive, int trackIndex, const QString &fileName,
                        Overwrite overwrite = Overwrite::Refuse, const RipProgress &progress = {},
                        const RipOptions &options = {});

// Reads the same batches and encodes them into an MP3 file (by default 128 kbit/s CBR stereo,
// no tag). beforeNaming runs on the complete file before it gets its name (to tag it), and its
// failure is the rip's.
RipResult ripTrackToMp3(const QString &drive, int trackIndex, const QString &fileName,
                        Overwrite overwrite = Overwrite::Refuse, const RipProgress &progress = {},
                        const RipOptions &options = {},
                        const EncoderConfig &encoder = cdTrackEncoderConfig(),
                        const BeforeNaming &beforeNaming = {});

// What a track becomes.
enum class AudioFormat { Wav, Mp3, Flac };

// One file a track is written into.
struct TrackOutput
{
    QString fileName;
    Overwrite overwrite = Overwrite::Refuse;
    AudioFormat format = AudioFormat::Wav;
    EncoderConfig mp3 = cdTrackEncoderConfig();
    FlacConfig flac = {}; // its totalFrames is the track's
    BeforeNaming beforeNaming = {};
};

// Reads the track once and writes it into every output: one result per output, in their order,
// each with the checksums of the samples read. An output that fails does not stop the others.
std::vector<RipResult> ripTrackToFiles(const QString &drive, int trackIndex,
                                       const QList<TrackOutput> &outputs,
                                       const RipProgress &progress = {},
                                       const RipOptions &options = {});

// A rip whose reading is done and whose writers may still be at work.
struct PendingRip
{
    RipResult read;                              // the reading's, with the checksums
    std::vector<std::future<RipResult>> written; // one per output; none when nothing was read
};

// A track read a batch at a time on the calling thread and handed to one writer thread per
// output through a queue of a few megabytes, so that the encoders work while the disc is read.
// A caller may take turns between two tracks, reading the next one while the writers of the
// first are behind. A writer stops, leaving no file, when the reading is cancelled (or left
// unfinished) or *cancel is set.
class TrackRip
{
public:
    // Opens the drive and the outputs; when the track cannot be read, or no output opened,
    // reading() is false at once and finish() tells why.
    TrackRip(const QString &drive, int trackIndex, const QList<TrackOutput> &outputs,
             const RipOptions &options = {}, const std::atomic_bool *cancel = nullptr);
    ~TrackRip();
    TrackRip(const TrackRip &) = delete;
    TrackRip &operator=(const TrackRip &) = delete;

    bool reading() const; // batches are left to read
    bool hasRoom() const; // every writer can take the next batch without waiting
    qint64 done() const;  // sectors read
    qint64 total() const; // the track's sectors
    // Reads the next batch and hands it over, waiting for room.
    void readBatch();
    void cancel();
    // The reading's result and the writers, once reading() is false (else it cancels).
    PendingRip finish();

private:
    struct State;
    std::unique_ptr<State> m;
};

// Reads the whole track with a TrackRip, calling progress after every batch.
PendingRip startTrackRip(const QString &drive, int trackIndex, const QList<TrackOutput> &outputs,
                         const RipProgress &progress = {}, const RipOptions &options = {},
                         const std::atomic_bool *cancel = nullptr);

// The French message the user sees for a failed rip, or an empty text for a failure that is
// reported only by the row's mark.
QString ripErrorMessage(const RipResult &result);

} // namespace cd
