#pragma once

#include "mpeg/frameheader.h"

#include <QString>
#include <QtGlobal>

class QIODevice;

namespace mpeg {

class ByteReader;

// What a writer needs to know before it touches a file: whether its audio is MPEG.
struct AudioCheck
{
    // Offset of the first confirmed frame: a valid header followed, at its frame length, by
    // another header of the same stream, by the end of the file or by an ID3v1 block. -1 when
    // there is none.
    qint64 firstFrame = -1;
    FrameHeader header; // of that frame; a free-format frame gets its measured length
    QString container;  // the name of another container the file is, or empty
    bool isMpeg() const { return firstFrame >= 0 && container.isEmpty(); }
};

// Looks at the start of the audio (after the ID3v2 tags that open the file and any zero
// padding after them) for a confirmed frame, within a short distance so that a file of
// another kind is not taken for MPEG because of a chance pattern deep inside it. Reads only a
// few kilobytes whatever the file's size. Every RIFF file counts as another container: tags
// are written into bare MPEG streams only.
AudioCheck checkMpegAudio(QIODevice &device);

// The name of the container a file is when what it holds is not MPEG audio ("FLAC", "Ogg",
// "MP4", "WAV (RIFF)", "AAC (ADTS)"...), looked for at its start and after its ID3v2 tags; empty
// for an MPEG stream. A RIFF file whose format chunk says MPEG, or that has none, holds MPEG.
QString nonMpegContainer(ByteReader &in);
QString nonMpegContainer(QIODevice &device);

// The length, padding included, of the free-format frame whose header stands at `pos`: the
// distance to the next header of the same stream, confirmed by the header after it (or the end
// of the file, or an ID3v1 block). 0 when there is no such header within the longest frame
// the format allows, or when it is not confirmed.
qint64 freeFormatLength(ByteReader &in, qint64 pos);

} // namespace mpeg
