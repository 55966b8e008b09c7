#pragma once

#include "tags/id3v2frames.h"
#include "tags/tagresult.h"
#include "tags/tagsave.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace tags {

// The pictures of an ID3v2 tag (APIC frames, PIC in version 2.2), in the tag's order. A picture's
// index is its position in this list; compressed or encrypted frames are not listed.

struct TagPicture
{
    int type = 0; // 3: front cover, 4: back cover ... (0: other)
    QString mime; // "image/jpeg", "image/png"; a version 2.2 format "JPG" gives image/jpeg
    QString description;
    QByteArray data;
};

// The picture type players show as the album's cover.
constexpr int FrontCover = 3;

QList<TagPicture> picturesOf(const Id3v2Tag &tag);

// The pictures of the tag that opens the file; empty when it has no tag.
Result<QList<TagPicture>> readPictures(const QString &fichier);

// The MIME type of image bytes, from their signature: "image/jpeg", "image/png", or empty.
QString imageMime(QByteArrayView bytes);

// The bytes of a JPEG or PNG file chosen for a tag; a failure names the file.
Result<QByteArray> readImageFile(const QString &path);

// The version 2.3 frames once the picture edit is made, or nullopt when it changes nothing:
// a front cover replaces the first front cover (its description kept) or, when there is none,
// comes before the first picture (or first of all); removals drop APIC frames. A cover that is
// neither JPEG nor PNG is refused.
Result<std::optional<QList<Id3v2Frame>>> editPictures(const QList<Id3v2Frame> &frames,
                                                      const PictureEdit &edit);

// Through saveTags, every other frame and the ID3v1 block kept:
// sets or replaces the front cover (JPEG or PNG bytes);
Result<SaveKind> setFrontCover(const QString &fichier, const QByteArray &image);
// removes the picture at index;
Result<SaveKind> removePicture(const QString &fichier, qsizetype index);
// removes every picture.
Result<SaveKind> removePictures(const QString &fichier);

} // namespace tags
