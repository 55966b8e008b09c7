#pragma once

#include "tags/typetagv1.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace tags {

// Size of the ID3v1 block that ends a tagged file.
constexpr qsizetype Id3v1Size = 128;

// Decodes the 128-byte block that ends a file; an invalid record (genre 255) when it does not
// start with "TAG" (in capitals) or is not 128 bytes long.
TypeTagV1 parseId3v1(QByteArrayView block);

// The 128-byte block of a record; empty when the record is not valid; nullopt when its track
// does not fit in one byte. Written over the block `over` (when it is one), a field whose value
// is the one `over` reads as keeps its bytes: a genre beyond the list, letters the reader drops
// ("ÿ"), a full ID3v1.0 comment and what follows a NUL stay as they were.
std::optional<QByteArray> renderId3v1(const TypeTagV1 &tag, QByteArrayView over = {});

// True when the block starts with "TAG" in capitals, as every reader of the format wants it.
bool isId3v1Block(QByteArrayView block);

// Reads the file's last 128 bytes and nothing else; an invalid record on any failure.
TypeTagV1 readTagV1(const QString &fichier);

// Writes the block over the file's existing block or after its last byte (see saveTags). A
// record that is not valid changes nothing and succeeds. Fails, leaving the file as it was, on a
// file that is not MP3, a file shorter than 128 bytes, a read-only file, a track outside 0-255
// or any input/output error.
bool writeTagV1(const QString &fichier, const TypeTagV1 &tag);

// Drops the file's last 128 bytes when they are an ID3v1 block. True when the file has no
// block afterwards.
bool removeTagV1(const QString &fichier);

} // namespace tags
