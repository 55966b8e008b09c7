#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace testsupport {

// The fields of one MPEG audio frame header, read independently of the code under test.
struct Mp3Frame
{
    int version = 0; // 1, 2 or 25 (MPEG-2.5)
    int layer = 0;
    int bitrate = 0; // kbit/s
    int sampleRate = 0;
    int mode = 0; // 0 stereo, 1 joint, 2 dual, 3 mono
    bool crc = false;
    bool original = false;
    bool copyright = false;
};

// Walks a stream of Layer III frames from offset 0; stops at the first byte that does not
// start a frame. `rest` receives the number of bytes left after the last whole frame.
QList<Mp3Frame> mp3Frames(const QByteArray &bytes, qsizetype *rest = nullptr);

// Decodes an MP3 file with mpg123 into 16-bit PCM; empty when mpg123 is missing or fails.
QByteArray decodeWithMpg123(const QString &mp3Path);

} // namespace testsupport
