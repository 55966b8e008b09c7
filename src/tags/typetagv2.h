#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QImage;

namespace tags {

class TypeTagV2;
struct Id3v2Tag;
struct FieldSources;
TypeTagV2 recordFromTag(const Id3v2Tag &tag, FieldSources *sources);

// The fields of an ID3v2 tag. Texts are stored as given (the track without surrounding
// spaces); the picture read from a file is kept as its bytes, a new one is chosen with
// SetPicFromFile.
class TypeTagV2
{
public:
    bool Valide() const { return m_valide; }
    void setValide(bool valide) { m_valide = valide; }
    QString Artiste() const { return m_artiste; }
    void setArtiste(const QString &artiste) { m_artiste = artiste; }
    QString Album() const { return m_album; }
    void setAlbum(const QString &album) { m_album = album; }
    QString Piste() const { return m_piste; }
    void setPiste(const QString &piste) { m_piste = piste.trimmed(); }
    QString Titre() const { return m_titre; }
    void setTitre(const QString &titre) { m_titre = titre; }
    int Genre() const { return m_genre; }
    void setGenre(int genre) { m_genre = genre; }
    // A genre written as free text ("Chanson française"): the TCON text when it names no genre
    // of the list. Written only while Genre is 255.
    QString GenreTexte() const { return m_genreTexte; }
    void setGenreTexte(const QString &texte) { m_genreTexte = texte; }
    QString Annee() const { return m_annee; }
    void setAnnee(const QString &annee) { m_annee = annee; }
    QString Commentaire() const { return m_commentaire; }
    void setCommentaire(const QString &commentaire) { m_commentaire = commentaire; }
    QString Compositeur() const { return m_compositeur; }
    void setCompositeur(const QString &compositeur) { m_compositeur = compositeur; }
    QString Original() const { return m_original; }
    void setOriginal(const QString &original) { m_original = original; }
    QString Copyright() const { return m_copyright; }
    void setCopyright(const QString &copyright) { m_copyright = copyright; }
    QString Url() const { return m_url; }
    void setUrl(const QString &url) { m_url = url; }
    QString Encode() const { return m_encode; }
    void setEncode(const QString &encode) { m_encode = encode; }

    // The picture decoded from the tag's APIC frame; null when there was none or it did not
    // decode. Decoded from PictureBinary at each call; decoding needs Qt Gui, so this lives
    // in tarvex_tags_picture (tags/picture/).
    QImage Pic() const;
    // The raw picture bytes of the APIC frame read from the file.
    QByteArray PictureBinary() const { return m_pictureBinary; }
    // Chooses the JPEG file the next write embeds: taken when the file exists and its name
    // ends in ".jpg" (any case); otherwise nothing changes.
    void SetPicFromFile(const QString &param);
    QString picturePath() const { return m_picturePath; }

    // Field-by-field equality; the picture is compared through its bytes.
    bool operator==(const TypeTagV2 &other) const;

private:
    friend TypeTagV2 recordFromTag(const Id3v2Tag &tag, FieldSources *sources);
    void setPictureBinary(const QByteArray &bytes) { m_pictureBinary = bytes; }

    QString m_picturePath;
    QByteArray m_pictureBinary;
    bool m_valide = false;
    QString m_artiste;
    QString m_album;
    QString m_piste;
    QString m_titre;
    int m_genre = 0;
    QString m_genreTexte;
    QString m_annee;
    QString m_commentaire;
    QString m_compositeur;
    QString m_original;
    QString m_copyright;
    QString m_url;
    QString m_encode;
};

} // namespace tags
