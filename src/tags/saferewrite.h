#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tags {

// A few bytes to overwrite in the new content, at an offset of the new file.
struct Patch
{
    qint64 offset;
    QByteArray bytes;
};

// Replaces a file's content by `head` followed by the file's bytes from `keepFrom` to its end,
// then applies the patches. The new content is written to an unnamed temporary file in the
// file's own folder, the old bytes are copied in the kernel (never held in memory), the data
// reach the disk, and only then does the new file take the old one's name. On any failure the
// file is left as it was and no temporary file remains; the result is the French description
// of the failure, empty on success. Permission bits (and, for root, the owner) are kept; a
// symbolic link is followed and its target rewritten.
QString rewriteFile(const QString &fichier, const QByteArray &head, qint64 keepFrom,
                    const QList<Patch> &patches = {});

} // namespace tags
