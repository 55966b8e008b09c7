#pragma once

#include "tags/tagresult.h"
#include "tags/typetagv2.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace tags {

// Decodes an ID3v2 tag of version 2.2, 2.3 or 2.4 (bytes from its header on, possibly cut
// short). An invalid record with genre 255 when the bytes do not start with a tag header; a
// valid one otherwise, even when no known frame was found. The picture is decoded only when
// decodePicture is true.
TypeTagV2 parseId3v2(QByteArrayView tag, bool decodePicture = true);

// The tag that opens a file (header, body and footer), read in two steps: the header, then the
// size it announces, bounded by the file. Empty when the file does not open with a tag.
Result<QByteArray> readId3v2Bytes(const QString &fichier);

// Reads the tag that opens the file. A file that cannot be opened or read is a failure.
Result<TypeTagV2> readTagV2(const QString &fichier);

// The picture of the bytes, or a null image.
QImage pictureFromBytes(const QByteArray &bytes);

} // namespace tags
