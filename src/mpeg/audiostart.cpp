#include "mpeg/audiostart.h"

#include "mpeg/bytereader.h"

#include <QFile>

namespace mpeg {

qint64 id3v2TagSize(QByteArrayView header)
{
    if (header.size() < 10 || !header.startsWith("ID3"))
        return 0;
    const uchar major = uchar(header[3]);
    if (major < 2 || major > 4 || uchar(header[4]) == 0xFF)
        return 0;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i) {
        const uchar b = uchar(header[i]);
        if (b & 0x80) // sizes are synchsafe: a set high bit means this is no tag header
            return 0;
        size = (size << 7) | b;
    }
    const bool footer = major == 4 && (uchar(header[5]) & 0x10);
    return 10 + size + (footer ? 10 : 0);
}

qint64 audioStart(ByteReader &reader)
{
    qint64 pos = 0;
    // Each tag is at least 10 bytes long, so the walk ends within the file.
    while (pos < reader.size()) {
        const qint64 tag = id3v2TagSize(reader.bytes(pos, 10));
        if (tag == 0)
            break;
        pos += tag;
    }
    return qMin(pos, reader.size());
}

qint64 audioStart(QIODevice &device)
{
    ByteReader reader(device, device.size(), 4096);
    return audioStart(reader);
}

qint64 audioStart(const QString &fichier)
{
    QFile file(fichier);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return 0;
    return audioStart(file);
}

} // namespace mpeg
