#include "tags/fieldrules.h"

#include "tags/genres.h"

#include <QRegularExpression>

namespace tags {

qint16 v1Track(const QString &typed)
{
    return roundToInt16(leadingNumber(typed));
}

QString v2Track(const QString &typed)
{
    const QRegularExpression trackAndTotal(QStringLiteral("^\\d+/\\d+$"));
    const QString track = typed.trimmed();
    if (trackAndTotal.match(track).hasMatch())
        return track;
    const double number = leadingNumber(track);
    const bool hasNumber = number != 0.0 || track.startsWith(QLatin1Char('0'));
    return hasNumber ? QString::number(number, 'g', 15) : QString();
}

TypedGenre v2Genre(const QString &typed)
{
    const QString text = typed.trimmed();
    for (int genre = 0; genre <= LastGenre; ++genre) {
        if (text.compare(genreName(genre), Qt::CaseInsensitive) == 0)
            return {genre, {}};
    }
    return {NoGenre, text};
}

} // namespace tags
