// Feeds arbitrary bytes, as a whole file, to the MPEG stream analysis (all layers, then
// Layers II and III only), to the audio start helper and to the check a save makes (free-format
// streams included), and checks their results stay within the file.
#include "mpeg/audiostart.h"
#include "mpeg/confirmedaudio.h"
#include "mpeg/typetagmpeg.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qint64 length = qint64(size);

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const qint64 start = mpeg::audioStart(buffer);
    if (start < 0 || start > length)
        abort();

    // A confirmed frame starts after the tags; a free-format one is followed by the header its
    // length leads to.
    const mpeg::AudioCheck check = mpeg::checkMpegAudio(buffer);
    if (check.firstFrame >= 0) {
        const qint64 end = check.firstFrame + check.header.length;
        if (check.firstFrame < start || !check.header.valid || check.header.length <= 4 ||
            end > length || (check.header.freeFormat && end + 4 > length))
            abort();
    }
    const bool otherContainer = !mpeg::nonMpegContainer(buffer).isEmpty();

    for (bool coucheIIouIII : {false, true}) {
        const mpeg::TypeTagMpeg r = mpeg::analyseMpeg(bytes, coucheIIouIII);
        if (r == mpeg::TypeTagMpeg())
            continue;
        if (otherContainer)
            abort();
        if (r.EntetePos() < 0 || r.EntetePos() + 1 >= length || r.Taille() != length)
            abort();
        if (r.BitRate() < 0 || r.BitRate() > mpeg::MaxBitRate || r.Duree() < 0 || r.Frames() < 0)
            abort();
        if (coucheIIouIII && r.Layer() != QLatin1String("II") && r.Layer() != QLatin1String("III"))
            abort();
    }
    return 0;
}
