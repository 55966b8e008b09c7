#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

namespace cd {

// The content of a "fmt " chunk, as the file states it.
struct WavFormat
{
    quint16 formatTag = 0;
    quint16 channels = 0;
    quint32 samplesPerSec = 0;
    quint32 bytesPerSec = 0;
    quint16 blockAlign = 0;
    quint16 bitsPerSample = 0;
};

inline constexpr int wavHeaderBytes = 44;
// The format tag of IEEE float samples.
inline constexpr quint16 wavFormatFloat = 3;

// The 44-byte header of a CD-audio WAV file (PCM, 2 channels, 44100 Hz, 16 bits) whose "data"
// chunk holds dataBytes bytes.
QByteArray wavHeader(quint32 dataBytes);

// Where the format and the samples of a WAV stream lie.
struct WavLayout
{
    std::optional<WavFormat> format;
    quint16 sampleFormat = 0; // the format tag, resolved through WAVE_FORMAT_EXTENSIBLE
    bool hasData = false;
    qint64 dataOffset = 0; // position of the first sample byte
    qint64 dataSize = 0;   // never beyond the end of the stream
};

// Walks the chunks of a RIFF/RF64 WAV stream from its start, skipping unknown chunks and the pad
// byte after a chunk of odd size. Sizes are checked against the bytes that exist; the first
// "fmt " and the first "data" chunk count. Reads headers only, never the samples.
WavLayout parseWavChunks(QIODevice &device);

// A WAV file ready for conversion: its format and where its samples lie. When wavLoaded is
// false, error holds a French message naming the file.
struct WavFile
{
    QString fileName;
    bool wavLoaded = false;
    WavFormat wavFormat;
    quint16 sampleFormat = 0;
    int bytesPerSample = 0; // container size of one sample of one channel
    qint64 dataOffset = 0;
    qint64 dataSize = 0;
    QString error;

    qint64 frameCount() const
    {
        return bytesPerSample ? dataSize / (bytesPerSample * wavFormat.channels) : 0;
    }
};

// Parses fileName and checks that its samples can be converted to 16-bit PCM: 1 or 2
// channels of 8, 16, 24 or 32-bit integer or 32/64-bit float samples.
WavFile loadWavFile(const QString &fileName);
// The same checks on an open stream; fileName only names it in messages.
WavFile loadWavFile(QIODevice &device, const QString &fileName);

// Converts one sample of the given container size and format to 16-bit, rounding to nearest.
qint16 sampleTo16(const char *sample, int bytesPerSample, bool isFloat);

} // namespace cd
