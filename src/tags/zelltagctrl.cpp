#include "tags/zelltagctrl.h"

#include "tags/fieldrules.h"
#include "tags/genres.h"
#include "tags/id3v1.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"
#include "tags/tagsave.h"

#include <algorithm>

namespace tags {

namespace {

bool isMp3Path(const QString &fichier)
{
    return fichier.right(3).toUpper() == QLatin1String("MP3");
}

} // namespace

ZellTagCtrl::ZellTagCtrl() : m_genres(genreChoices()) {}

Result<TagType> ZellTagCtrl::GetAllTags(const QString &fichier) const
{
    TagType tags;
    tags.TagV1 = readTagV1(fichier);
    const Result<TypeTagV2> v2 = readTagV2(fichier);
    if (!v2.ok())
        return Result<TagType>::failure(v2.error());
    tags.TagV2 = *v2;
    return tags;
}

Result<bool> ZellTagCtrl::SetAllTags(const QString &fichier, const TagType &Vartags) const
{
    TagChanges changes;
    changes.v1 = Vartags.TagV1;
    changes.v2 = Vartags.TagV2;
    return saveChanges(fichier, changes);
}

Result<bool> ZellTagCtrl::SetAllTagsOld(const QString &fichier, const TagType &Vartags) const
{
    return SetAllTags(fichier, Vartags);
}

Result<bool> ZellTagCtrl::ClearAllTags(const QString &fichier) const
{
    return SetAllTags(fichier, TagType());
}

TypeTagV1 ZellTagCtrl::GetTagV1(const QString &fichier) const
{
    return readTagV1(fichier);
}

bool ZellTagCtrl::SetTagV1(const QString &fichier, const TypeTagV1 &Vartags) const
{
    return writeTagV1(fichier, Vartags);
}

bool ZellTagCtrl::ClearTagV1(const QString &fichier) const
{
    return writeTagV1(fichier, TypeTagV1());
}

Result<TypeTagV2> ZellTagCtrl::GetTagV2(const QString &fichier) const
{
    return readTagV2(fichier);
}

Result<bool> ZellTagCtrl::SetTagV2(const QString &fichier, const TypeTagV2 &Vartags) const
{
    return writeTagV2(fichier, Vartags);
}

Result<bool> ZellTagCtrl::ClearTagV2(const QString &fichier) const
{
    return writeTagV2(fichier, TypeTagV2());
}

Result<bool> ZellTagCtrl::CopyV1ToV2(const QString &fichier, int Mode) const
{
    if (!isMp3Path(fichier))
        return false;
    TagType tags;
    tags.TagV1 = readTagV1(fichier);
    if (!tags.TagV1.Valide())
        return false;
    Mode = std::min(Mode, 3);
    if (Mode >= 1) {
        const Result<TypeTagV2> v2 = readTagV2(fichier);
        if (!v2.ok())
            return Result<bool>::failure(v2.error());
        tags.TagV2 = *v2;
    }
    TypeTagV2 &v2 = tags.TagV2;
    const TypeTagV1 &v1 = tags.TagV1;
    v2.setValide(true);
    const bool all = Mode % 2 == 0;
    v2.setPiste(QString::number(v1.Piste()));
    if (!v1.Titre().isEmpty() || all)
        v2.setTitre(v1.Titre());
    if (!v1.Artiste().isEmpty() || all)
        v2.setArtiste(v1.Artiste());
    if (!v1.Album().isEmpty() || all)
        v2.setAlbum(v1.Album());
    if (!v1.Annee().isEmpty() || all)
        v2.setAnnee(v1.Annee());
    if (!v1.Commentaire().isEmpty() || all)
        v2.setCommentaire(v1.Commentaire());
    // The genre copied replaces a free-text one too.
    if (v1.Genre() != NoGenre || all) {
        v2.setGenre(v1.Genre());
        v2.setGenreTexte({});
    }
    if (Mode < 2) {
        v2.setCompositeur({});
        v2.setOriginal({});
        v2.setCopyright({});
        v2.setUrl({});
        v2.setEncode({});
    }
    return writeTagV2(fichier, v2);
}

Result<bool> ZellTagCtrl::CopyV2ToV1(const QString &fichier, int Mode) const
{
    if (!isMp3Path(fichier))
        return false;
    const Result<TypeTagV2> read = readTagV2(fichier);
    if (!read.ok())
        return Result<bool>::failure(read.error());
    const TypeTagV2 &v2 = *read;
    if (!v2.Valide())
        return false;
    TypeTagV1 v1;
    if (Mode >= 1)
        v1 = readTagV1(fichier);
    v1.setValide(true);
    const bool all = Mode == 0;
    if (!v2.Piste().trimmed().isEmpty() || all)
        v1.setPiste(v1Track(v2.Piste()));
    if (!v2.Titre().isEmpty() || all)
        v1.setTitre(v2.Titre());
    if (!v2.Artiste().isEmpty() || all)
        v1.setArtiste(v2.Artiste());
    if (!v2.Album().isEmpty() || all)
        v1.setAlbum(v2.Album());
    if (!v2.Annee().isEmpty() || all)
        v1.setAnnee(v2.Annee());
    if (!v2.Commentaire().isEmpty() || all)
        v1.setCommentaire(v2.Commentaire());
    if (v2.Genre() != NoGenre || all)
        v1.setGenre(v2.Genre());
    TagChanges changes;
    changes.v1 = v1;
    return saveChanges(fichier, changes);
}

Result<QVariant> ZellTagCtrl::GetOneTag(int TagInfo, const QString &fichier, int Version) const
{
    const Result<TagType> read = GetAllTags(fichier);
    if (!read.ok())
        return Result<QVariant>::failure(read.error());
    const TypeTagV1 &v1 = read->TagV1;
    const TypeTagV2 &v2 = read->TagV2;
    if (TagInfo >= 0 && TagInfo <= 7 && Version == 0) {
        switch (TagInfo) {
        case 0:
            return QVariant(v1.Valide());
        case 1:
            return QVariant(v1.Artiste());
        case 2:
            return QVariant(v1.Album());
        case 3:
            return QVariant::fromValue(v1.Piste());
        case 4:
            return QVariant(v1.Titre());
        case 5:
            return QVariant(v1.Genre());
        case 6:
            return QVariant(v1.Annee());
        default:
            return QVariant(v1.Commentaire());
        }
    }
    if (TagInfo >= 0 && TagInfo <= 7 && Version == 1) {
        switch (TagInfo) {
        case 0:
            return QVariant(v2.Valide());
        case 1:
            return QVariant(v2.Artiste());
        case 2:
            return QVariant(v2.Album());
        case 3:
            return QVariant(v2.Piste());
        case 4:
            return QVariant(v2.Titre());
        case 5:
            return QVariant(v2.Genre());
        case 6:
            return QVariant(v2.Annee());
        default:
            return QVariant(v2.Commentaire());
        }
    }
    if (TagInfo == 8 && Version < 2)
        return QVariant(v2.Original());
    if (TagInfo == 9 && Version < 2)
        return QVariant(v2.Copyright());
    if (TagInfo == 10)
        return QVariant(v2.Compositeur());
    if (TagInfo == 11)
        return QVariant(v2.Url());
    if (TagInfo == 12)
        return QVariant(v2.Encode());
    return QVariant();
}

void ZellTagCtrl::GetGenreListe(QStringList &Tableau) const
{
    Tableau = m_genres;
}

void ZellTagCtrl::WinampForm(const QString &fichier, TagEditor &editor) const
{
    if (isMp3Path(fichier))
        editor.showTagsOfFile(fichier);
}

} // namespace tags
