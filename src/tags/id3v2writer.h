#pragma once

#include "tags/id3v2frames.h"
#include "tags/tagresult.h"
#include "tags/typetagv2.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace tags {

// One frame of the written tag for a known identifier, its data taken from the record (the
// picture bytes for APIC). Text that ISO-8859-1 holds is written with encoding 0, other text
// with encoding 1 (UTF-16 with byte-order mark). An unknown identifier gives a frame whose body
// is the encoding byte alone.
QByteArray buildFrame(const TypeTagV2 &tag, QByteArrayView id, QByteArrayView picture = {});

// The frames of the tag of `version` (see savedVersion) that replaces `existing` (a walked tag,
// possibly of no version when the file has none) once the fields of `wanted` that differ from
// what the tag holds are written, with `picture` (JPEG bytes) as the first picture when it is not
// empty. A changed field replaces the first frame of its kind, keeping the language and description
// of a comment and the description of a URL; an emptied field removes that frame; a field the tag
// lacks gets a new frame, new frames coming first in the fixed order TIT2, TPE1, TALB, TYER,
// COMM, TRCK, TCON, TCOM, TOPE, TCOP, WXXX, TENC, APIC (TDRC for the year of version 2.4).
// Every other frame is kept (converted to version 2.3 when that is the version written).
// nullopt when no field differs: nothing is to be written.
Result<std::optional<QList<Id3v2Frame>>> editFrames(const Id3v2Tag &existing,
                                                    const TypeTagV2 &wanted,
                                                    QByteArrayView picture = {}, int version = 3);

// The padding of a tag written anew, unless its writer asks for more.
inline constexpr qint64 DefaultPadding = 11;

// A tag of the frames, of version 3 or 4: header, frames, then zero padding up to `size` bytes
// in all when size is given (a tag written in the place of another), `padding` bytes of padding
// otherwise. Fails when the frames do not fit in `size`, or when the tag would reach 2^28 bytes.
Result<QByteArray> renderTag(const QList<Id3v2Frame> &frames, qint64 size = 0, int version = 3,
                             qint64 padding = DefaultPadding);

// The whole version 2.3 tag of a record, as written into a file without tag.
Result<QByteArray> renderId3v2(const TypeTagV2 &tag, QByteArrayView picture = {});

// Writes the record's ID3v2 tag into the file, keeping the ID3v1 block; a record that is not
// valid removes the tag. See saveTags.
Result<bool> writeTagV2(const QString &fichier, const TypeTagV2 &tag);

} // namespace tags
