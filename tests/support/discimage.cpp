#include "discimage.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
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

// Samples spread over the whole 16-bit range, the same on both channels as in much music.
QByteArray noiseSector(int sector)
{
    QByteArray bytes(sectorBytes, Qt::Uninitialized);
    quint32 state = quint32(sector) * 747796405u + 2891336453u;
    for (int i = 0; i < sectorBytes / 4; ++i) {
        state = state * 1664525u + 1013904223u;
        const auto sample = qint16(state >> 16);
        qToLittleEndian(sample, bytes.data() + 4 * i);
        qToLittleEndian(sample, bytes.data() + 4 * i + 2);
    }
    return bytes;
}

// A raw mode 1 sector: the sync pattern, then bytes that no audio track holds.
QByteArray dataSector(int sector)
{
    QByteArray bytes(sectorBytes, char(0x40 + sector % 64));
    bytes.replace(0, 12, QByteArray::fromHex("00ffffffffffffffffffff00"));
    return bytes;
}

QList<DiscImage::Track> toneTracks(const QList<int> &sectors)
{
    QList<DiscImage::Track> tracks;
    for (int n : sectors)
        tracks.append({n, DiscImage::Content::Tone});
    return tracks;
}

} // namespace

DiscImage::DiscImage(const QString &folder, const QString &name)
    : m_cuePath(folder + u'/' + name + QLatin1String(".cue")),
      m_binPath(folder + u'/' + name + QLatin1String(".bin"))
{
}

DiscImage::DiscImage(const QString &folder, const QString &name, const QList<int> &trackSectors,
                     int firstTrack)
    : DiscImage(folder, name)
{
    write(toneTracks(trackSectors), firstTrack);
}

DiscImage DiscImage::withContents(const QString &folder, const QString &name,
                                  const QList<Track> &tracks)
{
    DiscImage image(folder, name);
    image.write(tracks, 1);
    return image;
}

void DiscImage::write(const QList<Track> &tracks, int firstTrack)
{
    QFile bin(m_binPath);
    if (!bin.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QByteArray cue = "FILE \"" + QFileInfo(m_binPath).fileName().toUtf8() + "\" BINARY\n";
    int sector = 0;
    for (int k = 0; k < tracks.size(); ++k) {
        const Content content = tracks.at(k).content;
        m_sectors.append(tracks.at(k).sectors);
        cue += QString::asprintf("  TRACK %02d %s\n    INDEX 01 %02d:%02d:%02d\n", firstTrack + k,
                                 content == Content::Data ? "MODE1/2352" : "AUDIO", sector / 4500,
                                 sector / 75 % 60, sector % 75)
                   .toUtf8();
        for (int s = 0; s < tracks.at(k).sectors; ++s, ++sector) {
            const QByteArray bytes = content == Content::Data    ? dataSector(sector)
                                     : content == Content::Noise ? noiseSector(sector)
                                                                 : sectorPcm(sector);
            if (bin.write(bytes) != sectorBytes)
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
