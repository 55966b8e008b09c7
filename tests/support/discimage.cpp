#include "discimage.h"

#include <QDataStream>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <numeric>

namespace testsupport {

namespace {

constexpr int sectorBytes = 2352;

// The generated sample bytes of sector number `sector`, different in every sector.
QByteArray sectorPcm(int sector)
{
    QByteArray bytes(sectorBytes, Qt::Uninitialized);
    quint32 state = quint32(sector) * 2654435761u + 12345u;
    for (int i = 0; i < sectorBytes / 4; ++i) {
        state = state * 1664525u + 1013904223u;
        const double t = (sector * 588.0 + i) / 44100.0;
        const int noise = int(state >> 24) - 128;
        char *frame = bytes.data() + 4 * i;
        qToLittleEndian(qint16(8000 * std::sin(2 * M_PI * 440 * t) + noise), frame);
        qToLittleEndian(qint16(6000 * std::sin(2 * M_PI * 660 * t) - noise), frame + 2);
    }
    return bytes;
}

} // namespace

DiscImage::DiscImage(const QString &folder, const QString &name, const QList<int> &trackSectors,
                     int firstTrack)
    : m_sectors(trackSectors), m_cuePath(folder + u'/' + name + QLatin1String(".cue")),
      m_binPath(folder + u'/' + name + QLatin1String(".bin"))
{
    QFile bin(m_binPath);
    if (!bin.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QByteArray cue = "FILE \"" + name.toUtf8() + ".bin\" BINARY\n";
    int sector = 0;
    for (int k = 0; k < trackSectors.size(); ++k) {
        cue += QString::asprintf("  TRACK %02d AUDIO\n    INDEX 01 %02d:%02d:%02d\n",
                                 firstTrack + k, sector / 4500, sector / 75 % 60, sector % 75)
                   .toUtf8();
        for (int s = 0; s < trackSectors.at(k); ++s, ++sector) {
            if (bin.write(sectorPcm(sector)) != sectorBytes)
                return;
        }
    }
    QFile cueFile(m_cuePath);
    m_valid = bin.flush() && cueFile.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              cueFile.write(cue) == cue.size();
}

QByteArray DiscImage::trackPcm(int trackIndex) const
{
    const int first = std::accumulate(m_sectors.cbegin(), m_sectors.cbegin() + trackIndex, 0);
    QFile bin(m_binPath);
    if (!bin.open(QIODevice::ReadOnly) || !bin.seek(qint64(first) * sectorBytes))
        return {};
    return bin.read(qint64(m_sectors.at(trackIndex)) * sectorBytes);
}

QByteArray wavBytes(const QByteArray &samples, int channels, int rate, int bits, int formatTag)
{
    const int blockAlign = channels * ((bits + 7) / 8);
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.writeRawData("RIFF", 4);
    s << quint32(36 + samples.size());
    s.writeRawData("WAVEfmt ", 8);
    s << quint32(16) << quint16(formatTag) << quint16(channels) << quint32(rate)
      << quint32(rate * blockAlign) << quint16(blockAlign) << quint16(bits);
    s.writeRawData("data", 4);
    s << quint32(samples.size());
    return out + samples;
}

QByteArray tonePcm16(int frames, int channels, int rate)
{
    QByteArray pcm(qsizetype(frames) * channels * 2, Qt::Uninitialized);
    quint32 state = 777;
    for (int i = 0; i < frames; ++i) {
        state = state * 1664525u + 1013904223u;
        const double v = 9000 * std::sin(2 * M_PI * 440.0 * i / rate) + (int(state >> 25) - 64);
        for (int c = 0; c < channels; ++c)
            qToLittleEndian(qint16(c ? -v : v), pcm.data() + (qsizetype(i) * channels + c) * 2);
    }
    return pcm;
}

} // namespace testsupport
