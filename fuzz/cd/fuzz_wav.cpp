// Feeds arbitrary bytes to the WAV chunk walk and, when it accepts them, converts every sample
// it points at to 16 bits, as the conversion to MP3 does.
#include "cd/wavfile.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    const cd::WavFile wav = cd::loadWavFile(buffer, QStringLiteral("fuzz.wav"));
    if (!wav.wavLoaded)
        return 0;
    if (wav.dataOffset < 0 || wav.dataSize < 0 || wav.dataOffset + wav.dataSize > qint64(size))
        __builtin_trap();
    const char *samples = reinterpret_cast<const char *>(data) + wav.dataOffset;
    const qint64 count = wav.frameCount() * wav.wavFormat.channels;
    int sum = 0;
    for (qint64 i = 0; i < count; ++i)
        sum += cd::sampleTo16(samples + i * wav.bytesPerSample, wav.bytesPerSample,
                              wav.sampleFormat == 3);
    return sum == 0x7fffffff ? 1 : 0;
}
