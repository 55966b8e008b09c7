#pragma once

#include "tags/tagtype.h"

#include <QString>
#include <QStringList>

namespace testsupport {

// The values of a tag record the save rules decide, as one line: "v1:track|title|artist|album|
// year|genre|comment v2:track|title|artist|album|year|genre|genre text|comment|encoder", "-" for
// a version that is not valid.
inline QString recordText(const tags::TagType &r)
{
    const tags::TypeTagV1 &v1 = r.TagV1;
    const tags::TypeTagV2 &v2 = r.TagV2;
    QStringList one{QString::number(v1.Piste()), v1.Titre(), v1.Artiste(), v1.Album()};
    one << v1.Annee() << QString::number(v1.Genre()) << v1.Commentaire();
    QStringList two{v2.Piste(), v2.Titre(), v2.Artiste(), v2.Album(), v2.Annee()};
    two << QString::number(v2.Genre()) << v2.GenreTexte() << v2.Commentaire() << v2.Encode();
    return QStringLiteral("v1:") + (v1.Valide() ? one.join(u'|') : QStringLiteral("-")) +
           QStringLiteral(" v2:") + (v2.Valide() ? two.join(u'|') : QStringLiteral("-"));
}

} // namespace testsupport
