#pragma once

#include "tags/tagresult.h"
#include "tags/tagtype.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace tags {

// An editor that shows a file's tags (the main window's tag editor).
class TagEditor
{
public:
    virtual void showTagsOfFile(const QString &fichier) = 0;

protected:
    ~TagEditor() = default;
};

// The one entry point through which the rest of the program reads and writes the tags of a
// file (given as a full path). ID3v1 failures are absorbed by its codec (an invalid record,
// false); input/output failures of the ID3v2 codec come back as a failed Result carrying a
// French description.
class ZellTagCtrl
{
public:
    ZellTagCtrl();

    // Stored and returned; changes nothing.
    bool Advanced() const { return m_advanced; }
    void setAdvanced(bool advanced) { m_advanced = advanced; }

    Result<TagType> GetAllTags(const QString &fichier) const;
    // Writes both tags in one change that happens whole or not at all (see saveTags): only the
    // fields that differ from the file are written.
    Result<bool> SetAllTags(const QString &fichier, const TagType &Vartags) const;
    Result<bool> SetAllTagsOld(const QString &fichier, const TagType &Vartags) const;
    // Removes the ID3v2 tag; the ID3v1 block stays.
    Result<bool> ClearAllTags(const QString &fichier) const;

    TypeTagV1 GetTagV1(const QString &fichier) const;
    bool SetTagV1(const QString &fichier, const TypeTagV1 &Vartags) const;
    // Writes a record that is not valid: the file is not changed and the result is true.
    bool ClearTagV1(const QString &fichier) const;

    Result<TypeTagV2> GetTagV2(const QString &fichier) const;
    Result<bool> SetTagV2(const QString &fichier, const TypeTagV2 &Vartags) const;
    Result<bool> ClearTagV2(const QString &fichier) const;

    // Mode 0: a new ID3v2 tag from every ID3v1 field. 1: only the non-empty ID3v1 fields over the
    // file's ID3v2 tag. 2 and 3: as 0 and 1, but the fields only ID3v2 has are kept. Above 3
    // counts as 3.
    Result<bool> CopyV1ToV2(const QString &fichier, int Mode = 0) const;
    // Mode 0: every ID3v2 field over a new block; any other mode: the non-empty ID3v2 fields over
    // the file's ID3v1 block.
    Result<bool> CopyV2ToV1(const QString &fichier, int Mode = 0) const;

    // One field by code (0 Valide, 1 Artiste, 2 Album, 3 Piste, 4 Titre, 5 Genre, 6 Annee,
    // 7 Commentaire of version 0 = ID3v1 or 1 = ID3v2; 8 Original and 9 Copyright for a
    // version below 2; 10 Compositeur, 11 Url, 12 Encode whatever the version). An invalid
    // QVariant for any other combination.
    Result<QVariant> GetOneTag(int TagInfo, const QString &fichier, int Version = 0) const;

    // The 149 genre choices: entry i is genre i - 1, the first (no genre) being empty.
    void GetGenreListe(QStringList &Tableau) const;

    // Opens an MP3 file's tags in the editor given; does nothing for other files.
    void WinampForm(const QString &fichier, TagEditor &editor) const;

private:
    bool m_advanced = false;
    QStringList m_genres;
};

} // namespace tags
