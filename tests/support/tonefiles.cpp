#include "tonefiles.h"

#include <QFile>
#include <QProcess>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace tonefiles {

namespace {

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

} // namespace

bool writeWav(const QString &path, const Tone &tone)
{
    const qint64 frames = qint64(std::llround(tone.seconds * tone.rate));
    const quint32 dataBytes = quint32(frames * tone.channels * 2);
    QByteArray out;
    out.append("RIFF");
    put32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    put32(out, 16);
    put16(out, 1);
    put16(out, quint16(tone.channels));
    put32(out, quint32(tone.rate));
    put32(out, quint32(tone.rate * tone.channels * 2));
    put16(out, quint16(tone.channels * 2));
    put16(out, 16);
    out.append("data");
    put32(out, dataBytes);
    double phase = 0;
    for (qint64 i = 0; i < frames; ++i) {
        const double frequency = i < frames / 2 ? tone.frequency : tone.frequency * 1.5;
        phase += 2 * std::numbers::pi * frequency / tone.rate;
        const double value = std::sin(phase) * tone.amplitude;
        for (int c = 0; c < tone.channels; ++c) {
            const double scaled = c == 1 ? value * tone.rightScale : value;
            put16(out, quint16(qint16(std::lround(scaled * 32767))));
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.flush();
}

bool encodeMp3(const QString &wav, const QString &mp3, const QStringList &lameArguments)
{
    QProcess lame;
    lame.start(QStringLiteral("lame"),
               QStringList{"--quiet"} + lameArguments + QStringList{wav, mp3});
    return lame.waitForFinished(60000) && lame.exitStatus() == QProcess::NormalExit &&
           lame.exitCode() == 0;
}

bool writeMp3(const QString &mp3, const Tone &tone, const QStringList &lameArguments)
{
    const QString wav = mp3.left(mp3.lastIndexOf(u'.')) + QStringLiteral(".wav");
    return writeWav(wav, tone) && encodeMp3(wav, mp3, lameArguments);
}

QList<PeerGain> loudgain(const QStringList &files, bool album)
{
    QProcess p;
    p.start(QStringLiteral("loudgain"), QStringList{"-s", "s", "-O", "-q"} +
                                            (album ? QStringList{"-a"} : QStringList{}) + files);
    p.waitForFinished(120000);
    // File, Loudness, Range, True_Peak, True_Peak_dBTP, Reference, Will_clip, Clip_prevent, Gain
    QList<PeerGain> result;
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    for (const QString &line : lines.mid(1)) {
        const QStringList f = line.split(u'\t');
        if (f.size() >= 9)
            result.append({f[8].section(u' ', 0, 0).toDouble(), f[3].toDouble()});
    }
    return result;
}

} // namespace tonefiles
