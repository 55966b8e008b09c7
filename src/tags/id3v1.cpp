#include "tags/id3v1.h"

#include "base/fileaccess.h"
#include "base/windows1252.h"
#include "tags/tagsave.h"

#include <fcntl.h>
#include <unistd.h>

namespace tags {

namespace {

constexpr qsizetype TitreAt = 3, ArtisteAt = 33, AlbumAt = 63, AnneeAt = 93, CommentaireAt = 97;
constexpr qsizetype Version11At = 125, PisteAt = 126, GenreAt = 127;

// The characters of one field, cut at its first NUL.
QString extractField(QByteArrayView block, qsizetype start, qsizetype length)
{
    QByteArrayView field = block.sliced(start, length);
    const qsizetype nul = field.indexOf('\0');
    if (nul >= 0)
        field = field.first(nul);
    return base::fromWindows1252(field);
}

// The text in Windows-1252, cut to width bytes and filled with NULs.
QByteArray padField(const QString &text, qsizetype width)
{
    QByteArray bytes = base::toWindows1252(text).left(width);
    bytes.append(width - bytes.size(), '\0');
    return bytes;
}

} // namespace

bool isId3v1Block(QByteArrayView block)
{
    return block.startsWith("TAG");
}

TypeTagV1 parseId3v1(QByteArrayView block)
{
    TypeTagV1 tag;
    tag.setGenre(255);
    if (block.size() != Id3v1Size || !isId3v1Block(block))
        return tag;
    tag.setValide(true);
    tag.setTitre(extractField(block, TitreAt, 30));
    tag.setArtiste(extractField(block, ArtisteAt, 30));
    tag.setAlbum(extractField(block, AlbumAt, 30));
    tag.setAnnee(extractField(block, AnneeAt, 4));
    tag.setCommentaire(extractField(block, CommentaireAt, 28));
    // The track byte is taken whatever precedes it: an ID3v1.0 comment that fills the area gives
    // its last character as the track.
    tag.setPiste(qint16(static_cast<unsigned char>(block[PisteAt])));
    tag.setGenre(static_cast<unsigned char>(block[GenreAt]));
    return tag;
}

std::optional<QByteArray> renderId3v1(const TypeTagV1 &tag, QByteArrayView over)
{
    if (!tag.Valide())
        return QByteArray();
    if (tag.Piste() < 0 || tag.Piste() > 255)
        return std::nullopt;
    const TypeTagV1 old = parseId3v1(over);
    QByteArray block = old.Valide() ? over.toByteArray() : "TAG" + QByteArray(125, '\0');
    const auto put = [&](qsizetype at, qsizetype width, const QString &value, const QString &was) {
        if (!old.Valide() || value != was)
            block.replace(at, width, padField(value, width));
    };
    put(TitreAt, 30, tag.Titre(), old.Titre());
    put(ArtisteAt, 30, tag.Artiste(), old.Artiste());
    put(AlbumAt, 30, tag.Album(), old.Album());
    put(AnneeAt, 4, tag.Annee(), old.Annee());
    if (!old.Valide() || tag.Commentaire() != old.Commentaire() || tag.Piste() != old.Piste()) {
        put(CommentaireAt, 28, tag.Commentaire(), old.Commentaire());
        // An ID3v1.0 block has no track: the byte read as one is the comment's last character,
        // which becomes no track when the block turns into an ID3v1.1 one.
        const bool version10 = old.Valide() && over[Version11At] != 0;
        block[Version11At] = '\0';
        block[PisteAt] = char(version10 && tag.Piste() == old.Piste() ? 0 : tag.Piste());
    }
    if (!old.Valide() || tag.Genre() != old.Genre())
        block[GenreAt] = char(tag.Genre() >= 0 && tag.Genre() <= 255 ? tag.Genre() : 255);
    return block;
}

TypeTagV1 readTagV1(const QString &fichier)
{
    const base::Fd fd(
        open(base::nativePath(fichier).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (fd.get() < 0 || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size < Id3v1Size)
        return parseId3v1({});
    QByteArray block(Id3v1Size, '\0');
    if (!base::readAt(fd.get(), block.data(), Id3v1Size, info.st_size - Id3v1Size))
        return parseId3v1({});
    return parseId3v1(block);
}

bool writeTagV1(const QString &fichier, const TypeTagV1 &tag)
{
    TagChanges changes;
    changes.v1 = tag;
    return saveTags(fichier, changes).ok();
}

bool removeTagV1(const QString &fichier)
{
    TagChanges changes;
    changes.removeV1 = true;
    return saveTags(fichier, changes).ok();
}

} // namespace tags
