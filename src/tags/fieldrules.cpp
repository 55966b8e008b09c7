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

int genreListPosition(int genre)
{
    return genre >= 0 && genre <= LastGenre ? genre + 1 : 0;
}

int genreAtListPosition(int position)
{
    return position >= 1 && position <= LastGenre + 1 ? position - 1 : NoGenre;
}

FixedTexts defaultTexts(const QString &comment, const QString &encoder)
{
    FixedTexts texts;
    if (!comment.isEmpty())
        texts.comment = comment;
    if (!encoder.isEmpty())
        texts.encoder = encoder;
    return texts;
}

void applyFixedTexts(TagType &record, const FixedTexts &texts)
{
    if (texts.comment && record.TagV1.Valide())
        record.TagV1.setCommentaire(*texts.comment);
    if (texts.comment && record.TagV2.Valide())
        record.TagV2.setCommentaire(*texts.comment);
    if (texts.encoder && record.TagV2.Valide())
        record.TagV2.setEncode(*texts.encoder);
}

} // namespace tags
