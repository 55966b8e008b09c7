#include "mp3frames.h"

#include <QProcess>

namespace testsupport {

QList<Mp3Frame> mp3Frames(const QByteArray &bytes, qsizetype *rest)
{
    static const int bitratesV1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                       112, 128, 160, 192, 224, 256, 320, 0};
    static const int bitratesV2[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                       64, 80, 96, 112, 128, 144, 160, 0};
    QList<Mp3Frame> frames;
    qsizetype pos = 0;
    while (pos + 4 <= bytes.size()) {
        const auto b = [&](int i) { return quint8(bytes.at(pos + i)); };
        const int v = (b(1) >> 3) & 3, bi = b(2) >> 4, ri = (b(2) >> 2) & 3;
        Mp3Frame f;
        f.version = v == 3 ? 1 : v == 2 ? 2 : v == 0 ? 25 : 0;
        f.layer = 4 - ((b(1) >> 1) & 3);
        if (b(0) != 0xFF || (b(1) & 0xE0) != 0xE0 || !f.version || f.layer != 3 || ri == 3 ||
            bi == 0 || bi == 15)
            break;
        f.crc = !(b(1) & 1);
        f.bitrate = (f.version == 1 ? bitratesV1 : bitratesV2)[bi];
        const int mpeg1Rate = ri == 0 ? 44100 : ri == 1 ? 48000 : 32000;
        f.sampleRate = mpeg1Rate / (f.version == 1 ? 1 : f.version == 2 ? 2 : 4);
        f.mode = b(3) >> 6;
        f.copyright = (b(3) >> 3) & 1;
        f.original = (b(3) >> 2) & 1;
        const int padding = (b(2) >> 1) & 1;
        const int length = (f.version == 1 ? 144 : 72) * f.bitrate * 1000 / f.sampleRate + padding;
        if (pos + length > bytes.size())
            break;
        frames << f;
        pos += length;
    }
    if (rest)
        *rest = bytes.size() - pos;
    return frames;
}

QByteArray decodeWithMpg123(const QString &mp3Path)
{
    QProcess mpg123;
    // -s: raw 16-bit samples on stdout.
    mpg123.start(QStringLiteral("mpg123"), {QStringLiteral("-s"), mp3Path});
    if (!mpg123.waitForFinished(120000) || mpg123.exitCode() != 0)
        return {};
    return mpg123.readAllStandardOutput();
}

} // namespace testsupport
