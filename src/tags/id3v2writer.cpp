#include "tags/id3v2writer.h"

#include "tags/genres.h"
#include "tags/id3v2convert.h"
#include "tags/id3v2reader.h"
#include "tags/tagsave.h"

#include <QCoreApplication>

#include <algorithm>

namespace tags {

namespace {

QByteArray frameBytes(QByteArrayView id, const QByteArray &body)
{
    Id3v2Frame f;
    f.id = id.toByteArray();
    f.body = body;
    return renderFrame(f);
}

QByteArray synchsafeBytes(quint32 size)
{
    QByteArray bytes;
    for (int shift = 21; shift >= 0; shift -= 7)
        bytes.append(char((size >> shift) & 0x7F));
    return bytes;
}

// A description and what follows it in one encoding: ISO-8859-1 when both fit, the version's
// wide encoding otherwise. `prefix` stands between the encoding byte and the description (a
// language).
QByteArray describedBody(const QByteArray &prefix, const QString &description, const QString &text,
                         int version)
{
    const int encoding =
        fitsLatin1(description) && fitsLatin1(text) ? int(Latin1) : int(wideEncoding(version));
    return char(encoding) + prefix + encodeAs(encoding, description, true) +
           encodeAs(encoding, text);
}

// The description of a COMM (after its language) or WXXX body.
QString descriptionOf(const QByteArray *body, qsizetype fixed)
{
    if (!body || body->size() < 1 + fixed)
        return {};
    return decodeText(QByteArrayView(*body).sliced(1 + fixed),
                      static_cast<unsigned char>((*body)[0]));
}

// The language of a new comment: that of the tag's other comments, else French.
QByteArray newCommentLanguage(const Id3v2Tag &tag)
{
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    for (const Id3v2Frame &frame : tag.frames) {
        if (frame.id != "COMM" && frame.id != "COM")
            continue;
        const QByteArray language =
            frameContent(frame, tag.version).value_or(QByteArray()).mid(1, 3);
        if (language.size() == 3 && std::all_of(language.begin(), language.end(), isLetter))
            return language;
    }
    return "fra";
}

QString genreText(const TypeTagV2 &t)
{
    if (t.Genre() != NoGenre)
        return u'(' + QString::number(t.Genre()) + u')' + genreName(t.Genre());
    return t.GenreTexte();
}

struct FieldFrame
{
    V2Field field;
    const char *id;
};

// The fields in the order their new frames are written.
constexpr FieldFrame FieldOrder[] = {
    {V2Field::Titre, "TIT2"},     {V2Field::Artiste, "TPE1"},     {V2Field::Album, "TALB"},
    {V2Field::Annee, "TYER"},     {V2Field::Commentaire, "COMM"}, {V2Field::Piste, "TRCK"},
    {V2Field::Genre, "TCON"},     {V2Field::Compositeur, "TCOM"}, {V2Field::Original, "TOPE"},
    {V2Field::Copyright, "TCOP"}, {V2Field::Url, "WXXX"},         {V2Field::Encode, "TENC"},
};

QString fieldValue(const TypeTagV2 &t, V2Field field)
{
    switch (field) {
    case V2Field::Titre:
        return t.Titre();
    case V2Field::Artiste:
        return t.Artiste();
    case V2Field::Album:
        return t.Album();
    case V2Field::Annee:
        return t.Annee();
    case V2Field::Commentaire:
        return t.Commentaire();
    case V2Field::Piste:
        return t.Piste().trimmed();
    case V2Field::Genre:
        return genreText(t);
    case V2Field::Compositeur:
        return t.Compositeur();
    case V2Field::Original:
        return t.Original();
    case V2Field::Copyright:
        return t.Copyright();
    case V2Field::Url:
        return t.Url();
    case V2Field::Encode:
        return t.Encode();
    default:
        return {};
    }
}

// The frame that holds a field's new value, shaped after the body of the frame it replaces
// (when there is one: the language of a comment, the description of a comment or URL); nullopt
// for an empty value. A new comment gets `language`.
// In a version 2.4 tag the year is written as a recording time.
std::optional<Id3v2Frame> fieldFrame(const FieldFrame &field, const TypeTagV2 &wanted,
                                     const QByteArray *old, const QByteArray &language = "fra",
                                     int version = 3)
{
    const QString value = fieldValue(wanted, field.field);
    if (value.isEmpty())
        return std::nullopt;
    Id3v2Frame frame;
    frame.id =
        field.field == V2Field::Annee && version == 4 ? QByteArray("TDRC") : QByteArray(field.id);
    if (field.field == V2Field::Commentaire) {
        const QByteArray kept = old ? old->mid(1, 3).leftJustified(3, '\0', true) : language;
        frame.body = describedBody(kept, descriptionOf(old, 3), value, version);
    } else if (field.field == V2Field::Url) {
        const QString description = descriptionOf(old, 0);
        const int encoding = fitsLatin1(description) ? int(Latin1) : int(wideEncoding(version));
        frame.body = char(encoding) + encodeAs(encoding, description, true) + urlBytes(value);
    } else {
        frame.body = encodedText(value, version);
    }
    return frame;
}

Id3v2Frame pictureFrame(QByteArrayView picture)
{
    Id3v2Frame frame;
    frame.id = "APIC";
    // Front cover, the picture players show.
    frame.body = QByteArray("\0image/jpeg\0\3\0", 14) + picture.toByteArray();
    return frame;
}

} // namespace

QByteArray buildFrame(const TypeTagV2 &tag, QByteArrayView id, QByteArrayView picture)
{
    if (id == "APIC")
        return renderFrame(pictureFrame(picture));
    for (const FieldFrame &field : FieldOrder) {
        if (id == field.id) {
            const std::optional<Id3v2Frame> frame = fieldFrame(field, tag, nullptr);
            return frame ? renderFrame(*frame) : frameBytes(id, QByteArray(1, '\0'));
        }
    }
    return frameBytes(id, QByteArray(1, '\0'));
}

Result<std::optional<QList<Id3v2Frame>>>
editFrames(const Id3v2Tag &existing, const TypeTagV2 &wanted, QByteArrayView picture, int version)
{
    using Edited = Result<std::optional<QList<Id3v2Frame>>>;
    FieldSources sources;
    const TypeTagV2 current = recordFromTag(existing, &sources);
    QList<Id3v2Frame> added;
    QList<QList<Id3v2Frame>> kept;
    bool converted = false, changed = false;
    const auto convert = [&]() -> QString {
        if (converted)
            return {};
        Result<QList<QList<Id3v2Frame>>> lists = framesAs(existing, version);
        if (!lists.ok())
            return lists.error();
        kept = lists.value();
        converted = true;
        return {};
    };
    // Replaces the frame a field came from, or adds a new one.
    const auto put = [&](qsizetype source, const std::optional<Id3v2Frame> &frame) {
        changed = true;
        if (source < 0) {
            if (frame)
                added.append(*frame);
        } else if (frame) {
            kept[source][0] = *frame;
        } else {
            kept[source].clear();
        }
    };

    for (const FieldFrame &field : FieldOrder) {
        if (fieldValue(current, field.field) == fieldValue(wanted, field.field))
            continue;
        if (const QString error = convert(); !error.isEmpty())
            return Edited::failure(error);
        const qsizetype source = sources[field.field];
        // The frame the field came from, as the written version holds it (inflated when
        // compressed).
        const std::optional<QByteArray> old = source >= 0 && !kept[source].isEmpty()
                                                  ? frameContent(kept[source][0], version)
                                                  : std::nullopt;
        put(old ? source : -1, fieldFrame(field, wanted, old ? &*old : nullptr,
                                          newCommentLanguage(existing), version));
    }
    if (!picture.isEmpty()) {
        if (const QString error = convert(); !error.isEmpty())
            return Edited::failure(error);
        const qsizetype source = sources[V2Field::Image];
        put(source >= 0 && !kept[source].isEmpty() ? source : -1, pictureFrame(picture));
    }
    if (!changed)
        return std::optional<QList<Id3v2Frame>>();
    return std::optional<QList<Id3v2Frame>>(added + flattenFrames(kept));
}

Result<QByteArray> renderTag(const QList<Id3v2Frame> &frames, qint64 size, int version,
                             qint64 padding)
{
    qint64 framesSize = 0;
    for (const Id3v2Frame &frame : frames)
        framesSize += renderedSize(frame, version);
    if (size > 0)
        padding = size - Id3v2HeaderSize - framesSize;
    if (padding < 0)
        return Result<QByteArray>::failure(
            QCoreApplication::translate("tags", "le nouveau tag ne tient pas à sa place"));
    const qint64 bodySize = framesSize + padding;
    if (bodySize > Id3v2MaxSize)
        return Result<QByteArray>::failure(
            QCoreApplication::translate(
                "tags", "le tag ID3v2 atteindrait %1 octets, au-delà de la taille permise")
                .arg(bodySize));
    // Built in one piece: a tag may hold a large picture.
    QByteArray tag;
    tag.reserve(qsizetype(Id3v2HeaderSize + bodySize));
    tag += "ID3" + QByteArray(1, char(version)) + QByteArray(2, '\0') +
           synchsafeBytes(quint32(bodySize));
    for (const Id3v2Frame &frame : frames)
        appendFrame(tag, frame, version);
    tag.append(qsizetype(padding), '\0');
    return tag;
}

Result<QByteArray> renderId3v2(const TypeTagV2 &tag, QByteArrayView picture)
{
    const Result<std::optional<QList<Id3v2Frame>>> frames = editFrames(Id3v2Tag(), tag, picture);
    if (!frames.ok())
        return Result<QByteArray>::failure(frames.error());
    return renderTag(frames->value_or(QList<Id3v2Frame>()));
}

Result<bool> writeTagV2(const QString &fichier, const TypeTagV2 &tag)
{
    TagChanges changes;
    changes.v2 = tag;
    return saveChanges(fichier, changes);
}

} // namespace tags
