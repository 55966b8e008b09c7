#include "tags/tagsave.h"

#include "base/fileaccess.h"
#include "base/saferewrite.h"
#include "tags/id3v1.h"
#include "tags/id3v2convert.h"
#include "tags/id3v2frames.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"
#include "tags/tagpictures.h"

#include "mpeg/audiostart.h"
#include "mpeg/confirmedaudio.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tags {

namespace {

using Saved = Result<SaveKind>;

Saved refused(const QString &why)
{
    return Saved::failure(why);
}

// The JPEG bytes of a picture file chosen for the tag.
Result<QByteArray> readPicture(const QString &path)
{
    QFile file(path);
    const auto failure = [&] {
        return Result<QByteArray>::failure(
            QCoreApplication::translate("tags", "Lecture impossible de l'image « %1 » : %2")
                .arg(base::shownPath(path), file.errorString()));
    };
    if (!file.open(QIODevice::ReadOnly))
        return failure();
    if (file.size() > Id3v2MaxSize)
        return Result<QByteArray>::failure(
            QCoreApplication::translate(
                "tags", "L'image « %1 » est trop grande pour un tag ID3v2 : rien n'a été écrit")
                .arg(base::shownPath(path)));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure();
    if (!bytes.startsWith("\xFF\xD8\xFF"))
        return Result<QByteArray>::failure(
            QCoreApplication::translate("tags",
                                        "« %1 » n'est pas une image JPEG : rien n'a été écrit")
                .arg(base::shownPath(path)));
    return bytes;
}

} // namespace

Result<SaveKind> saveTags(const QString &fichier, const TagChanges &changes, SaveOptions options)
{
    return saveTags(
        fichier, [&changes](const TagType &) { return changes; }, options);
}

