#pragma once

#include "cd/ripper.h"
#include "gain/replaygain.h"
#include "tags/fieldrules.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

namespace cd {

// Texts of the status column of a track or file row.
inline const QString markOk = QStringLiteral("Ok");
inline const QString markError = QStringLiteral("Erreur");
inline const QString markNotSelected = QStringLiteral("(Pas selectionné)");
inline const QString markNotReplaced = QStringLiteral("Non remplacé");

// Which tags the MP3 job writes (the options "ExtraireTagv1", "ExtraireTagv2",
// "ExtraireTagv1et2", "ExtraireTagrien").
enum class TagOption { V1, V2, V1AndV2, None };

// The MP3 file-name formats, in the order of their list: "Artiste - Titre", "Titre - Artiste",
// "Titre (Artiste)", "Titre".
enum NameFormat { ArtistTitle = 0, TitleArtist = 1, TitleParenArtist = 2, TitleOnly = 3 };

// A file name (without extension) that stays inside its folder: "/" and NUL become "-"; an
// empty name, "." and ".." become "Piste N" (row counts from 1).
QString safeFileStem(const QString &stem, int row);

// The MP3 file name of a track for one of the four formats (an unknown format counts as
// ArtistTitle).
QString mp3FileName(int format, const QString &artist, const QString &title, int row);
// The WAV file name of a track: its row text + ".wav".
QString wavFileName(const QString &rowText, int row);
// The FLAC file name of a track: that of the MP3 format with ".flac".
QString flacFileName(int format, const QString &artist, const QString &title, int row);

// name, or, when `taken` holds it already, name with " (2)", " (3)" ... before its extension;
// the name returned is added to `taken`. Outputs of one job never share a name.
QString unusedName(const QString &name, QStringList &taken);

// The user's answer when an output's name is taken by an existing file.
enum class ReplaceAnswer { Replace, Skip, ReplaceAll };

struct RowNames
{
    QString artist;
    QString title;
};

// Artist and title of a row. With importNames and a "-" or a " / " in the row text, the text is
// split around the first of them, one character being dropped on each side ("Les Amis - Le
// Vent", "Les Amis / Le Vent"); otherwise the artist is the disc artist and the title the row
// text.
RowNames rowArtistTitle(const QString &rowText, bool importNames, const QString &discArtist);

// What the extraction page holds for a job.
struct ExtractionSettings
{
    QString drive;
    QString folder;
    int nameFormat = ArtistTitle;
    bool importNames = false;
    QString artist;
    QString album;
    QString year;
    QString genre;
    int genreIndex = -1;
    TagOption tagOption = TagOption::V1AndV2;
    // The comment and encoder texts of the options, and a front cover (JPEG file) for the tags.
    tags::FixedTexts tagDefaults = {};
    QString coverFile = {};
    // The ISRC the disc gives each track (track 1 first), for the tags.
    QStringList isrc = {};
    // Known from a lookup, else empty: written into the FLAC comments.
    QString albumArtist = {};
    QString discNumber = {};
    QString musicBrainzAlbumId = {};
    QString musicBrainzArtistId = {};
    // The folder of each format's files below `folder`, a pattern of the disc's fields such as
    // "FLAC/%artiste%/%album%"; without one, the files go into `folder` itself.
    QMap<AudioFormat, QString> folderPatterns = {};
};

// The folder a format's files go to: `folder`, or below it what its pattern gives for the disc
// (a field the disc lacks reads "Artiste inconnu", "Album inconnu" ...). The French fault of a
// pattern in *error.
QString formatFolder(const ExtractionSettings &settings, AudioFormat format, QString *error);

struct TrackRow
{
    QString text;
    bool checked = false;
    QString musicBrainzTrackId = {}; // the recording, from a lookup
};

// The tag fields the MP3 job fills for one track.
struct TrackTags
{
    QString artist;
    QString title;
    QString album;
    QString year;
    QString genre;
    int genreIndex = -1;
    int track = 0;     // the row's position, counted from 1
    QString isrc = {}; // the recording's code the disc gives the track, empty when none
    // For the FLAC comments; empty when unknown.
    int trackTotal = 0;
    QString albumArtist = {};
    QString discNumber = {};
    QString musicBrainzAlbumId = {};
    QString musicBrainzArtistId = {};
    QString musicBrainzTrackId = {};
};

TrackTags trackTags(const ExtractionSettings &settings, const QString &rowText, int row);

// What became of one row.
struct TrackOutcome
{
    int row = 0;       // from 1
    QString mark;      // markOk, markError, markNotSelected or markNotReplaced
    QString path;      // the file written, or kept (empty for an unchecked row): the first format's
    QStringList paths; // the files of every format written
    RipResult result;
    QString message;     // the French message to show for this row, if any
    bool tagged = false; // the MP3 file got the tags of `tags` before its name
    TrackTags tags;
};

// One extraction over the rows of the track list.
class ExtractionJob
{
public:
    enum Kind { Wav, Mp3, Flac };

