#pragma once

#include "gain/loudnessmeter.h"
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
};

// "-6.48 dB", "0.988553" and "-18.00 LUFS", written with a full stop whatever the locale.
QString gainText(double lufs);
QString peakText(double peak);
QString referenceText();

// The TXXX texts of a measured file: the track values, and the album's when it has one. A
// loudness that could not be measured (silence) gives no text for its gain and peak.
QList<tags::UserText> replayGainTexts(const Loudness &track, const std::optional<Loudness> &album,
                                      const GainOptions &options = {});
// Empty values for every ReplayGain description: the edit that removes them.
QList<tags::UserText> clearedReplayGain();
// The ReplayGain texts among a tag's texts ("REPLAYGAIN_TRACK_GAIN" ...), in their order.
QList<tags::UserText> replayGainOf(const QList<tags::UserText> &texts);

} // namespace gain
