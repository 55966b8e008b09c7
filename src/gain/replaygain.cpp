#include "gain/replaygain.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>

namespace gain {

namespace {

const QString trackGain = QStringLiteral("REPLAYGAIN_TRACK_GAIN");
const QString trackPeak = QStringLiteral("REPLAYGAIN_TRACK_PEAK");
const QString albumGain = QStringLiteral("REPLAYGAIN_ALBUM_GAIN");
const QString albumPeak = QStringLiteral("REPLAYGAIN_ALBUM_PEAK");
const QString reference = QStringLiteral("REPLAYGAIN_REFERENCE_LOUDNESS");
// Written by other programs; removed with the others.
const QString trackRange = QStringLiteral("REPLAYGAIN_TRACK_RANGE");
const QString albumRange = QStringLiteral("REPLAYGAIN_ALBUM_RANGE");
const QString rva2Track = QStringLiteral("track");
const QString rva2Album = QStringLiteral("album");

QString valueOf(const QList<tags::UserText> &texts, const QString &description)
{
    for (const tags::UserText &text : texts)
        if (text.description.compare(description, Qt::CaseInsensitive) == 0)
            return text.value;
    return {};
}

double peakOf(const Loudness &loudness, const GainOptions &options)
{
    return options.samplePeak ? loudness.samplePeak : loudness.truePeak;
}

void addValues(QList<tags::UserText> &texts, const QString &gain, const QString &peak,
               const Loudness &loudness, const GainOptions &options)
{
    if (!loudness.measured())
        return;
    texts.append({gain, gainText(loudness.lufs)});
    texts.append({peak, peakText(peakOf(loudness, options))});
}

void addRva2(QList<tags::FrameEdit> &frames, const QString &identification,
             const Loudness &loudness, const GainOptions &options)
{
    if (loudness.measured())
        frames.append(
            {"RVA2",
             identification,
             {},
             rva2Body(identification, replayGain(loudness.lufs), peakOf(loudness, options))});
}

} // namespace

double replayGain(double lufs)
{
    return referenceLufs - lufs;
}

QString gainText(double lufs)
{
    // QString::number always writes a full stop; -0.00 is written 0.00.
    const double gain = replayGain(lufs);
    return QString::number(std::abs(gain) < 0.005 ? 0.0 : gain, 'f', 2) + QStringLiteral(" dB");
}

QString peakText(double peak)
{
    return QString::number(peak, 'f', 6);
}

QString referenceText()
{
    return QString::number(referenceLufs, 'f', 2) + QStringLiteral(" LUFS");
}

QList<tags::UserText> replayGainTexts(const Loudness &track, const std::optional<Loudness> &album,
                                      const GainOptions &options)
{
    QList<tags::UserText> texts;
    addValues(texts, trackGain, trackPeak, track, options);
    if (album)
        addValues(texts, albumGain, albumPeak, *album, options);
    if (options.reference && !texts.isEmpty())
        texts.append({reference, referenceText()});
    return texts;
}

QByteArray rva2Body(const QString &identification, double gain, double peak)
{
    const auto adjustment = qint16(std::clamp(std::lround(gain * 512), -32768L, 32767L));
    const auto peakVolume = quint16(std::clamp(std::lround(peak * 32768), 0L, 65535L));
    QByteArray body = identification.toLatin1() + '\0';
    body += char(1); // master volume
    body += QByteArray(2, '\0');
    qToBigEndian(adjustment, body.data() + body.size() - 2);
    body += char(16); // bits of the peak
    body += QByteArray(2, '\0');
    qToBigEndian(peakVolume, body.data() + body.size() - 2);
    return body;
}

QList<tags::FrameEdit> rva2Frames(const Loudness &track, const std::optional<Loudness> &album,
                                  const GainOptions &options)
{
    QList<tags::FrameEdit> frames;
    addRva2(frames, rva2Track, track, options);
    if (album)
        addRva2(frames, rva2Album, *album, options);
    return frames;
}

QList<tags::FrameEdit> clearedRva2()
{
    return {{"RVA2", rva2Track, {}, {}}, {"RVA2", rva2Album, {}, {}}};
}

QList<tags::UserText> clearedReplayGain()
{
    QList<tags::UserText> texts;
    for (const QString &name :
         {trackGain, trackPeak, albumGain, albumPeak, reference, trackRange, albumRange})
        texts.append({name, QString()});
    return texts;
}

QString trackGainOf(const QList<tags::UserText> &texts)
{
    return valueOf(texts, trackGain);
}

QString albumGainOf(const QList<tags::UserText> &texts)
{
    return valueOf(texts, albumGain);
}

QList<tags::UserText> replayGainOf(const QList<tags::UserText> &texts)
{
    QList<tags::UserText> found;
    for (const tags::UserText &text : texts)
        if (text.description.startsWith(QLatin1String("REPLAYGAIN_"), Qt::CaseInsensitive))
            found.append(text);
    return found;
}

} // namespace gain
