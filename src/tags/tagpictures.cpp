#include "tags/tagpictures.h"

#include "base/fileaccess.h"
#include "base/windows1252.h"
#include "tags/id3v2convert.h"
#include "tags/id3v2reader.h"

#include <QCoreApplication>
#include <QFile>

namespace tags {

namespace {

// The picture of an APIC body (PIC for version 2.2); nullopt when the body is cut short.
std::optional<TagPicture> parsePicture(QByteArrayView body, int version)
{
    if (body.size() < 2)
        return std::nullopt;
    const int encoding = static_cast<unsigned char>(body[0]);
    TagPicture picture;
    QByteArrayView rest;
    if (version == 2) {
        if (body.size() < 5)
            return std::nullopt;
        const QByteArray format = body.sliced(1, 3).toByteArray().toUpper();
        picture.mime = format == "JPG"
                           ? QStringLiteral("image/jpeg")
                           : QStringLiteral("image/") + QString::fromLatin1(format).toLower();
        rest = body.sliced(4);
    } else {
        const qsizetype mimeEnd = body.indexOf('\0', 1);
        if (mimeEnd < 0 || mimeEnd + 1 >= body.size())
            return std::nullopt;
        picture.mime = QString::fromLatin1(body.sliced(1, mimeEnd - 1));
        rest = body.sliced(mimeEnd + 1);
    }
    picture.type = static_cast<unsigned char>(rest[0]);
    picture.description = decodeText(rest.sliced(1), encoding, &rest);
    picture.data = rest.toByteArray();
    return picture;
}

bool isPictureFrame(const Id3v2Frame &frame)
{
    return frame.id == "APIC" || frame.id == "PIC";
}

QByteArray pictureBody(const QString &mime, int type, const QString &description,
                       const QByteArray &data)
{
    const QByteArray text = encodedText(description);
    const QByteArray terminator(text.startsWith(char(Latin1)) ? 1 : 2, '\0');
    return text.left(1) + mime.toLatin1() + '\0' + char(type) + text.mid(1) + terminator + data;
}

Result<SaveKind> savePictures(const QString &fichier, const PictureEdit &edit)
{
    TagChanges changes;
    changes.pictures = edit;
    return saveTags(fichier, changes);
}

} // namespace

QList<TagPicture> picturesOf(const Id3v2Tag &tag)
{
    QList<TagPicture> pictures;
    for (const Id3v2Frame &frame : tag.frames) {
        if (frame.opaque || !isPictureFrame(frame))
            continue;
        if (const std::optional<TagPicture> picture = parsePicture(frame.body, tag.version))
            pictures.append(*picture);
    }
    return pictures;
}

Result<QList<TagPicture>> readPictures(const QString &fichier)
{
    const Result<QByteArray> bytes = readId3v2Bytes(fichier);
    if (!bytes.ok())
        return Result<QList<TagPicture>>::failure(bytes.error());
    return picturesOf(walkId3v2(*bytes));
}

QString imageMime(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("image/jpeg");
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return QStringLiteral("image/png");
    return {};
}

Result<QByteArray> readImageFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result<QByteArray>::failure(
            QCoreApplication::translate("tags", "Lecture impossible de l'image « %1 » : %2")
                .arg(base::shownPath(path), file.errorString()));
    if (file.size() > Id3v2MaxSize)
        return Result<QByteArray>::failure(
            QCoreApplication::translate("tags", "L'image « %1 » est trop grande pour un tag ID3v2")
                .arg(base::shownPath(path)));
    const QByteArray bytes = file.readAll();
    if (imageMime(bytes).isEmpty())
        return Result<QByteArray>::failure(
            QCoreApplication::translate("tags", "« %1 » n'est pas une image JPEG ou PNG")
                .arg(base::shownPath(path)));
    return bytes;
}

Result<std::optional<QList<Id3v2Frame>>> editPictures(const QList<Id3v2Frame> &frames,
                                                      const PictureEdit &edit)
{
    using Edited = Result<std::optional<QList<Id3v2Frame>>>;
    QList<Id3v2Frame> result;
    bool changed = false;
    if (edit.action != PictureEdit::SetFrontCover) {
        qsizetype index = 0;
        for (const Id3v2Frame &frame : frames) {
            const bool drop = isPictureFrame(frame) && (edit.action == PictureEdit::RemoveAll ||
                                                        (!frame.opaque && index++ == edit.index));
            changed = changed || drop;
            if (!drop)
                result.append(frame);
        }
        if (!changed && edit.action == PictureEdit::RemoveOne)
            return Edited::failure(
                QCoreApplication::translate("tags", "le tag n'a pas d'image n° %1")
                    .arg(edit.index + 1));
        return changed ? std::optional(result) : std::nullopt;
    }

    const QString mime = imageMime(edit.image);
    if (mime.isEmpty())
        return Edited::failure(QCoreApplication::translate("tags", "l'image n'est ni JPEG ni PNG"));
    qsizetype cover = -1, firstPicture = -1;
    for (qsizetype i = 0; i < frames.size(); ++i) {
        if (frames[i].opaque || !isPictureFrame(frames[i]))
            continue;
        if (firstPicture < 0)
            firstPicture = i;
        const std::optional<TagPicture> picture = parsePicture(frames[i].body, 3);
        if (picture && picture->type == FrontCover) {
            cover = i;
            break;
        }
    }
    Id3v2Frame frame;
    frame.id = "APIC";
    result = frames;
    if (cover >= 0) {
        const TagPicture old = *parsePicture(frames[cover].body, 3);
        if (old.mime == mime && old.data == edit.image)
            return std::optional<QList<Id3v2Frame>>();
        frame.body = pictureBody(mime, FrontCover, old.description, edit.image);
        result[cover] = frame;
    } else {
        frame.body = pictureBody(mime, FrontCover, {}, edit.image);
        result.insert(std::max<qsizetype>(firstPicture, 0), frame);
    }
    return std::optional(result);
}

Result<SaveKind> setFrontCover(const QString &fichier, const QByteArray &image)
{
    return savePictures(fichier, {PictureEdit::SetFrontCover, image, 0});
}

Result<SaveKind> removePicture(const QString &fichier, qsizetype index)
{
    return savePictures(fichier, {PictureEdit::RemoveOne, {}, index});
}

Result<SaveKind> removePictures(const QString &fichier)
{
    return savePictures(fichier, {PictureEdit::RemoveAll, {}, 0});
}

} // namespace tags
