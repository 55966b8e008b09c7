#pragma once

#include "cd/accuraterip.h"
#include "cd/accurateripdb.h"
#include "cd/discdetails.h"
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
    QList<Track> tracks; // the tracks written, in disc order
    // What the disc says of itself (see addDiscDetails).
    QString catalogue;
    QStringList isrc;       // per track, track 1 first
    QList<int> pregaps;     // sectors of each track's pre-gap
    QList<int> lengths;     // sectors of each track
    QString cdText;         // "artist / album" of the disc's CD-Text, empty when it has none
    int hiddenSectors = 0;  // the sound before track 1, 0 when there is none
    Track hiddenTrack;      // its file when it was ripped (track 0), else no path
    bool cancelled = false; // the user stopped the job before its last track
    QString cueName;        // the cue sheet written beside the log, named in it
};

// The head of a job's report: the drive, "WAV" or the MP3 encoder's settings, the read options,
// the disc's AccurateRip name, and the artist and album of the job.
RipReport ripReportHead(const ExtractionSettings &settings, const RipOptions &options,
                        const DiscCheck &disc, const std::optional<EncoderConfig> &mp3);

// Adds what the disc says of itself: its catalogue number, the tracks' ISRCs, pre-gaps and
// lengths, its CD-Text and its hidden track.
void addDiscDetails(RipReport &report, const DiscDetails &details, const CdToc &toc);

// The text log: the drive, the options, the offset, the disc, its artist and album, the cue
// sheet beside it, the catalogue number, CD-Text and hidden track, whether the job was cancelled
// and, per track, its ISRC, pre-gap, read mode, re-reads, CRC32 and AccurateRip result.
QString ripLogText(const RipReport &report);

// True when logText is the log of a cancelled run of the same rip as report: a Tarvex log that
// says it was cancelled, of the same drive, disc, artist and album (the disc being known).
bool isCancelledRunOf(const QString &logText, const RipReport &report);

// A cue sheet that points at the files of the tracks, by name (the sheet lies beside them), with
// the disc's catalogue number and the tracks' ISRCs. A pre-gap is an INDEX 00 in the file of the
// track before it, where rips put it; a hidden track ripped is the pre-gap of track 1.
QString cueSheetText(const RipReport &report);

// Writes "<stem>.log" and "<stem>.cue" into folder, never over a file of another rip (" (2)"
// ... is added): only the log of a cancelled run of the same rip is replaced, with the cue sheet
// it names. False, with a French message in *error, when a file cannot be written.
bool writeRipReport(const RipReport &report, const QString &folder, const QString &stem,
                    QString *error);

} // namespace cd
