#pragma once

#include <QString>
#include <QStringList>

#include <atomic>

namespace files {

// The files below a folder, read within bounds: a listing of "/" or of a whole disk ends with
// TooMany rather than reading for minutes and watching every folder of the disk.
struct FilesBelow
{
    enum class End { Complete, Stopped, TooMany };
    QStringList names;   // relative to the folder, sorted ignoring case; empty unless Complete
    QStringList folders; // the folders read, the folder first; empty unless Complete
    End end = End::Complete;
};

struct ListingBounds
{
    qsizetype files = 100000;
    qsizetype folders = 20000;
};

// The files matching `pattern` in `folder` and the folders below it (see base::listFilesBelow),
// unless `stop` is set meanwhile (from any thread) or there are more than `bounds` allow.
FilesBelow listFilesBelow(const QString &folder, const QString &pattern,
                          const std::atomic_bool &stop, ListingBounds bounds = {});

// The French text that tells a listing went past its bounds.
QString tooManyBelowText(ListingBounds bounds = {});

} // namespace files
