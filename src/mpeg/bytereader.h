#pragma once

#include <QByteArray>
#include <QtGlobal>

class QIODevice;

namespace mpeg {

// Random access to a device through one buffer, so that a scan costs one read per buffer
// rather than one per byte. Positions are 0-based; bytes past the end read as missing.
class ByteReader
{
public:
    ByteReader(QIODevice &device, qint64 size, qint64 bufferSize = 32 * 1024);

    qint64 size() const { return m_size; }
    // The byte at pos, or -1 past the end or when the device fails.
    int at(qint64 pos);
    // A byte that is missing counts as zero.
    int byteOrZero(qint64 pos) { return qMax(at(pos), 0); }
    // Big-endian number of count bytes (at most 4); missing bytes count as zero.
    quint32 bigEndian(qint64 pos, int count);
    quint32 littleEndian32(qint64 pos);
    // The bytes of [pos, pos + count) that exist.
    QByteArray bytes(qint64 pos, qint64 count);
    // The first offset o >= from with byte o = 0xFF and byte o + 1 present and not 0; -1 if none.
    qint64 findSync(qint64 from);

private:
    bool fill(qint64 pos);

    QIODevice &m_device;
    qint64 m_size;
    qint64 m_bufferSize;
    QByteArray m_buffer;
    qint64 m_start = 0;
    qint64 m_length = 0;
};

} // namespace mpeg