    // Before a checked track is read: its row and file name (the MP3 job shows
    // "Extraction de : " + name).
    std::function<void(int row, const QString &name)> trackStarted;
    // After every batch; false stops the job after that batch. The unfinished files are
    // discarded, those of tracks read but still being encoded or written too; such tracks are
    // not reported.
    RipProgress progress;
    // Every few milliseconds while the job waits for a writer to finish; false stops the job
    // as progress does (the window processes its pending events here).
    std::function<bool()> waiting;
    // After each row, checked or not, but for a track a cancel stopped.
    std::function<void(const TrackOutcome &)> trackFinished;
    // Asked before a track whose file already exists (full path given); without an answer
    // the existing file is kept.
    std::function<ReplaceAnswer(const QString &path)> askReplace;
    // How tracks are read and encoded.
    RipOptions options;
    EncoderConfig encoder = cdTrackEncoderConfig();
    int flacLevel = defaultFlacLevel;
    // One "<album>.m3u8" per format, in that format's folder, lists the tracks ripped.
    bool playlists = false;
    // The MP3 and FLAC jobs measure each track's loudness from the samples as they are read and,
    // once the job ends, write the ReplayGain of each track and of the tracks together (the
    // album) into the FLAC files and the MP3 files they tagged with an ID3v2 tag. A stopped job
    // writes the tracks' values only.
    bool replayGain = true;
    // What the ReplayGain written holds beside its texts (RVA2 frames).
    gain::GainOptions gainOptions = {};

    struct Summary
    {
        bool cancelled = false;
        int failed = 0;
        QList<int> unreadableRows;    // rows (from 1) where sectors were written as silence
        QStringList gainFailures;     // French, one per file whose ReplayGain could not be written
        QStringList playlistFailures; // French, one per playlist that could not be written
    };

    Summary run(Kind kind, const ExtractionSettings &settings, const QList<TrackRow> &rows);
    // Reads each track once and writes it in every format of `kinds`.
    Summary run(const QList<Kind> &kinds, const ExtractionSettings &settings,
                const QList<TrackRow> &rows);
};

// The format of the files of a job of `kind`.
AudioFormat audioFormat(ExtractionJob::Kind kind);
// The name of a row's file in a job of `kind`: the disc artist and the row text as they stand,
// in the name format for MP3 and FLAC files.
QString trackFileName(ExtractionJob::Kind kind, const ExtractionSettings &settings,
                      const QString &rowText, int row);

// Where a job's log and cue sheet go: the folder of its first format, whose files the sheet
// names.
QString reportFolder(const ExtractionSettings &settings, const QList<ExtractionJob::Kind> &kinds);

// The formats of a job as its log names them: "FLAC niveau 5, MP3 CBR 128 kbit/s, WAV".
QString jobFormatsText(const QList<ExtractionJob::Kind> &kinds, const EncoderConfig &encoder,
                       int flacLevel);

// The French text that ends a job in which some sectors could not be read, naming each such
// track by its position and row text; empty when every sector was read.
QString unreadableTracksMessage(const QList<int> &unreadableRows, const QList<TrackRow> &rows);

} // namespace cd
