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
                                  const QList<Track> &tracks, const Extras &extras)
{
    DiscImage image(folder, name);
    image.write(tracks, 1, extras);
    return image;
}

void DiscImage::write(const QList<Track> &tracks, int firstTrack, const Extras &extras)
{
    QFile bin(m_binPath);
    if (!bin.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QByteArray cue;
    if (!extras.catalogue.isEmpty())
        cue += "CATALOG " + extras.catalogue.toLatin1() + '\n';
    if (!extras.cdText.isEmpty()) {
        const QString cdt = m_cuePath.chopped(4) + QLatin1String(".cdt");
        QFile packs(cdt);
        if (!packs.open(QIODevice::WriteOnly) || packs.write(extras.cdText) != extras.cdText.size())
            return;
        cue += "CDTEXTFILE \"" + QFileInfo(cdt).fileName().toUtf8() + "\"\n";
    }
    cue += "FILE \"" + QFileInfo(m_binPath).fileName().toUtf8() + "\" BINARY\n";
    const auto msf = [](int sector) {
        return QString::asprintf("%02d:%02d:%02d", sector / 4500, sector / 75 % 60, sector % 75)
            .toUtf8();
    };
    int sector = 0;
    for (int k = 0; k < tracks.size(); ++k) {
        const Track &track = tracks.at(k);
        m_sectors.append(track.sectors);
        cue += QString::asprintf("  TRACK %02d %s\n", firstTrack + k,
                                 track.content == Content::Data ? "MODE1/2352" : "AUDIO")
                   .toUtf8();
        if (!track.isrc.isEmpty())
            cue += "    ISRC " + track.isrc.toLatin1() + '\n';
        if (track.pregap > 0)
            cue += "    INDEX 00 " + msf(sector) + '\n';
        for (int s = 0; s < track.pregap; ++s, ++sector) {
            const QByteArray bytes =
                track.audiblePregap ? sectorPcm(sector) : QByteArray(sectorBytes, '\0');
            if (bin.write(bytes) != sectorBytes)
                return;
        }
        m_starts.append(sector);
        cue += "    INDEX 01 " + msf(sector) + '\n';
        for (int s = 0; s < track.sectors; ++s, ++sector) {
            const QByteArray bytes = track.content == Content::Data    ? dataSector(sector)
                                     : track.content == Content::Noise ? noiseSector(sector)
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
    const bool pregap = trackIndex < 0;
    const int first = pregap ? 0 : m_starts.value(trackIndex);
    const int count = pregap ? m_starts.value(0) : m_sectors.value(trackIndex);
    QFile bin(m_binPath);
    if (!bin.open(QIODevice::ReadOnly) || !bin.seek(qint64(first) * sectorBytes))
        return {};
    return bin.read(qint64(count) * sectorBytes);
}

namespace {

// CRC-16/CCITT of a pack, stored inverted.
quint16 packCrc(QByteArrayView bytes)
{
    quint16 crc = 0;
    for (char b : bytes) {
        crc ^= quint16(quint8(b) << 8);
        for (int i = 0; i < 8; ++i)
            crc = quint16(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return quint16(~crc);
}

} // namespace

QByteArray cdTextPacks(const QList<CdTextBlock> &blocks)
{
    QByteArray out, languages(8, '\0');
    for (int b = 0; b < blocks.size(); ++b)
        languages[b] = char(blocks.at(b).language);
    for (int b = 0; b < blocks.size(); ++b) {
        int sequence = 0; // counted again in every block
        QByteArray counts(16, '\0');
        const auto pack = [&](int type, int track, int position, QByteArray p) {
            p.prepend(char((b << 4) | std::min(position, 15))).prepend(char(sequence++));
            p.prepend(char(track)).prepend(char(type));
            const quint16 crc = packCrc(p);
            out += p + char(crc >> 8) + char(crc & 0xff);
            ++counts[type - 0x80];
        };
        const CdTextBlock &block = blocks.at(b);
        for (const auto &[type, texts] :
             {std::pair{0x80, block.titles}, {0x81, block.performers}}) {
            // The texts run on, NUL-terminated, twelve bytes a pack; a pack names the track and
            // the character its first byte belongs to.
            QByteArray stream;
            QList<std::pair<int, int>> owners;
            for (int t = 0; t < texts.size(); ++t) {
                const QByteArray text = texts.at(t).toLatin1() + '\0';
                for (int i = 0; i < text.size(); ++i)
                    owners.append({t, i});
                stream += text;
            }
            for (int at = 0; at < stream.size(); at += 12)
                pack(type, owners.at(at).first, owners.at(at).second,
                     stream.mid(at, 12).leftJustified(12, '\0'));
        }
        // The size information: ISO-8859-1, tracks 1 to n, the packs of each type, the languages.
        counts[15] = 3;
        const QByteArray info = QByteArray::fromHex("0001") + char(block.titles.size() - 1) + '\0' +
                                counts + QByteArray(8, '\0') + languages;
        for (int i = 0; i < 3; ++i)
            pack(0x8f, i, 0, info.mid(i * 12, 12));
    }
    return out;
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
