#pragma once

#include <QString>
#include <QtGlobal>

class QIODevice;

namespace mpeg {

// The fields of a four-byte MPEG audio frame header that tell where the next frame starts.
struct FrameHeader
{
    bool valid = false;
    bool mpeg1 = false;
    int layer = 0;     // 1, 2 or 3
    int bitRate = 0;   // kbit/s
    int frequency = 0; // Hz
    bool padded = false;
    bool mono = false;
    qint64 length = 0; // bytes, header included

    // Same version, layer and sampling frequency: the marks of the same stream.
    bool sameStream(const FrameHeader &other) const;
};

// Decodes a header given most significant byte first. Free-format and reserved values are not
// valid: their frame length cannot be known.
FrameHeader decodeFrameHeader(quint32 header);

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
