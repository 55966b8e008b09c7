#pragma once

#include <QString>

namespace tags {

// The fields of an ID3v1.1 block. The write accessors apply the block's limits: texts are
// filtered by cleanTagText and cut to the width of their field, genres outside the list
// become 255.
class TypeTagV1
{
public:
    bool Valide() const { return m_valide; }
    void setValide(bool valide) { m_valide = valide; }
    QString Artiste() const { return m_artiste; }
    void setArtiste(const QString &artiste);
    QString Album() const { return m_album; }
    void setAlbum(const QString &album);
    qint16 Piste() const { return m_piste; }
    // Stored as given; a track outside 0-255 makes the next write of the block fail.
    void setPiste(qint16 piste) { m_piste = piste; }
    QString Titre() const { return m_titre; }
    void setTitre(const QString &titre);
    int Genre() const { return m_genre; }
    void setGenre(int genre);
    QString Annee() const { return m_annee; }
    void setAnnee(const QString &annee);
    QString Commentaire() const { return m_commentaire; }
    // 28 characters: the last two bytes of the comment area hold the track.
    void setCommentaire(const QString &commentaire);

    bool operator==(const TypeTagV1 &) const = default;

private:
    bool m_valide = false;
    QString m_artiste;
    QString m_album;
    qint16 m_piste = 0;
    QString m_titre;
    int m_genre = 0;
    QString m_annee;
    QString m_commentaire;
};

} // namespace tags
