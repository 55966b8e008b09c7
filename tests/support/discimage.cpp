#include "discimage.h"

#include <QFile>
#include <QtEndian>

#include <cmath>

namespace testsupport {

namespace {

constexpr int sectorBytes = 2352;

QString msfText(int sector)
{
    return QString::asprintf("%02d:%02d:%02d", sector / 4500, sector / 75 % 60, sector % 75);
}

void putLe16(char *p, qint16 v)
{
    qToLittleEndian<qint16>(v, p);
}

} // namespace

QByteArray DiscImage::sectorPcm(int sector)
{
    QByteArray bytes(sectorBytes, Qt::Uninitialized);
    // A cheap generator seeded by the sector number: every sector is different.
    quint32 state = quint32(sector) * 2654435761u + 12345u;
    for (int i = 0; i < sectorBytes / 4; ++i) {
        state = state * 1664525u + 1013904223u;
        const double t = (sector * 588.0 + i) / 44100.0;
        const int noise = int(state >> 24) - 128;
        putLe16(bytes.data() + 4 * i, qint16(8000 * std::sin(2 * M_PI * 440 * t) + noise));
        putLe16(bytes.data() + 4 * i + 2, qint16(6000 * std::sin(2 * M_PI * 660 * t) - noise));
    }
    return bytes;
}

DiscImage::DiscImage(const QString &folder, const QString &name, const QList<int> &trackSectors,
                     int firstTrack)
    : m_sectors(trackSectors)
    , m_cuePath(folder + QLatin1Char('/') + name + QLatin1String(".cue"))
    , m_binPath(folder + QLatin1Char('/') + name + QLatin1String(".bin"))
{
    QFile bin(m_binPath);
    if (!bin.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QByteArray cue = "FILE \"" + name.toUtf8() + ".bin\" BINARY\n";
    int sector = 0;
    for (int k = 0; k < trackSectors.size(); ++k) {
        cue += QString::asprintf("  TRACK %02d AUDIO\n", firstTrack + k).toUtf8();
        cue += "    INDEX 01 " + msfText(sector).toUtf8() + "\n";
        for (int s = 0; s < trackSectors.at(k); ++s, ++sector) {
            if (bin.write(sectorPcm(sector)) != sectorBytes)
                return;
        }
    }
    if (!bin.flush())
        return;
    QFile cueFile(m_cuePath);
    m_valid = cueFile.open(QIODevice::WriteOnly | QIODevice::Truncate) && cueFile.write(cue) == cue.size();
}

int DiscImage::firstSector(int trackIndex) const
{
    int sector = 0;
    for (int k = 0; k < trackIndex; ++k)
        sector += m_sectors.at(k);
    return sector;
}

QByteArray DiscImage::trackPcm(int trackIndex) const
{
    QFile bin(m_binPath);
    if (!bin.open(QIODevice::ReadOnly) || !bin.seek(qint64(firstSector(trackIndex)) * sectorBytes))
        return {};
    return bin.read(qint64(m_sectors.at(trackIndex)) * sectorBytes);
}

QByteArray wavBytes(const QByteArray &samples, int channels, int rate, int bits, int formatTag)
{
    QByteArray out;
    auto u32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto u16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    const int blockAlign = channels * ((bits + 7) / 8);
    out += "RIFF";
    u32(quint32(36 + samples.size()));
    out += "WAVEfmt ";
    u32(16);
    u16(quint16(formatTag));
    u16(quint16(channels));
    u32(quint32(rate));
    u32(quint32(rate * blockAlign));
    u16(quint16(blockAlign));
    u16(quint16(bits));
    out += "data";
    u32(quint32(samples.size()));
    out += samples;
    return out;
}

QByteArray tonePcm16(int frames, int channels, int rate, double frequency)
{
    QByteArray pcm(qsizetype(frames) * channels * 2, Qt::Uninitialized);
    quint32 state = 777;
    for (int i = 0; i < frames; ++i) {
        state = state * 1664525u + 1013904223u;
        const double v = 9000 * std::sin(2 * M_PI * frequency * i / rate) + (int(state >> 25) - 64);
        for (int c = 0; c < channels; ++c)
            putLe16(pcm.data() + (qsizetype(i) * channels + c) * 2, qint16(c ? -v : v));
    }
    return pcm;
}

} // namespace testsupport
