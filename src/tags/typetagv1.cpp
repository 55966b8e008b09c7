#include "tags/typetagv1.h"

#include "tags/cleantagtext.h"
#include "tags/genres.h"

namespace tags {

namespace {

QString cleanAndCut(const QString &text, qsizetype width)
{
    return cleanTagText(text).left(width);
}

} // namespace

void TypeTagV1::setArtiste(const QString &artiste)
{
    m_artiste = cleanAndCut(artiste, 30);
}

void TypeTagV1::setAlbum(const QString &album)
{
    m_album = cleanAndCut(album, 30);
}

void TypeTagV1::setTitre(const QString &titre)
{
    m_titre = cleanAndCut(titre, 30);
}

void TypeTagV1::setGenre(int genre)
{
    m_genre = (genre >= 0 && genre <= LastGenre) ? genre : NoGenre;
}

void TypeTagV1::setAnnee(const QString &annee)
{
    m_annee = cleanAndCut(annee, 4);
}

void TypeTagV1::setCommentaire(const QString &commentaire)
{
    m_commentaire = cleanAndCut(commentaire, 28);
}

} // namespace tags
