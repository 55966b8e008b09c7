#include "gain/replaygain.h"

#include <array>

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

void addValues(QList<tags::UserText> &texts, const QString &gain, const QString &peak,
               const Loudness &loudness, const GainOptions &options)
{
    if (!loudness.measured())
        return;
    texts.append({gain, gainText(loudness.lufs)});
    texts.append({peak, peakText(options.samplePeak ? loudness.samplePeak : loudness.truePeak)});
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

QList<tags::UserText> clearedReplayGain()
{
    QList<tags::UserText> texts;
    for (const QString &name :
         {trackGain, trackPeak, albumGain, albumPeak, reference, trackRange, albumRange})
        texts.append({name, QString()});
    return texts;
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
