#pragma once

#include "gain/loudnessmeter.h"
#include "tags/frameedits.h"
#include "tags/usertexts.h"

#include <QList>
#include <QString>

#include <optional>

namespace gain {

// ReplayGain 2.0: the gain that brings a loudness to -18 LUFS.
constexpr double referenceLufs = -18.0;
double replayGain(double lufs);

// What a file's ReplayGain texts hold.
struct GainOptions
{
    bool samplePeak = false; // the peak texts give the sample peak instead of the true peak
    bool reference = false;  // also REPLAYGAIN_REFERENCE_LOUDNESS
    bool rva2 = false;       // also the RVA2 frames "track" and "album"
};

// Padding that holds the ReplayGain texts (reference included) and RVA2 frames of a track and
// its album, in any text encoding, with room to spare: a tag written with it before they are
// measured takes them in place.
inline constexpr qint64 replayGainRoom = 1024;

// "-6.48 dB", "0.988553" and "-18.00 LUFS", written with a full stop whatever the locale.
QString gainText(double lufs);
QString peakText(double peak);
QString referenceText();

// The TXXX texts of a measured file: the track values, and the album's when it has one. A
// loudness that could not be measured (silence) gives no text for its gain and peak.
QList<tags::UserText> replayGainTexts(const Loudness &track, const std::optional<Loudness> &album,
                                      const GainOptions &options = {});
// The body of an RVA2 frame that adjusts the master volume by `gain` dB (in 1/512 dB, within
// ±64 dB) and gives its peak in 16 bits (1.0 is 32768, at most 65535).
QByteArray rva2Body(const QString &identification, double gain, double peak);
// The RVA2 frames "track" and "album" of a measured file, with the gain and peak of its texts;
// an RVA2 frame is the same whether the tag is version 2.4 or 2.3, where players read it too.
QList<tags::FrameEdit> rva2Frames(const Loudness &track, const std::optional<Loudness> &album,
                                  const GainOptions &options = {});
// The edit that removes the RVA2 frames "track" and "album"; others stay.
QList<tags::FrameEdit> clearedRva2();

// Empty values for every ReplayGain description: the edit that removes them.
QList<tags::UserText> clearedReplayGain();
// The track or album gain a tag's texts hold, as written ("-6.48 dB"); empty when none.
QString trackGainOf(const QList<tags::UserText> &texts);
QString albumGainOf(const QList<tags::UserText> &texts);
// The ReplayGain texts among a tag's texts ("REPLAYGAIN_TRACK_GAIN" ...), in their order.
QList<tags::UserText> replayGainOf(const QList<tags::UserText> &texts);

} // namespace gain
