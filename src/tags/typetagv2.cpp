#include "tags/typetagv2.h"

#include <QFileInfo>

namespace tags {

void TypeTagV2::SetPicFromFile(const QString &param)
{
    const QFileInfo info(param);
    if (param.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) && info.isFile())
        m_picturePath = param;
}

bool TypeTagV2::operator==(const TypeTagV2 &other) const
{
    return m_picturePath == other.m_picturePath && m_pictureBinary == other.m_pictureBinary &&
           m_valide == other.m_valide && m_artiste == other.m_artiste && m_album == other.m_album &&
           m_piste == other.m_piste && m_titre == other.m_titre && m_genre == other.m_genre &&
           m_genreTexte == other.m_genreTexte && m_annee == other.m_annee &&
           m_commentaire == other.m_commentaire && m_compositeur == other.m_compositeur &&
           m_original == other.m_original && m_copyright == other.m_copyright &&
           m_url == other.m_url && m_encode == other.m_encode;
}

} // namespace tags
