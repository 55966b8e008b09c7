#pragma once

#include "cd/extractionjob.h"

namespace cd {

// The title of the sound some discs hide before track 1, in file names, tags, logs and cue sheets.
QString hiddenTrackTitle();

// Rips the hidden track of settings.drive into settings.folder as the job of `kind` rips a track:
// named after hiddenTrackTitle() in the job's name format, never over an existing file without
// askReplace's word, an MP3 tagged (track number 0) before it takes its name. The outcome's row
// is 0 and its tags those written.
TrackOutcome ripHiddenTrack(ExtractionJob::Kind kind, const ExtractionSettings &settings,
                            const RipOptions &options, const EncoderConfig &encoder,
                            const std::function<ReplaceAnswer(const QString &)> &askReplace,
                            const RipProgress &progress = {});

} // namespace cd
