#pragma once

// What `rip` and `verify` print about each track, and the track lists they take.

#include "cd/accuraterip.h"
#include "cd/accurateripdb.h"
#include "command.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

#include <optional>

namespace cli {

// {"piste", "fichier", "crc32", "accuraterip": {"v1", "v2", "resultat", "confiance"},
// "relectures"}; relectures is null when the track was not read from the disc.
inline QJsonObject trackReport(int track, const QString &file, quint32 crc, quint32 v1, quint32 v2,
                               const cd::AccurateRipVerdict &verdict, std::optional<int> rereads)
{
    return QJsonObject{
        {QStringLiteral("piste"), track},
        {QStringLiteral("fichier"), file},
        {QStringLiteral("crc32"), cd::hex8(crc)},
        {QStringLiteral("accuraterip"),
         QJsonObject{{QStringLiteral("v1"), cd::hex8(v1)},
                     {QStringLiteral("v2"), cd::hex8(v2)},
                     {QStringLiteral("resultat"), cd::accurateRipWord(verdict.result)},
                     {QStringLiteral("confiance"), verdict.confidence}}},
        {QStringLiteral("relectures"), rereads ? QJsonValue(*rereads) : QJsonValue()}};
}

// The tracks named by "1,3,5-7" (from 1), in order and each once; nothing when the text is
// not such a list or names a track beyond trackCount.
inline std::optional<QList<int>> parseTrackList(const QString &text, int trackCount)
{
    QList<int> tracks;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const QStringList ends = part.split(QLatin1Char('-'));
        bool okFirst = false, okLast = false;
        const int first = ends.value(0).toInt(&okFirst);
        const int last = ends.size() == 2 ? ends.at(1).toInt(&okLast) : first;
        if (!okFirst || (ends.size() == 2 && !okLast) || ends.size() > 2 || first < 1 ||
            last < first || last > trackCount)
            return std::nullopt;
        for (int t = first; t <= last; ++t) {
            if (!tracks.contains(t))
                tracks.append(t);
        }
    }
    std::sort(tracks.begin(), tracks.end());
    return tracks;
}

// --vbr=0..9 (LAME's variable quality V0 to V9 instead of the constant rate) and --trame-lame
// (the LAME/Xing information frame). False, with a French message, for a quality out of range.
inline bool encoderChoice(const Arguments &arguments, int *vbrQuality, bool *infoFrame,
                          QString *error)
{
    *infoFrame = arguments.has(QStringLiteral("--trame-lame"));
    *vbrQuality = -1;
    if (!arguments.has(QStringLiteral("--vbr=")))
        return true;
    bool numeric = false;
    *vbrQuality = arguments.value(QStringLiteral("--vbr=")).toInt(&numeric);
    if (numeric && *vbrQuality >= 0 && *vbrQuality <= 9)
        return true;
    *error = QCoreApplication::translate("cli", "Qualité VBR invalide : --vbr=%1 (de 0 à 9)")
                 .arg(arguments.value(QStringLiteral("--vbr=")));
    return false;
}

} // namespace cli
