#include "tags/id3v2reader.h"

#include "base/fileaccess.h"
#include "tags/cleantagtext.h"
#include "tags/genres.h"
#include "tags/id3v2frames.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tags {

namespace {

// The version 2.3 name of a frame identifier of a version 2.2 tag; one that version 2.3 lacks
// stays as it is.
QByteArray normalisedId(const QByteArray &id, int version)
{
    if (version != 2)
        return id;
    const QByteArray current = v23FrameId(id);
    return current.isEmpty() ? id : current;
}

// The text of a text frame. Version 2.4 frames may hold several values: they are shown joined
// with "/", as version 2.3 writes them.
QString frameText(QByteArrayView body, int version)
{
    if (body.isEmpty())
        return {};
    if (version == 4)
        return cleanTagText(textValues(body).join(u'/'));
    return cleanTagText(decodeText(body.sliced(1), static_cast<unsigned char>(body[0])));
}

// The frames that give the record's fields.
bool givesField(QByteArrayView id)
{
    static constexpr const char *Ids[] = {"TPE1", "TALB", "TIT2", "TCOM", "TOPE", "TCOP", "TENC",
                                          "TRCK", "TYER", "TDRC", "TCON", "WXXX", "COMM", "APIC"};
    return std::any_of(std::begin(Ids), std::end(Ids),
                       [&](const char *known) { return id == known; });
}

struct Comment
{
    QString description;
    QString text;
};

Comment commentFrame(QByteArrayView body)
{
    if (body.size() < 4)
        return {};
    const int encoding = static_cast<unsigned char>(body[0]);
    QByteArrayView rest;
    Comment comment;
    comment.description = decodeText(body.sliced(4), encoding, &rest);
    comment.text = cleanMultiLineText(decodeText(rest, encoding));
    return comment;
}

// The URL of a WXXX body, or nullopt when it has a description: the field is the URL without
// one.
std::optional<QString> plainUrl(QByteArrayView body)
{
    QByteArrayView rest;
    if (!decodeText(body.sliced(1), static_cast<unsigned char>(body[0]), &rest).isEmpty())
        return std::nullopt;
    return cleanTagText(decodeText(rest, Latin1));
}

// The picture bytes of an APIC (or version 2.2 PIC) body.
QByteArray pictureData(QByteArrayView body, int version)
{
    if (body.size() < 2)
        return {};
    const int encoding = static_cast<unsigned char>(body[0]);
    QByteArrayView rest;
    if (version == 2) {
        if (body.size() < 5)
            return {};
        rest = body.sliced(4); // format, three letters
    } else {
        const qsizetype mimeEnd = body.indexOf('\0', 1);
        if (mimeEnd < 0)
            return {};
        rest = body.sliced(mimeEnd + 1);
    }
    if (rest.isEmpty())
        return {};
    rest = rest.sliced(1); // picture type
    decodeText(rest, encoding, &rest);
    return rest.toByteArray();
}

} // namespace

