// Feeds arbitrary bytes, as a whole file, to the ID3v1 reader, then checks that a block read
// from them renders and parses back to the same record.
#include "tags/id3v1.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const int fd = memfd_create("fuzz_id3v1", 0);
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size))
        abort();

    const tags::TypeTagV1 tag = tags::readTagV1(path);
    if (!tag.Valide())
        return 0;
    const std::optional<QByteArray> block = tags::renderId3v1(tag);
    if (!block || block->size() != tags::Id3v1Size)
        abort();
    if (!(tags::parseId3v1(*block) == tag))
        abort();
    return 0;
}
