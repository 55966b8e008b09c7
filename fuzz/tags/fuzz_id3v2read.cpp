// Feeds arbitrary bytes, as a whole file, to the ID3v2 reader (versions 2.2, 2.3 and 2.4).
#include "tags/id3v2reader.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const int fd = memfd_create("fuzz_id3v2read", 0);
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size))
        abort();

    const tags::Result<QByteArray> tag = tags::readId3v2Bytes(path);
    if (!tag.ok() || tag->size() > qsizetype(size))
        abort();
    // Picture decoding is the image library's business, not ours: leave it out.
    const tags::TypeTagV2 record = tags::parseId3v2(*tag);
    if (record.Valide() != (tag->size() > 0))
        abort();
    return 0;
}
