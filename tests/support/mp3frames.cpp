#include "mp3frames.h"

#include <QProcess>
#include <QRegularExpression>

namespace testsupport {

QList<Mp3Frame> mp3Frames(const QByteArray &bytes, qsizetype *rest)
{
    static const int bitratesV1L3[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int bitratesV2L3[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    static const int rates[3] = {44100, 48000, 32000};
    QList<Mp3Frame> frames;
    qsizetype pos = 0;
    while (pos + 4 <= bytes.size()) {
        const auto b = [&](int i) { return quint8(bytes.at(pos + i)); };
        if (b(0) != 0xFF || (b(1) & 0xE0) != 0xE0)
            break;
        Mp3Frame f;
        const int v = (b(1) >> 3) & 3;
        f.version = v == 3 ? 1 : v == 2 ? 2 : v == 0 ? 25 : 0;
        f.layer = 4 - ((b(1) >> 1) & 3);
        f.crc = !(b(1) & 1);
        const int bi = b(2) >> 4;
        const int ri = (b(2) >> 2) & 3;
        if (!f.version || f.layer != 3 || ri == 3 || bi == 0 || bi == 15)
            break;
        f.bitrate = f.version == 1 ? bitratesV1L3[bi] : bitratesV2L3[bi];
        f.sampleRate = rates[ri] / (f.version == 1 ? 1 : f.version == 2 ? 2 : 4);
        const int padding = (b(2) >> 1) & 1;
        f.privateBit = b(2) & 1;
        f.mode = b(3) >> 6;
        f.copyright = (b(3) >> 3) & 1;
        f.original = (b(3) >> 2) & 1;
        f.length = (f.version == 1 ? 144 : 72) * f.bitrate * 1000 / f.sampleRate + padding;
        if (pos + f.length > bytes.size())
            break;
        frames << f;
        pos += f.length;
    }
    if (rest)
        *rest = bytes.size() - pos;
    return frames;
}

QByteArray decodeWithMpg123(const QString &mp3Path, int *channels, int *rate)
{
    QProcess mpg123;
    // -s: raw 16-bit samples on stdout; -v makes it describe the stream on stderr.
    mpg123.start(QStringLiteral("mpg123"), {QStringLiteral("-v"), QStringLiteral("-s"), mp3Path});
    if (!mpg123.waitForFinished(120000) || mpg123.exitCode() != 0)
        return {};
    const QString info = QString::fromLocal8Bit(mpg123.readAllStandardError());
    const auto m = QRegularExpression(QStringLiteral("L I+ \\S+ (\\d+) (stereo|mono|joint-stereo|dual-channel)")).match(info);
    if (rate)
        *rate = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (channels)
        *channels = m.hasMatch() ? (m.captured(2) == QLatin1String("mono") ? 1 : 2) : 0;
    return mpg123.readAllStandardOutput();
}

} // namespace testsupport
