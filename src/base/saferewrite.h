#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

namespace base {

// The content of the new file: `head`, the old file's bytes from keepFrom to keepTo, then
// `trailer`.
struct Rewrite
{
    QByteArray head;
    qint64 keepFrom = 0;
    qint64 keepTo = 0;
    QByteArray trailer;
};

// Replaces the file open as `fd` (whose status was `before` when it was read) by new content.
// The new content is written to an unnamed temporary file in the file's own folder, the old
// bytes are copied in the kernel (never held in memory), the data reach the disk, and only then
// does the new file take the old one's name. Permission bits, owner, extended attributes and
// ACLs are kept; a symbolic link is followed and its target rewritten. Refused, the file left as
// it is, when the file has other hard links, when its owner or attributes cannot be kept, and
// when another program changed or replaced it since `before`. On any failure no temporary file
// remains; temporary files a killed save left beside the file are removed. The result is the
// French description of the failure, empty on success.
QString rewriteFile(const QString &fichier, int fd, const struct stat &before,
                    const Rewrite &rewrite);

// True when the file still is what `before` describes: same file, size and modification time.
bool unchangedSince(int fd, const struct stat &before);

// The message for a file another program changed during a save.
QString changedMeanwhile(const QString &fichier);

} // namespace base
