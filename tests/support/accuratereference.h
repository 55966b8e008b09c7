#pragma once

#include "cd/accuraterip.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

namespace testsupport {

struct AccurateRipSums
{
    quint32 v1 = 0, v2 = 0;
};

// AccurateRip as its author describes it, written independently of the program: frames read as
// 32-bit words, the word at 1-based position m weighed by m, positions counted only from
// 5 * 2352 / 4 on the disc's first track and up to count - 5 * 2352 / 4 on its last; v2 also
// adds the high halves of the 64-bit products.
inline AccurateRipSums referenceAccurateRip(const QByteArray &pcm, bool first, bool last)
{
    const quint32 words = quint32(pcm.size() / 4);
    const quint32 from = first ? 2940 : 0, to = last ? words - 2940 : words;
    AccurateRipSums s;
    for (quint32 m = 1; m <= words; ++m) {
        if (m < from || m > to)
            continue;
        const quint64 p = quint64(qFromLittleEndian<quint32>(pcm.constData() + 4 * (m - 1))) * m;
        s.v1 += quint32(p);
        s.v2 += quint32(p) + quint32(p >> 32);
    }
    return s;
}

// One pressing of a database entry: the disc's identifiers, then confidence and checksum of each
// track (the offset checksum left at zero).
inline QByteArray accurateRipPressing(const cd::AccurateRipDiscId &id,
                                      const QList<std::pair<int, quint32>> &tracks)
{
    QByteArray b(13, '\0');
    b[0] = char(id.trackCount);
    qToLittleEndian(id.id1, b.data() + 1);
    qToLittleEndian(id.id2, b.data() + 5);
    qToLittleEndian(id.cddbId, b.data() + 9);
    for (const auto &[confidence, crc] : tracks) {
        QByteArray t(9, '\0');
        t[0] = char(confidence);
        qToLittleEndian(crc, t.data() + 1);
        b += t;
    }
    return b;
}

// Makes a disc image read like a drive with a read offset: its samples move `frames` stereo
// samples later (earlier when negative), silence coming in at the other end; the size stays.
inline bool shiftImage(const QString &binPath, int frames)
{
    QFile bin(binPath);
    if (!bin.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = bin.readAll();
    const QByteArray silence(std::abs(frames) * 4, '\0');
    bytes =
        frames >= 0 ? (silence + bytes).left(bytes.size()) : bytes.mid(silence.size()) + silence;
    return bin.seek(0) && bin.write(bytes) == bytes.size();
}

} // namespace testsupport
