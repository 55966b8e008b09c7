#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace tags {

// The layout shared by the ID3v2 reader and writer: header, frame walk of versions 2.2, 2.3 and
// 2.4, and the text encodings.

constexpr qsizetype Id3v2HeaderSize = 10;
// A tag size is 28 bits.
constexpr qint64 Id3v2MaxSize = (qint64(1) << 28) - 1;

enum TextEncoding { Latin1 = 0, Utf16 = 1, Utf16BE = 2, Utf8 = 3 };

struct Id3v2Frame
{
    QByteArray id;     // as in the tag: three characters for version 2.2, four otherwise
    QByteArray body;   // with unsynchronisation, grouping byte and data length removed
    quint16 flags = 0; // the frame's flags as stored (always 0 for version 2.2)
    // Compressed or encrypted: body is the stored bytes, not decoded.
    bool opaque = false;
};

struct Id3v2Tag
{
    int version = 0; // 2, 3 or 4; 0 when the bytes do not start with a tag header
    QList<Id3v2Frame> frames;
};

// Total size announced by a tag header (header, body, and the footer of version 2.4), or 0
// when the bytes do not start with the header of a version 2, 3 or 4 tag.
qint64 id3v2DeclaredSize(QByteArrayView header);

// Walks the frames of a tag; tag holds the tag from its header on and may be cut short, in
// which case the frames that exist are returned. Never reads beyond the bytes given.
Id3v2Tag walkId3v2(QByteArrayView tag);

// Removes the zero byte that unsynchronisation inserts after each FF.
QByteArray removeUnsynchronisation(QByteArrayView bytes);

// Decodes one text of the given encoding up to its terminator; rest, when given, receives the
// bytes after the terminator. Unknown encodings are read as Windows-1252.
QString decodeText(QByteArrayView bytes, int encoding, QByteArrayView *rest = nullptr);

// Every value of a text frame body (encoding byte included); values are separated by NUL.
QString decodeAllText(QByteArrayView body);

// Encodes a text with UTF-16 and a byte-order mark (encoding 1), without terminator.
QByteArray encodeUtf16(const QString &text);

// The frames of a tag worth keeping when it is rewritten as version 2.3: converted to 2.3
// identifiers and encodings, and without the frames whose identifier is in produced. Frames
// that 2.3 cannot hold are left out.
QList<Id3v2Frame> framesToKeep(const Id3v2Tag &tag, const QList<QByteArray> &produced);

// One version 2.3 frame: identifier, size, flags, body.
QByteArray renderFrame(const Id3v2Frame &frame);

} // namespace tags
