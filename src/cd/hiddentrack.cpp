#include "cd/hiddentrack.h"

#include "base/safefs.h"
#include "cd/riptags.h"

namespace cd {

QString hiddenTrackTitle()
{
    // As "Piste N", the name stays French in every language: it names files.
    return QStringLiteral("Piste cachée");
}

TrackOutcome ripHiddenTrack(const QList<ExtractionJob::Kind> &kinds,
                            const ExtractionSettings &settings, const RipOptions &options,
                            const EncoderConfig &encoder, int flacLevel,
                            const std::function<ReplaceAnswer(const QString &)> &askReplace,
                            const RipProgress &progress)
{
    TrackOutcome outcome;
    const QString title = hiddenTrackTitle();
    outcome.tags = trackTags(settings, title, 0);
    QList<TrackOutput> outputs;
    for (const ExtractionJob::Kind kind : kinds) {
        QString error;
        const QString folder = formatFolder(settings, audioFormat(kind), &error);
        const QString name = trackFileName(kind, settings, title, 0);
        TrackOutput output =
            ripOutput(kind, base::joinPath(error.isEmpty() ? folder : settings.folder, name),
                      settings, outcome.tags, encoder, flacLevel);
        if (outputExists(output.fileName)) {
            const ReplaceAnswer answer =
                askReplace ? askReplace(output.fileName) : ReplaceAnswer::Skip;
            if (answer == ReplaceAnswer::Skip) {
                outcome.path = output.fileName;
                continue;
            }
            output.overwrite = Overwrite::Replace;
        }
        outcome.tagged = outcome.tagged || bool(output.beforeNaming);
        outputs.append(output);
        outcome.paths.append(output.fileName);
    }
    if (outputs.isEmpty()) {
        outcome.mark = markNotReplaced;
        return outcome;
    }
    outcome.path = outcome.paths.first();
    const std::vector<RipResult> results =
        ripTrackToFiles(settings.drive, hiddenTrackIndex, outputs, progress, options);
    outcome.result = results.front();
    for (const RipResult &result : results) {
        if (!result.ok())
            outcome.result = result;
    }
    outcome.tagged = outcome.tagged && outcome.result.ok();
    outcome.mark = outcome.result.ok() ? markOk : markError;
    outcome.message = ripErrorMessage(outcome.result);
    return outcome;
}

} // namespace cd
