#pragma once

#include "tags/id3v2frames.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tags {

// A frame the editor has no field for, set to a value: a text frame ("TPE2", "TPOS"), a
// user text frame ("TXXX", `key` its description) or a unique file identifier ("UFID", `key`
// its owner, `value` the identifier), or a frame given whole by its body ("RVA2", `key` its
// identification). An empty value with no body removes the frame.
struct FrameEdit
{
    QByteArray id;
    QString key;
    QString value;
    QByteArray body{}; // the frame's whole body, compared byte for byte; `value` is then unused

    friend bool operator==(const FrameEdit &, const FrameEdit &) = default;
};

// The version 2.3 frames once the edits are made: each edit replaces the first frame of its
// identifier (and key) whose content differs, or adds one at the end; the other frames stay as
// they are. nullopt when every frame already holds its value.
std::optional<QList<Id3v2Frame>> editNamedFrames(const QList<Id3v2Frame> &frames,
                                                 const QList<FrameEdit> &edits);

// The value a version 2.3 frame list holds for an edit's identifier and key; empty when none.
QString namedFrameValue(const QList<Id3v2Frame> &frames, const QByteArray &id, const QString &key);

} // namespace tags
