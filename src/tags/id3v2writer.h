#pragma once

#include "tags/id3v2frames.h"
#include "tags/tagresult.h"
#include "tags/typetagv2.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace tags {

// One frame of the written tag for a known identifier, its data taken from the record (the
// picture bytes for APIC). Text that ISO-8859-1 holds is written with encoding 0, other text
// with encoding 1 (UTF-16 with byte-order mark). An unknown identifier gives a frame whose body
// is the encoding byte alone.
QByteArray buildFrame(const TypeTagV2 &tag, QByteArrayView id, QByteArrayView picture = {});

// The whole version 2.3 tag of a record: header, the frames of its non-empty fields in their
// fixed order, the picture frame when picture is not empty, the kept frames, 11 bytes of
// padding. Fails when the tag would reach 2^28 bytes.
Result<QByteArray> renderId3v2(const TypeTagV2 &tag, QByteArrayView picture = {},
                               const QList<Id3v2Frame> &kept = {});

// Identifiers of the frames the writer replaces (those it produces from a record, and TDRC,
// whose year it writes as TYER); with a new picture, APIC too.
QList<QByteArray> producedFrames(bool newPicture);

// The tag that replaces `existing` (the file's current tag, possibly empty): the record's
// frames, then the frames of the existing tag that the record does not replace.
Result<QByteArray> renderReplacement(const TypeTagV2 &tag, QByteArrayView picture,
                                     QByteArrayView existing);

// Rewrites the file with the record's tag in front of its audio (from its first frame sync),
// or without a tag when the record is not valid. Frames of the existing tag that the writer
// does not produce, and its picture unless a new one was chosen, are kept. False, file
// untouched, when no frame sync follows the tag; a failure on any input/output error, the
// file then being untouched too.
Result<bool> writeTagV2(const QString &fichier, const TypeTagV2 &tag);

} // namespace tags
