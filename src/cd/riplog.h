#pragma once

#include "cd/accuraterip.h"
#include "cd/accurateripdb.h"
#include "cd/extractionjob.h"
#include "cd/lamestream.h"
#include "cd/ripper.h"

#include <QList>
#include <QString>

#include <optional>

namespace cd {

// What an extraction did, as its log and cue sheet tell it.
struct RipReport
{
    QString drive;      // the device or image read
    QString format;     // "WAV" or the encoder settings, in French
    RipOptions options; // read mode and offset asked for
    QString discId;     // the AccurateRip name of the disc, empty when unknown
    QString artist;
    QString album;

    struct Track
    {
        int track = 0; // from 1
        QString title;
        QString path; // the file written
        RipResult result;
        AccurateRipVerdict verdict;
    };
    QList<Track> tracks;    // the tracks written, in disc order
    bool cancelled = false; // the user stopped the job before its last track
    QString cueName;        // the cue sheet written beside the log, named in it
};

// The head of a job's report: the drive, "WAV" or the MP3 encoder's settings, the read options,
// the disc's AccurateRip name, and the artist and album of the job.
RipReport ripReportHead(const ExtractionSettings &settings, const RipOptions &options,
                        const DiscCheck &disc, const std::optional<EncoderConfig> &mp3);

// The text log: the drive, the options, the offset, the disc, its artist and album, the cue
// sheet beside it, whether the job was cancelled and, per track, its read mode, re-reads, CRC32
// and AccurateRip result.
QString ripLogText(const RipReport &report);

// True when logText is the log of a cancelled run of the same rip as report: a Tarvex log that
// says it was cancelled, of the same drive, disc, artist and album (the disc being known).
bool isCancelledRunOf(const QString &logText, const RipReport &report);

// A cue sheet that points at the files of the tracks, by name (the sheet lies beside them).
QString cueSheetText(const RipReport &report);

// Writes "<stem>.log" and "<stem>.cue" into folder, never over a file of another rip (" (2)"
// ... is added): only the log of a cancelled run of the same rip is replaced, with the cue sheet
// it names. False, with a French message in *error, when a file cannot be written.
bool writeRipReport(const RipReport &report, const QString &folder, const QString &stem,
                    QString *error);

} // namespace cd
