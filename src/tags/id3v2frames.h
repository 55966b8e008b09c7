#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tags {

// The layout shared by the ID3v2 reader and writer: header, frame walk of versions 2.2, 2.3 and
// 2.4, and the text encodings.

constexpr qsizetype Id3v2HeaderSize = 10;
// A tag size is 28 bits.
constexpr qint64 Id3v2MaxSize = (qint64(1) << 28) - 1;

enum TextEncoding { Latin1 = 0, Utf16 = 1, Utf16BE = 2, Utf8 = 3 };

// A tag holding more frames than this is read up to it and never rewritten: each frame costs
// memory, and no real tag comes near.
constexpr qsizetype MaxFrames = 100000;

struct Id3v2Frame
{
    QByteArray id;     // as in the tag: three characters for version 2.2, four otherwise
    QByteArray body;   // with unsynchronisation, grouping byte and data length removed
    quint16 flags = 0; // the frame's flags as stored (always 0 for version 2.2)
    // Compressed or encrypted: body is the stored bytes, not decoded.
    bool opaque = false;
    // The group byte of a grouped frame that is not opaque, taken out of body.
    bool grouped = false;
    char group = 0;
    // The whole frame, header included, as a version 2.4 tag stores it: a rewritten version 2.4
    // tag writes an unchanged frame with these bytes. Empty for other versions and new frames.
    QByteArray stored;
};

struct Id3v2Tag
{
    int version = 0; // 2, 3 or 4; 0 when the bytes do not start with a tag header
    QList<Id3v2Frame> frames;
    // The walk stopped on bytes that are not padding and could not be read as frames (or a
    // frame cut short by the end of the tag): a rewrite would lose them.
    bool unread = false;
    // The walk stopped at MaxFrames.
    bool tooManyFrames = false;
};

// Total size announced by a tag header (header, body, and the footer of version 2.4), or 0
// when the bytes do not start with the header of a version 2, 3 or 4 tag.
qint64 id3v2DeclaredSize(QByteArrayView header);

// Walks the frames of a tag; tag holds the tag from its header on and may be cut short, in
// which case the frames that exist are returned. A frame whose identifier is malformed is kept
// when its size fits in the tag; zero bytes between frames are crossed. Never reads beyond the
// bytes given.
Id3v2Tag walkId3v2(QByteArrayView tag);
// The same walk whose frame bodies point into `tag` where they can, instead of copying it: `tag`
// must outlive the result and its frames.
Id3v2Tag walkId3v2Sharing(const QByteArray &tag);

// The body of a frame of a tag of the given version as its fields read: the body itself, or for
// a compressed frame its data inflated (zlib), without the decompressed size, data length and
// group byte that precede them. nullopt for an encrypted frame, or compressed data that do not
// inflate to the size they announce.
std::optional<QByteArray> frameContent(const Id3v2Frame &frame, int version);

// Removes the zero byte that unsynchronisation inserts after each FF.
QByteArray removeUnsynchronisation(QByteArrayView bytes);

// The version 2.3 identifier of a version 2.2 frame identifier, or empty when it has none.
QByteArray v23FrameId(QByteArrayView v22Id);

// Decodes one text of the given encoding up to its terminator; rest, when given, receives the
// bytes after the terminator. Unknown encodings are read as Windows-1252.
QString decodeText(QByteArrayView bytes, int encoding, QByteArrayView *rest = nullptr);

// Every value of a text frame body (encoding byte included); values are separated by NUL.
QString decodeAllText(QByteArrayView body);

// The values of a text frame body (encoding byte included), split at their terminators.
QStringList textValues(QByteArrayView body);

// Encodes a text with UTF-16 and a byte-order mark (encoding 1), without terminator.
QByteArray encodeUtf16(const QString &text);

// The encoding byte and the bytes of a text: encoding 0 when ISO-8859-1 holds it (bytes that
// Windows-1252 and ISO-8859-1 read alike), otherwise UTF-16 with a byte-order mark in a
// version 2.3 tag and UTF-8 in a version 2.4 one.
QByteArray encodedText(const QString &text, int version = 3);
// The encoding a version gives texts ISO-8859-1 cannot hold: UTF-16, or UTF-8 for 2.4.
TextEncoding wideEncoding(int version);
// A text in the given encoding (UTF-16 with a byte-order mark), with its terminator when asked.
QByteArray encodeAs(int encoding, const QString &text, bool terminate = false);

// A URL in single bytes, as it is read back: characters Windows-1252 lacks are percent-encoded
// as UTF-8.
QByteArray urlBytes(const QString &url);
// True when every character is written with the same byte by Windows-1252 and ISO-8859-1.
bool fitsLatin1(QStringView text);

// One frame of a tag of version 3 or 4: identifier, size (synchsafe in 2.4), flags, group byte,
// the data length of 2.4 when its flag says so, body. A version 2.4 frame that is still as the
// tag stored it is written with those bytes.
QByteArray renderFrame(const Id3v2Frame &frame, int version = 3);
void appendFrame(QByteArray &out, const Id3v2Frame &frame, int version = 3);
// The bytes appendFrame writes.
qsizetype renderedSize(const Id3v2Frame &frame, int version = 3);

} // namespace tags
