#include "cd/hiddentrack.h"

#include "base/safefs.h"
#include "cd/riptags.h"

namespace cd {

QString hiddenTrackTitle()
{
    // As "Piste N", the name stays French in every language: it names files.
    return QStringLiteral("Piste cachée");
}

TrackOutcome ripHiddenTrack(ExtractionJob::Kind kind, const ExtractionSettings &settings,
                            const RipOptions &options, const EncoderConfig &encoder,
                            const std::function<ReplaceAnswer(const QString &)> &askReplace,
                            const RipProgress &progress)
{
    TrackOutcome outcome;
    const QString title = hiddenTrackTitle();
    const QString name = kind == ExtractionJob::Wav
                             ? wavFileName(title, 0)
                             : mp3FileName(settings.nameFormat, settings.artist, title, 0);
    outcome.path = base::joinPath(settings.folder, name);
    Overwrite overwrite = Overwrite::Refuse;
    if (outputExists(outcome.path)) {
        const ReplaceAnswer answer = askReplace ? askReplace(outcome.path) : ReplaceAnswer::Skip;
        if (answer == ReplaceAnswer::Skip) {
            outcome.mark = markNotReplaced;
            return outcome;
        }
        overwrite = Overwrite::Replace;
    }
    BeforeNaming tagging;
    if (kind == ExtractionJob::Mp3) {
        outcome.tags = trackTags(settings, title, 0);
        outcome.tagged = settings.tagOption != TagOption::None;
        if (outcome.tagged)
            tagging = tagBeforeNaming(ripTagRecord(outcome.tags, settings.tagOption,
                                                   settings.tagDefaults, settings.coverFile),
                                      outcome.path);
    }
    outcome.result = kind == ExtractionJob::Wav
                         ? ripTrackToWav(settings.drive, hiddenTrackIndex, outcome.path, overwrite,
                                         progress, options)
                         : ripTrackToMp3(settings.drive, hiddenTrackIndex, outcome.path, overwrite,
                                         progress, options, encoder, tagging);
    outcome.tagged = outcome.tagged && outcome.result.ok();
    outcome.mark = outcome.result.ok() ? markOk : markError;
    outcome.message = ripErrorMessage(outcome.result);
    return outcome;
}

} // namespace cd
