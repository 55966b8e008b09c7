#include "cd/accuraterip.h"

#include "cd/cdinfo.h"

#include <QtEndian>

#include <libdeflate.h>

#include <algorithm>

namespace cd {

namespace {

constexpr quint64 skippedFrames = 5 * sectorFrames;
constexpr qsizetype pressingHeaderBytes = 13;
constexpr qsizetype trackRecordBytes = 9;

} // namespace

TrackChecksums::TrackChecksums(qint64 trackFrames, bool firstTrack, bool lastTrack)
    : m_from(firstTrack ? skippedFrames : 1),
      m_to(lastTrack ? quint64(std::max<qint64>(trackFrames - qint64(skippedFrames), 0))
                     : quint64(std::max<qint64>(trackFrames, 0)))
{
}

void TrackChecksums::add(const char *pcm, qint64 bytes)
{
    if (bytes <= 0)
        return;
    m_crc = libdeflate_crc32(m_crc, pcm, size_t(bytes));
    while (m_partialBytes > 0 && bytes > 0) {
        m_partial[m_partialBytes++] = static_cast<unsigned char>(*pcm++);
        --bytes;
        if (m_partialBytes == 4) {
            addFrames(reinterpret_cast<const char *>(m_partial), 1);
            m_partialBytes = 0;
        }
    }
    const qint64 frames = bytes / 4;
    addFrames(pcm, frames);
    for (qint64 i = frames * 4; i < bytes; ++i)
        m_partial[m_partialBytes++] = static_cast<unsigned char>(pcm[i]);
}

void TrackChecksums::addFrames(const char *pcm, qint64 frames)
{
    // Only the frames whose multiplier lies in [m_from, m_to] count; the loop runs over those
    // alone so that it has no branch.
    const quint64 position = m_position;
    m_position += quint64(frames);
    const qint64 first = qint64(std::max(m_from, position) - position);
    const qint64 end = std::min<qint64>(frames, qint64(std::max(m_to + 1, position) - position));
    quint32 low = m_v1, high = m_v2High;
    for (qint64 i = first; i < end; ++i) {
        const quint64 product = quint64(qFromLittleEndian<quint32>(pcm + 4 * i)) * (position + i);
        low += quint32(product);
        high += quint32(product >> 32);
    }
    m_v1 = low;
    m_v2High = high;
}

QString hex8(quint32 value)
{
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0'));
}

QString AccurateRipDiscId::name() const
{
    return QStringLiteral("dBAR-%1-%2-%3-%4")
        .arg(trackCount, 3, 10, QLatin1Char('0'))
        .arg(hex8(id1), hex8(id2), hex8(cddbId));
}

QString AccurateRipDiscId::entryPath() const
{
    // The database spreads its entries over folders named by the last three digits of id1.
    return QStringLiteral("%1/%2/%3/%4.bin")
        .arg(id1 & 0xF, 0, 16)
        .arg(id1 >> 4 & 0xF, 0, 16)
        .arg(id1 >> 8 & 0xF, 0, 16)
        .arg(name());
}

std::optional<AccurateRipDiscId> accurateRipDiscId(const CdToc &toc)
{
    clsCdInfo cddb;
    cddb.InitFromToc(toc);
    bool hex = false;
    const quint32 cddbId = cddb.DiscID().toUInt(&hex, 16);
    if (cddb.ErrorCode() != 0 || !hex)
        return std::nullopt;
    AccurateRipDiscId id;
    id.trackCount = toc.audioTrackCount();
    id.cddbId = cddbId;
    // id1 sums the start sectors of the audio tracks and the lead-out; id2 weighs each by its
    // position (the lead-out counting as track n + 1), a start of 0 counting as 1. An enhanced
    // CD's data track counts only through the lead-out, which follows it, and the disc id.
    for (int k = 0; k <= id.trackCount; ++k) {
        const int sector = k < id.trackCount ? toc.trackStart(k) : toc.trackStart(toc.trackCount());
        const quint32 start = quint32(std::max(sector, 0));
        id.id1 += start;
        id.id2 += std::max<quint32>(start, 1) * quint32(k + 1);
    }
    return id;
}

std::optional<QList<AccurateRipPressing>> parseAccurateRipEntry(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() > accurateRipMaxEntryBytes)
        return std::nullopt;
    QList<AccurateRipPressing> pressings;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < pressingHeaderBytes)
            return std::nullopt;
        const char *p = bytes.data() + at;
        AccurateRipPressing pressing;
        pressing.disc.trackCount = static_cast<unsigned char>(p[0]);
        pressing.disc.id1 = qFromLittleEndian<quint32>(p + 1);
        pressing.disc.id2 = qFromLittleEndian<quint32>(p + 5);
        pressing.disc.cddbId = qFromLittleEndian<quint32>(p + 9);
        at += pressingHeaderBytes;
        const qsizetype trackBytes = pressing.disc.trackCount * trackRecordBytes;
        if (pressing.disc.trackCount == 0 || bytes.size() - at < trackBytes)
            return std::nullopt;
        for (int t = 0; t < pressing.disc.trackCount; ++t) {
            const char *r = bytes.data() + at + t * trackRecordBytes;
            pressing.tracks.append(
                {static_cast<unsigned char>(r[0]), qFromLittleEndian<quint32>(r + 1)});
        }
        at += trackBytes;
        pressings.append(pressing);
    }
    return pressings;
}

AccurateRipVerdict accurateRipVerdict(const QList<AccurateRipPressing> &pressings,
                                      const AccurateRipDiscId &disc, int track, quint32 v1,
                                      quint32 v2)
{
    AccurateRipVerdict verdict;
    verdict.result = AccurateRipResult::Unknown;
    for (const AccurateRipPressing &p : pressings) {
        // A pressing filed under other identifiers belongs to another disc.
        if (p.disc.trackCount != disc.trackCount || p.disc.id1 != disc.id1 ||
            p.disc.id2 != disc.id2 || p.disc.cddbId != disc.cddbId || track < 1 ||
            track > p.tracks.size())
            continue;
        const AccurateRipPressing::Track &t = p.tracks.at(track - 1);
        if (t.crc == v1 || t.crc == v2) {
            verdict.result = AccurateRipResult::Exact;
            verdict.confidence = std::max(verdict.confidence, t.confidence);
        } else if (verdict.result == AccurateRipResult::Unknown) {
            verdict.result = AccurateRipResult::Different;
        }
    }
    return verdict;
}

QString accurateRipWord(AccurateRipResult result)
{
    switch (result) {
    case AccurateRipResult::Exact:
        return QStringLiteral("exact");
    case AccurateRipResult::Different:
        return QStringLiteral("différent");
    case AccurateRipResult::Unknown:
        return QStringLiteral("inconnu");
    case AccurateRipResult::NotChecked:
        break;
    }
    return QStringLiteral("non vérifié");
}

QString accurateRipText(const AccurateRipVerdict &verdict)
{
    switch (verdict.result) {
    case AccurateRipResult::Exact:
        return QStringLiteral("AccurateRip : exact (confiance %1)").arg(verdict.confidence);
    case AccurateRipResult::Unknown:
        return QStringLiteral("AccurateRip : disque inconnu");
    case AccurateRipResult::Different:
    case AccurateRipResult::NotChecked:
        break;
    }
    return QStringLiteral("AccurateRip : ") + accurateRipWord(verdict.result);
}

} // namespace cd
