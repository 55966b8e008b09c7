#pragma once

#include "mpeg/frameheader.h"

#include <QString>
#include <QtGlobal>

class QIODevice;

namespace mpeg {

// What a writer needs to know before it touches a file: whether its audio is MPEG.
struct AudioCheck
{
    // Offset of the first confirmed frame: a valid header followed, at its frame length, by
    // another header of the same stream, by the end of the file or by an ID3v1 block. -1 when
    // there is none.
    qint64 firstFrame = -1;
    FrameHeader header; // of that frame
    QString container;  // the name of another container the file is, or empty
    bool isMpeg() const { return firstFrame >= 0 && container.isEmpty(); }
};

// Looks at the start of the audio (after the ID3v2 tags that open the file and any zero
// padding after them) for a confirmed frame, within a short distance so that a file of
// another kind is not taken for MPEG because of a chance pattern deep inside it. Reads only a
// few kilobytes whatever the file's size.
AudioCheck checkMpegAudio(QIODevice &device);

} // namespace mpeg