TypeTagV2 recordFromTag(const Id3v2Tag &parsed, FieldSources *sources)
{
    TypeTagV2 tag;
    tag.setGenre(NoGenre);
    FieldSources found;
    if (parsed.version == 0)
        return tag;

    QSet<QByteArray> taken;
    for (qsizetype index = 0; index < parsed.frames.size(); ++index) {
        const Id3v2Frame &frame = parsed.frames[index];
        const QByteArray id = normalisedId(frame.id, parsed.version);
        const QByteArray field = id == "TDRC" ? QByteArray("TYER") : id;
        const bool several = id == "COMM" || id == "WXXX" || id == "APIC";
        if ((!several && taken.contains(field)) || frame.body.isEmpty() || !givesField(id))
            continue;
        const std::optional<QByteArray> content = frameContent(frame, parsed.version);
        if (!content || content->isEmpty())
            continue;
        taken.insert(field);
        const QByteArrayView body = *content;
        const auto text = [&](V2Field f) {
            found[f] = index;
            return frameText(body, parsed.version);
        };
        if (id == "TPE1") {
            tag.setArtiste(text(V2Field::Artiste));
        } else if (id == "TALB") {
            tag.setAlbum(text(V2Field::Album));
        } else if (id == "TIT2") {
            tag.setTitre(text(V2Field::Titre));
        } else if (id == "TCOM") {
            tag.setCompositeur(text(V2Field::Compositeur));
        } else if (id == "TOPE") {
            tag.setOriginal(text(V2Field::Original));
        } else if (id == "TCOP") {
            tag.setCopyright(text(V2Field::Copyright));
        } else if (id == "TENC") {
            tag.setEncode(text(V2Field::Encode));
        } else if (id == "TRCK") {
            tag.setPiste(text(V2Field::Piste));
        } else if (id == "TYER") {
            tag.setAnnee(text(V2Field::Annee).left(6));
        } else if (id == "TDRC") {
            tag.setAnnee(text(V2Field::Annee).left(4)); // a timestamp: the year is its first part
        } else if (id == "TCON") {
            const QString genre = text(V2Field::Genre);
            tag.setGenre(genreFromText(genre));
            if (tag.Genre() == NoGenre)
                tag.setGenreTexte(genre);
        } else if (id == "WXXX") {
            // The first URL without description; described ones belong to other programs.
            const std::optional<QString> url = plainUrl(body);
            if (url && found[V2Field::Url] < 0) {
                found[V2Field::Url] = index;
                tag.setUrl(*url);
            }
        } else if (id == "COMM") {
            // The first comment without description; described ones ("iTunNORM", a note of
            // another program) are kept as they are and never shown in its place.
            const Comment comment = commentFrame(body);
            if (comment.description.isEmpty() && found[V2Field::Commentaire] < 0) {
                tag.setCommentaire(comment.text);
                found[V2Field::Commentaire] = index;
            }
        } else if (id == "APIC") {
            // The first frame that holds picture bytes gives the picture.
            const QByteArray data = pictureData(body, parsed.version);
            if (!data.isEmpty() && tag.PictureBinary().isEmpty()) {
                found[V2Field::Image] = index;
                tag.setPictureBinary(data);
            }
        }
    }
    tag.setValide(true);
    if (sources)
        *sources = found;
    return tag;
}

TypeTagV2 parseId3v2(QByteArrayView bytes)
{
    return recordFromTag(walkId3v2(bytes));
}

Result<QByteArray> readId3v2Bytes(const QString &fichier)
{
    const auto failure = [&](int error) {
        return Result<QByteArray>::failure(
            QCoreApplication::translate("tags", "Lecture impossible de « %1 » : %2")
                .arg(fichier, base::systemError(error)));
    };
    // Non-blocking, so that a named pipe does not hang the read.
    const base::Fd fd(
        open(base::nativePath(fichier).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return failure(errno);
    struct stat info;
    if (fstat(fd.get(), &info) != 0)
        return failure(errno);
    if (S_ISDIR(info.st_mode))
        return failure(EISDIR);
    if (!S_ISREG(info.st_mode))
        return Result<QByteArray>::failure(
            QCoreApplication::translate("tags", "« %1 » n'est pas un fichier ordinaire")
                .arg(fichier));
    QByteArray header(Id3v2HeaderSize, '\0');
    if (info.st_size < Id3v2HeaderSize)
        return QByteArray();
    if (!base::readAt(fd.get(), header.data(), Id3v2HeaderSize, 0))
        return failure(errno ? errno : EIO);
    const qint64 declared = id3v2DeclaredSize(header);
    if (declared == 0)
        return QByteArray();
    // The size comes from the file: never read or allocate beyond what the file holds.
    const qint64 size = std::min<qint64>(declared, info.st_size);
    QByteArray tag(qsizetype(size), '\0');
    if (!base::readAt(fd.get(), tag.data(), size, 0))
        return failure(errno ? errno : EIO);
    return tag;
}

Result<TypeTagV2> readTagV2(const QString &fichier)
{
    const Result<QByteArray> bytes = readId3v2Bytes(fichier);
    if (!bytes.ok())
        return Result<TypeTagV2>::failure(bytes.error());
    // The frames only live during the parse: they may point into the bytes read.
    return recordFromTag(walkId3v2Sharing(*bytes));
}

} // namespace tags
