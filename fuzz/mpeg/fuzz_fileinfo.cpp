// Feeds arbitrary bytes, as a whole file, to the file-information reader and checks that the
// header it reports lies within the file and that its texts are filled together.
#include "mpeg/fileinfo.h"

#include <QBuffer>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QLocale french(QLocale::French, QLocale::France);
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);

    mpeg::FileInfo info;
    mpeg::readFileInfo(buffer, info, french);
    if (info.mpeg) {
        if (info.headerPosition < 1 || info.headerPosition >= qint64(size))
            abort();
        if (info.size.isEmpty() || info.version.isEmpty() || info.xing.isEmpty())
            abort();
    } else if (!info.size.isEmpty() || !info.duration.isEmpty() || info.headerPosition != 0) {
        abort();
    }
    if (info.id3v1 && size < 128)
        abort();
    return 0;
}
