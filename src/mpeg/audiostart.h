#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

class QIODevice;

namespace mpeg {

class ByteReader;

// Whole size of the ID3v2 tag whose 10-byte header is given (header, body and, for v2.4, the
// footer its flag announces), or 0 when the bytes are not the header of a v2.2, v2.3 or v2.4 tag.
qint64 id3v2TagSize(QByteArrayView header);

// Offset where the audio of a file starts: just after the ID3v2 tags that open it (a file may
// carry several, one after another), 0 when it opens with none, never beyond the end.
qint64 audioStart(QIODevice &device);
qint64 audioStart(const QString &fichier);
qint64 audioStart(ByteReader &reader);

} // namespace mpeg
