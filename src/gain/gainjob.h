#pragma once

#include "gain/loudnessmeter.h"
#include "gain/replaygain.h"
#include "tags/tagbatch.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace gain {

// The measure of one file.
struct FileGain
{
    QString path;
    Loudness track;
    std::optional<Loudness> album; // that of the file's album, when albums were measured
    QString error;                 // French; empty when the file was measured
};

// The album of each file, as an index shared by the files of one album: files of one folder
// whose album tag (ID3v2, else ID3v1) is the same text, an empty one included.
QList<int> albumGroups(const QStringList &files);

// Decodes and measures the files, several at once (one per processor). With albums, each
// album of albumGroups is also measured as a whole, from the files of it that could be
// measured. The control's progress counts measured files; once it is cancelled, the files not
// started get cancelledText() and no album is measured. Touches no widget.
QList<FileGain> measureGain(const QStringList &files, bool albums,
                            const tags::BatchControl &control = {});

// The measure of one file (no album); stops early, giving cancelledText(), when cancel is set.
FileGain measureFile(const QString &path, const std::atomic_bool *cancel = nullptr);

// The save that writes a measured file's ReplayGain texts (and RVA2 frames, when the options ask)
// into its ID3v2 tag (made when the file has none); nullopt for a file in error or silent. The
// one that removes the texts and the RVA2 frames "track" and "album" from the files that have an
// ID3v2 tag.
std::optional<tags::FieldEdit> gainEdit(const FileGain &gain, const GainOptions &options = {});
tags::FieldEdit clearGainEdit();

} // namespace gain