Result<SaveKind> saveTags(const QString &fichier, const ChangesFromHeld &changesFor,
                          SaveOptions options)
{
    const QString shown = base::shownPath(fichier);
    const QByteArray path = base::nativePath(fichier);
    const auto ioFailure = [&](int error) {
        return refused(QCoreApplication::translate("tags", "Lecture impossible de « %1 » : %2")
                           .arg(shown, base::systemError(error)));
    };
    const QString notRegular =
        QCoreApplication::translate("tags",
                                    "« %1 » n'est pas un fichier ordinaire : rien n'a été écrit")
            .arg(shown);

    // A device is never opened: opening some has effects of its own.
    struct stat info;
    if (stat(path.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return refused(notRegular);
    // One descriptor from the first read to the last write. Non-blocking, so that a named pipe
    // put in the file's place meanwhile does not hang the save.
    int writeError = 0;
    base::Fd fd(open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0 && errno == EISDIR)
        return refused(notRegular);
    if (fd.get() < 0 && (errno == EACCES || errno == EROFS || errno == EPERM || errno == ETXTBSY)) {
        writeError = errno;
        fd = base::Fd(open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    }
    if (fd.get() < 0 || fstat(fd.get(), &info) != 0)
        return ioFailure(errno);
    if (!S_ISREG(info.st_mode))
        return refused(notRegular);
    const qint64 size = info.st_size;

    QFile device;
    if (!device.open(fd.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return ioFailure(EIO);
    const mpeg::AudioCheck audio = mpeg::checkMpegAudio(device);
    const qint64 tagsEnd = mpeg::audioStart(device);
    device.close();
    if (!audio.isMpeg())
        return refused(QCoreApplication::translate(
                           "tags", "« %1 » n'est pas un fichier MP3 : rien n'a été écrit")
                           .arg(shown));

    // The ID3v2 tag that opens the file, read no further than the file goes.
    QByteArray oldTag;
    qint64 declared = 0;
    if (size >= Id3v2HeaderSize) {
        QByteArray header(Id3v2HeaderSize, '\0');
        if (!base::readAt(fd.get(), header.data(), Id3v2HeaderSize, 0))
            return ioFailure(errno);
        declared = id3v2DeclaredSize(header);
        oldTag.resize(qsizetype(std::min(declared, size)));
        if (!base::readAt(fd.get(), oldTag.data(), oldTag.size(), 0))
            return ioFailure(errno);
    }

    // The ID3v1 change.
    QByteArray oldBlock;
    if (size >= Id3v1Size) {
        oldBlock.resize(Id3v1Size);
        if (!base::readAt(fd.get(), oldBlock.data(), Id3v1Size, size - Id3v1Size))
            return ioFailure(errno);
        if (!isId3v1Block(oldBlock))
            oldBlock.clear();
    }
    const bool hasBlock = !oldBlock.isEmpty();

    // The frames point into oldTag, which lives until the end of the save.
    const Id3v2Tag tag = walkId3v2Sharing(oldTag);
    TagType held;
    held.TagV1 = parseId3v1(oldBlock);
    held.TagV2 = recordFromTag(tag);
    const TagChanges changes = changesFor(held);

    bool v1Change = changes.removeV1 && hasBlock;
    QByteArray newBlock;
    if (!changes.removeV1 && changes.v1 && changes.v1->Valide() &&
        !(hasBlock && parseId3v1(oldBlock) == *changes.v1)) {
        const std::optional<QByteArray> block = renderId3v1(*changes.v1, oldBlock);
        if (!block)
            return refused(QCoreApplication::translate(
                               "tags", "Piste %1 hors de 0 à 255, impossible en ID3v1 : rien "
                                       "n'a été écrit dans « %2 »")
                               .arg(changes.v1->Piste())
                               .arg(shown));
        if (size < Id3v1Size)
            return refused(QCoreApplication::translate(
                               "tags", "« %1 » est trop court pour un tag ID3v1 : rien n'a été "
                                       "écrit")
                               .arg(shown));
        newBlock = *block;
        v1Change = true;
    }

    // The ID3v2 change, made on the frames of the version the tag is written in.
    std::optional<QList<Id3v2Frame>> frames;
    bool removeTag = false;
    const int version = savedVersion(tag, changes.v23);
    if (changes.v2 && !changes.v2->Valide()) {
        removeTag = declared > 0;
    } else if (changes.v2 || changes.pictures || !changes.frames.isEmpty() ||
               !changes.userTexts.isEmpty() || !changes.frameEdits.isEmpty()) {
        QByteArray picture;
        if (changes.v2 && !changes.v2->picturePath().isEmpty()) {
            const Result<QByteArray> read = readPicture(changes.v2->picturePath());
            if (!read.ok())
                return refused(read.error());
            picture = *read;
        }
        const auto failed = [&](const QString &error) {
            return refused(QCoreApplication::translate("tags", "« %1 » : %2 ; rien n'a été écrit")
                               .arg(shown, error));
        };
        if (changes.v2) {
            const Result<std::optional<QList<Id3v2Frame>>> edited =
                editFrames(tag, *changes.v2, picture, version);
            if (!edited.ok())
                return failed(edited.error());
            frames = *edited;
        }
        // Each later edit starts from the frames the earlier ones left, or from the tag's own.
        const auto edit = [&](const auto &change) -> QString {
            QList<Id3v2Frame> current;
            if (frames) {
                current = *frames;
            } else {
                const Result<QList<QList<Id3v2Frame>>> converted = framesAs(tag, version);
                if (!converted.ok())
                    return converted.error();
                current = flattenFrames(*converted);
            }
            const Result<std::optional<QList<Id3v2Frame>>> edited = change(current);
            if (!edited.ok())
                return edited.error();
            if (*edited)
                frames = **edited;
            return {};
        };
        QString error;
        if (changes.pictures)
            error = edit([&](const QList<Id3v2Frame> &current) {
                return editPictures(current, *changes.pictures);
            });
        if (error.isEmpty() && !changes.frames.isEmpty())
            error = edit([&](const QList<Id3v2Frame> &current) {
                return editTagFrames(current, version, changes.frames);
            });
        if (error.isEmpty() && !changes.userTexts.isEmpty())
            error = edit(
                [&](const QList<Id3v2Frame> &current) -> Result<std::optional<QList<Id3v2Frame>>> {
                    return editUserTexts(current, changes.userTexts);
                });
        if (error.isEmpty() && !changes.frameEdits.isEmpty())
            error = edit(
                [&](const QList<Id3v2Frame> &current) -> Result<std::optional<QList<Id3v2Frame>>> {
                    return editNamedFrames(current, changes.frameEdits);
                });
        if (!error.isEmpty())
            return failed(error);
        if (frames && tag.tooManyFrames)
            return refused(QCoreApplication::translate(
                               "tags", "Le tag ID3v2 de « %1 » a plus de %2 trames : rien n'a "
                                       "été écrit")
                               .arg(shown)
                               .arg(MaxFrames));
        if (frames && tag.unread)
            return refused(QCoreApplication::translate(
                               "tags", "Le tag ID3v2 de « %1 » contient des octets illisibles "
                                       "qu'une réécriture perdrait : rien n'a été écrit")
                               .arg(shown));
    }
    if (!v1Change && !frames && !removeTag)
        return SaveKind::Unchanged;

    if (writeError != 0 || !base::mayWrite(info, path))
        return refused(
            QCoreApplication::translate("tags",
                                        "« %1 » est en lecture seule (%2) : rien n'a été écrit")
                .arg(shown, writeError == EROFS
                                ? base::systemError(EROFS)
                                : QCoreApplication::translate("tags", "accès en écriture refusé")));

    // The new tag goes in the old one's place when it fits there.
    QByteArray newTag;
    bool inPlace = !removeTag;
    if (frames) {
        Result<QByteArray> rendered = declared > 0 && declared <= size
                                          ? renderTag(*frames, declared, version)
                                          : renderTag(*frames, 0, version, changes.padding);
        inPlace = declared > 0 && declared <= size && rendered.ok();
        if (!inPlace)
            rendered = renderTag(*frames, 0, version, changes.padding);
        if (!rendered.ok())
            return refused(QCoreApplication::translate("tags", "« %1 » : %2 ; rien n'a été écrit")
                               .arg(shown, rendered.error()));
        newTag = *rendered;
        frames.reset();
    }

    if (inPlace) {
        if (!base::unchangedSince(fd.get(), info))
            return refused(base::changedMeanwhile(fichier));
        // Puts back what was there, so that a failed save leaves the file as it was.
        const auto undo = [&](int error, bool tagWritten) {
            if (tagWritten)
                base::writeAt(fd.get(), oldTag.constData(), oldTag.size(), 0);
            if (v1Change && hasBlock)
                base::writeAt(fd.get(), oldBlock.constData(), Id3v1Size, size - Id3v1Size);
            if (v1Change && ftruncate(fd.get(), off_t(size)) != 0)
                error = errno;
            fdatasync(fd.get());
            return refused(QCoreApplication::translate(
                               "tags", "Écriture impossible de « %1 » : %2 ; le fichier est "
                                       "resté tel quel")
                               .arg(shown, base::systemError(error)));
        };
        if (v1Change) {
            const bool done = changes.removeV1
                                  ? ftruncate(fd.get(), off_t(size - Id3v1Size)) == 0
                                  : base::writeAt(fd.get(), newBlock.constData(), Id3v1Size,
                                                  hasBlock ? size - Id3v1Size : size);
            if (!done)
                return undo(errno, false);
        }
        if (!newTag.isEmpty() && !base::writeAt(fd.get(), newTag.constData(), newTag.size(), 0))
            return undo(errno, true);
        if (options.syncNow && fdatasync(fd.get()) != 0)
            return undo(errno, !newTag.isEmpty());
        return SaveKind::InPlace;
    }

    // The ID3v2 tags that follow the first one go with the new tag (a removal takes them all);
    // what stands between them and the first frame does not. The byte count of a Xing or VBRI
    // header is that of the audio from its frame on, which is copied as it is.
    base::Rewrite rewrite;
    rewrite.head = newTag;
    if (!removeTag && declared > 0 && tagsEnd > declared) {
        QByteArray following(qsizetype(tagsEnd - declared), '\0');
        if (!base::readAt(fd.get(), following.data(), following.size(), declared))
            return ioFailure(errno);
        rewrite.head += following;
    }
    rewrite.keepFrom = audio.firstFrame;
    rewrite.keepTo = size - (v1Change && hasBlock ? Id3v1Size : 0);
    rewrite.trailer = newBlock;
    oldTag.clear();
    const QString error = base::rewriteFile(fichier, fd.get(), info, rewrite);
    if (!error.isEmpty())
        return refused(error);
    return SaveKind::Rewritten;
}

Result<bool> saveChanges(const QString &fichier, const TagChanges &changes)
{
    const Result<SaveKind> saved = saveTags(fichier, changes);
    if (!saved.ok())
        return Result<bool>::failure(saved.error());
    return true;
}

} // namespace tags
