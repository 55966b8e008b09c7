#pragma once

#include "tags/tagresult.h"
#include "tags/typetagv2.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

namespace tags {

struct Id3v2Tag;

// The fields of an ID3v2 record that frames give.
enum class V2Field {
    Titre,
    Artiste,
    Album,
    Annee,
    Commentaire,
    Piste,
    Genre,
    Compositeur,
    Original,
    Copyright,
    Url,
    Encode,
    Image,
    Count
};

// For each field, the index in the tag's frames of the frame that gave its value; -1 when no
// frame did.
struct FieldSources
{
    std::array<qsizetype, size_t(V2Field::Count)> frame;
    FieldSources() { frame.fill(-1); }
    qsizetype &operator[](V2Field f) { return frame[size_t(f)]; }
    qsizetype operator[](V2Field f) const { return frame[size_t(f)]; }
};

// The record of a walked tag, and where each field came from. When a tag holds several frames
// for a field, the first gives it; the comment and the URL are the first ones without
// description (a described one, such as "iTunNORM" or another program's note, never stands in
// for them). Compressed frames are read inflated.
TypeTagV2 recordFromTag(const Id3v2Tag &tag, FieldSources *sources = nullptr);

// Decodes an ID3v2 tag of version 2.2, 2.3 or 2.4 (bytes from its header on, possibly cut
// short). An invalid record with genre 255 when the bytes do not start with a tag header; a
// valid one otherwise, even when no known frame was found.
TypeTagV2 parseId3v2(QByteArrayView tag);

// The tag that opens a file (header, body and footer), read in two steps: the header, then the
// size it announces, bounded by the file. Empty when the file does not open with a tag.
Result<QByteArray> readId3v2Bytes(const QString &fichier);

// Reads the tag that opens the file. A file that cannot be opened or read is a failure.
Result<TypeTagV2> readTagV2(const QString &fichier);

} // namespace tags
