#pragma once

#include "tags/tagresult.h"
#include "tags/tagsave.h"

#include <QByteArray>
#include <QString>

#include <optional>

#include <ctime>

namespace tags {

// What undoing one tag save of one file needs. A save changes only the start of a file (the
// ID3v2 tag, the bytes up to the first audio frame, the byte count of a Xing or VBRI header in
// that frame) and its last 128 bytes (the ID3v1 block); the audio between them is moved, never
// changed. The backup keeps the old bytes of those two regions and a fingerprint of the file as
// the save left it (size, modification time, hash of the new regions).
class TagBackup
{
public:
    // Reads the regions a save of the file may change: called just before the save.
    static Result<TagBackup> before(const QString &fichier);
    // Records the file as the save left it; a failure when it cannot be undone exactly.
    QString after();
    // Puts the old regions back and the old modification time, in place when the sizes allow it,
    // otherwise through base::rewriteFile. Refused, naming the file and touching nothing, when
    // the file is no longer as the save left it (another program changed it). The French text of
    // the failure, empty on success.
    QString restore() const;

    QString fichier() const { return m_fichier; }

private:
    struct Regions
    {
        qint64 size = 0;
        qint64 headLength = 0;
        QByteArray head;
        QByteArray tail; // the ID3v1 block, or empty
        struct timespec modified = {};
    };
    static Result<Regions> readRegions(int fd, const QString &fichier);
    static QByteArray fingerprint(const Regions &regions);

    QString m_fichier;
    Regions m_old;
    qint64 m_newSize = -1;
    qint64 m_newHeadLength = 0;
    qint64 m_newTailLength = 0;
    struct timespec m_newModified = {};
    QByteArray m_newFingerprint;
};

// saveTags, and in *backup what undoing it needs when the file was written (nullopt when
// nothing was written, or when the save cannot be undone exactly).
Result<SaveKind> saveTagsUndoable(const QString &fichier, const ChangesFromHeld &changes,
                                  std::optional<TagBackup> *backup, SaveOptions options = {});
Result<SaveKind> saveTagsUndoable(const QString &fichier, const TagChanges &changes,
                                  std::optional<TagBackup> *backup, SaveOptions options = {});

} // namespace tags
