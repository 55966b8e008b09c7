#include "tags/tagbackup.h"

#include "base/fileaccess.h"
#include "base/saferewrite.h"
#include "tags/id3v1.h"

#include "mpeg/confirmedaudio.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tags {

namespace {

// Bytes kept after the first frame's start, its Xing or VBRI header included.
constexpr qint64 FrameSlack = 4096;
// Bytes of the audio compared before and after a save, to be sure the regions line up.
constexpr qint64 SampleLength = 64;

bool sameTime(const struct timespec &a, const struct timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

QByteArray readBytes(int fd, qint64 offset, qint64 length)
{
    QByteArray bytes(qsizetype(std::max<qint64>(length, 0)), '\0');
    return base::readAt(fd, bytes.data(), bytes.size(), offset) ? bytes : QByteArray();
}

QString cannotUndo(const QString &fichier)
{
    return QCoreApplication::translate("tags",
                                       "l'enregistrement de « %1 » ne pourra pas être annulé")
        .arg(base::shownPath(fichier));
}

} // namespace

Result<TagBackup::Regions> TagBackup::readRegions(int fd, const QString &fichier)
{
    using Read = Result<Regions>;
    const QString shown = base::shownPath(fichier);
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return Read::failure(
            QCoreApplication::translate("tags", "Lecture impossible de « %1 » : %2")
                .arg(shown, base::systemError(errno)));
    QFile device;
    if (!device.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return Read::failure(
            QCoreApplication::translate("tags", "Lecture impossible de « %1 »").arg(shown));
    const mpeg::AudioCheck audio = mpeg::checkMpegAudio(device);
    device.close();
    if (!audio.isMpeg())
        return Read::failure(
            QCoreApplication::translate("tags", "« %1 » n'est pas un fichier MP3").arg(shown));

    Regions regions;
    regions.size = info.st_size;
    regions.modified = info.st_mtim;
    if (regions.size >= Id3v1Size) {
        const QByteArray last = readBytes(fd, regions.size - Id3v1Size, Id3v1Size);
        if (isId3v1Block(last))
            regions.tail = last;
    }
    regions.headLength =
        std::min(audio.firstFrame + FrameSlack, regions.size - regions.tail.size());
    const qint64 sample =
        std::min(SampleLength, regions.size - regions.tail.size() - regions.headLength);
    regions.head = readBytes(fd, 0, regions.headLength + sample);
    if (regions.head.size() != regions.headLength + sample)
        return Read::failure(
            QCoreApplication::translate("tags", "Lecture impossible de « %1 » : %2")
                .arg(shown, base::systemError(errno)));
    return regions;
}

QByteArray TagBackup::fingerprint(const Regions &regions)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayView(regions.head).first(regions.headLength));
    hash.addData(regions.tail);
    return hash.result();
}

Result<TagBackup> TagBackup::before(const QString &fichier)
{
    const base::Fd fd(
        open(base::nativePath(fichier).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return Result<TagBackup>::failure(
            QCoreApplication::translate("tags", "Lecture impossible de « %1 » : %2")
                .arg(base::shownPath(fichier), base::systemError(errno)));
    const Result<Regions> regions = readRegions(fd.get(), fichier);
    if (!regions.ok())
        return Result<TagBackup>::failure(regions.error());
    TagBackup backup;
    backup.m_fichier = fichier;
    backup.m_old = *regions;
    return backup;
}

QString TagBackup::after()
{
    const base::Fd fd(
        open(base::nativePath(m_fichier).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    const Result<Regions> now = fd.get() < 0 ? Result<Regions>::failure(cannotUndo(m_fichier))
                                             : readRegions(fd.get(), m_fichier);
    if (!now.ok())
        return cannotUndo(m_fichier);
    // The audio between the regions must be the same length and start with the same bytes.
    const qint64 oldMiddle = m_old.size - m_old.headLength - m_old.tail.size();
    const qint64 newMiddle = now->size - now->headLength - now->tail.size();
    if (oldMiddle != newMiddle ||
        m_old.head.mid(m_old.headLength) != now->head.mid(now->headLength))
        return cannotUndo(m_fichier);
    m_newSize = now->size;
    m_newHeadLength = now->headLength;
    m_newTailLength = now->tail.size();
    m_newModified = now->modified;
    m_newFingerprint = fingerprint(*now);
    m_old.head.truncate(m_old.headLength);
    return {};
}

QString TagBackup::restore() const
{
    const QString shown = base::shownPath(m_fichier);
    const QByteArray path = base::nativePath(m_fichier);
    const QString changed =
        QCoreApplication::translate(
            "tags", "« %1 » a été modifié par un autre programme depuis l'enregistrement : il "
                    "n'a pas été restauré")
            .arg(shown);
    const auto failure = [&](int error) {
        return QCoreApplication::translate(
                   "tags", "Écriture impossible de « %1 » : %2 ; il n'a pas été entièrement "
                           "restauré")
            .arg(shown, base::systemError(error));
    };
    const base::Fd fd(open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == ENOENT
                   ? changed
                   : QCoreApplication::translate("tags", "Ouverture impossible de « %1 » : %2")
                         .arg(shown, base::systemError(errno));
    const Result<Regions> now = readRegions(fd.get(), m_fichier);
    if (!now.ok() || now->size != m_newSize || !sameTime(now->modified, m_newModified) ||
        now->headLength != m_newHeadLength || now->tail.size() != m_newTailLength ||
        fingerprint(*now) != m_newFingerprint)
        return changed;

    const struct timespec times[2] = {{0, UTIME_OMIT}, m_old.modified};
    if (m_old.headLength != m_newHeadLength) {
        struct stat info;
        if (fstat(fd.get(), &info) != 0)
            return failure(errno);
        base::Rewrite rewrite;
        rewrite.head = m_old.head;
        rewrite.keepFrom = m_newHeadLength;
        rewrite.keepTo = m_newSize - m_newTailLength;
        rewrite.trailer = m_old.tail;
        if (const QString error = base::rewriteFile(m_fichier, fd.get(), info, rewrite);
            !error.isEmpty())
            return error;
        utimensat(AT_FDCWD, path.constData(), times, 0);
        return {};
    }
    if (!base::writeAt(fd.get(), m_old.head.constData(), m_old.head.size(), 0))
        return failure(errno);
    const qint64 end = m_newSize - m_newTailLength;
    if (m_old.tail.isEmpty() ? ftruncate(fd.get(), off_t(end)) != 0
                             : !base::writeAt(fd.get(), m_old.tail.constData(), Id3v1Size, end))
        return failure(errno);
    if (fdatasync(fd.get()) != 0)
        return failure(errno);
    futimens(fd.get(), times);
    return {};
}

Result<SaveKind> saveTagsUndoable(const QString &fichier, const ChangesFromHeld &changes,
                                  std::optional<TagBackup> *backup, SaveOptions options)
{
    backup->reset();
    Result<TagBackup> taken = TagBackup::before(fichier);
    const Result<SaveKind> saved = saveTags(fichier, changes, options);
    if (saved.ok() && *saved != SaveKind::Unchanged && taken.ok() &&
        taken.value().after().isEmpty())
        *backup = *taken;
    return saved;
}

Result<SaveKind> saveTagsUndoable(const QString &fichier, const TagChanges &changes,
                                  std::optional<TagBackup> *backup, SaveOptions options)
{
    return saveTagsUndoable(
        fichier, [&changes](const TagType &) { return changes; }, backup, options);
}

} // namespace tags
