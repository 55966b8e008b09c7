// Feeds arbitrary bytes, as a whole file, to the MPEG stream analysis (all layers, then
// Layers II and III only) and to the audio start helper, and checks their results stay within
// the file.
#include "mpeg/audiostart.h"
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

    for (bool coucheIIouIII : {false, true}) {
        const mpeg::TypeTagMpeg r = mpeg::analyseMpeg(bytes, coucheIIouIII);
        if (r == mpeg::TypeTagMpeg())
            continue;
        if (r.EntetePos() < 0 || r.EntetePos() + 1 >= length || r.Taille() != length)
            abort();
        if (r.BitRate() < 0 || r.Duree() < 0 || r.Frames() < 0)
            abort();
        if (coucheIIouIII && r.Layer() != QLatin1String("II") && r.Layer() != QLatin1String("III"))
            abort();
    }
    return 0;
}
