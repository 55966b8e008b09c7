#include "mpeg/bytereader.h"

#include <QIODevice>

#include <cstring>

namespace mpeg {

// A refill starts a little before the position asked for, so that a look a few bytes back
// (the next sync candidate after a rejected header) does not read again.
static constexpr qint64 Lookback = 64;

ByteReader::ByteReader(QIODevice &device, qint64 size, qint64 bufferSize)
    : m_device(device), m_size(qMax<qint64>(size, 0)), m_bufferSize(qMax<qint64>(bufferSize, 256))
{
}

bool ByteReader::fill(qint64 pos)
{
    if (pos < 0 || pos >= m_size)
        return false;
    if (pos >= m_start && pos < m_start + m_length)
        return true;
    const qint64 start = qMax<qint64>(0, pos - Lookback);
    const qint64 wanted = qMin(m_bufferSize, m_size - start);
    m_buffer.resize(wanted);
    m_length = 0;
    if (!m_device.seek(start))
        return false;
    const qint64 got = m_device.read(m_buffer.data(), wanted);
    if (got <= pos - start)
        return false;
    m_start = start;
    m_length = got;
    return true;
}

int ByteReader::at(qint64 pos)
{
    if (!fill(pos))
        return -1;
    return uchar(m_buffer.at(pos - m_start));
}

quint32 ByteReader::bigEndian(qint64 pos, int count)
{
    quint32 value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | quint32(byteOrZero(pos + i));
    return value;
}

quint32 ByteReader::littleEndian32(qint64 pos)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint32(byteOrZero(pos + i));
    return value;
}

QByteArray ByteReader::bytes(qint64 pos, qint64 count)
{
    QByteArray out;
    if (pos < 0 || count <= 0 || pos >= m_size)
        return out;
    count = qMin(count, m_size - pos);
    out.reserve(count);
    while (count > 0 && fill(pos)) {
        const qint64 offset = pos - m_start;
        const qint64 n = qMin(count, m_length - offset);
        out.append(m_buffer.constData() + offset, n);
        pos += n;
        count -= n;
    }
    return out;
}

qint64 ByteReader::findSync(qint64 from)
{
    qint64 o = qMax<qint64>(from, 0);
    while (o + 1 < m_size) {
        if (!fill(o))
            return -1;
        const char *data = m_buffer.constData();
        const qint64 offset = o - m_start;
        const void *hit = std::memchr(data + offset, 0xFF, size_t(m_length - offset));
        if (!hit) {
            o = m_start + m_length;
            continue;
        }
        const qint64 index = static_cast<const char *>(hit) - data;
        const qint64 candidate = m_start + index;
        const int next = index + 1 < m_length ? uchar(data[index + 1]) : at(candidate + 1);
        if (next < 0)
            return -1;
        if (next != 0)
            return candidate;
        o = candidate + 1;
    }
    return -1;
}

} // namespace mpeg
