#pragma once

#include "cd/extractionjob.h"
#include "cd/flacstream.h"
#include "tags/fieldrules.h"
#include "tags/id3v2writer.h"
#include "tags/tagtype.h"

namespace cd {

// The tag record written into a ripped MP3 file: the versions the tag option names (none for
// TagOption::None), filled from the disc fields and the track (its genre is the genre list
// position when there is one, else the genre text), then the defaults of the options. A cover
// file (JPEG) becomes the front cover of the ID3v2 tag.
tags::TagType ripTagRecord(const TrackTags &track, TagOption option,
                           const tags::FixedTexts &defaults, const QString &coverFile = {});

// The Vorbis comments of a ripped FLAC file: title, artist, album, date, genre (the list entry
// when the track has a list position), track number and total, the default comment, and
// whatever else is known (album artist, disc number, ISRC, MusicBrainz ids). Empty fields are
// left out.
QList<VorbisComment> flacComments(const TrackTags &track, const tags::FixedTexts &defaults);

// Writes record into the complete file of a rip before it takes the name fileName, so that a
// file never carries its name without its tags; a failure names fileName. An ISRC goes into the
// ID3v2 tag (TSRC) when the record has one. An ID3v2 tag gets `padding` bytes of padding, room
// for frames written once the job ends.
BeforeNaming tagBeforeNaming(const tags::TagType &record, const QString &fileName,
                             const QString &isrc = {}, qint64 padding = tags::DefaultPadding);

// The output of a ripped track in the format `kind`, to be written at `path`: an MP3 file gets
// the record of the tag option before its name (its ID3v2 tag with `tagPadding` bytes of room
// and the track's ISRC), a FLAC file its comments and `cover` (a JPEG, possibly empty).
TrackOutput ripOutput(ExtractionJob::Kind kind, const QString &path,
                      const ExtractionSettings &settings, const TrackTags &track,
                      const EncoderConfig &encoder, int flacLevel,
                      qint64 tagPadding = tags::DefaultPadding, const QByteArray &cover = {});

} // namespace cd
