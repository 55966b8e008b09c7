#pragma once

#include "cd/extractionjob.h"

namespace cd {

// The title of the sound some discs hide before track 1, in file names, tags, logs and cue sheets.
QString hiddenTrackTitle();

// Rips the hidden track of settings.drive, read once, into each format's folder as a job of
// `kinds` rips a track: named after hiddenTrackTitle() in the job's name format, never over an
// existing file without askReplace's word, an MP3 tagged and a FLAC file commented (track number
// 0) before it takes its name. The outcome's row is 0, its path the first file written, and its
// tags those written.
TrackOutcome ripHiddenTrack(const QList<ExtractionJob::Kind> &kinds,
                            const ExtractionSettings &settings, const RipOptions &options,
                            const EncoderConfig &encoder, int flacLevel,
                            const std::function<ReplaceAnswer(const QString &)> &askReplace,
                            const RipProgress &progress = {});

} // namespace cd
