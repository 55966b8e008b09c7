// tarvex-cli set [--v1] [--v2] [--champ=valeur...] FICHIER...: changes the named fields of the
// tags of each file and writes both tags back.
#include "tagcli.h"

#include "tags/fieldrules.h"
#include "tags/genres.h"
#include "tags/tagsave.h"
#include "tags/zelltagctrl.h"

#include <optional>

namespace {

constexpr const char *usage =
    "set [--v1] [--v2] [--titre=T] [--artiste=A] [--album=..] [--annee=..] [--commentaire=..] "
    "[--piste=..] [--genre=NOMBRE|NOM] [--compositeur=..] [--original=..] [--copyright=..] "
    "[--url=..] [--encode=..] [--image=JPEG] FICHIER...  (modifie les tags)";

// What to change: the options given, and the genre they name.
struct Edit
{
    cli::Arguments arguments;
    std::optional<int> genre;

    std::optional<QString> field(const char *option) const
    {
        return arguments.has(QLatin1String(option))
                   ? std::optional<QString>(arguments.value(QLatin1String(option)))
                   : std::nullopt;
    }
};

// Changes the fields both versions have; a version the file lacks is created first.
template <typename Tag> void applyCommon(const Edit &edit, Tag &t)
{
    if (!t.Valide()) {
        t = Tag();
        t.setGenre(tags::NoGenre);
        t.setValide(true);
    }
    if (auto v = edit.field("--titre="))
        t.setTitre(*v);
    if (auto v = edit.field("--artiste="))
        t.setArtiste(*v);
    if (auto v = edit.field("--album="))
        t.setAlbum(*v);
    if (auto v = edit.field("--annee="))
        t.setAnnee(*v);
    if (edit.genre)
        t.setGenre(*edit.genre);
}

void applyV1(const Edit &edit, tags::TypeTagV1 &t)
{
    applyCommon(edit, t);
    if (auto v = edit.field("--piste="))
        t.setPiste(tags::v1Track(*v));
}

void applyV2(const Edit &edit, tags::TypeTagV2 &t)
{
    applyCommon(edit, t);
    if (auto v = edit.field("--piste="))
        t.setPiste(tags::v2Track(*v));
    if (auto v = edit.field("--compositeur="))
        t.setCompositeur(*v);
    if (auto v = edit.field("--original="))
        t.setOriginal(*v);
    if (auto v = edit.field("--copyright="))
        t.setCopyright(*v);
    if (auto v = edit.field("--url="))
        t.setUrl(*v);
    if (auto v = edit.field("--image="))
        t.SetPicFromFile(*v);
}

// The genre named by a number from 0 to 255 or by its name.
std::optional<int> genreOption(const QString &value)
{
    bool number = false;
    const int genre = value.toInt(&number);
    if (number)
        return genre >= 0 && genre <= 255 ? std::optional<int>(genre) : std::nullopt;
    const int named = tags::v2Genre(value).number;
    return named == tags::NoGenre ? std::nullopt : std::optional<int>(named);
}

int runSet(const QStringList &args)
{
    Edit edit;
    edit.arguments = cli::parseArguments(
        args, {"--v1", "--v2", "--titre=", "--artiste=", "--album=", "--annee=", "--commentaire=",
               "--piste=", "--genre=", "--compositeur=", "--original=", "--copyright=", "--url=",
               "--encode=", "--image="});
    const cli::Arguments &arguments = edit.arguments;
    if (!arguments.error.isEmpty())
        return cli::usageError(arguments.error, usage);
    if (const auto genre = edit.field("--genre=")) {
        edit.genre = genreOption(*genre);
        if (!edit.genre)
            return cli::usageError(QStringLiteral("Genre inconnu : %1").arg(*genre), usage);
    }
    if (const auto image = edit.field("--image=")) {
        tags::TypeTagV2 probe;
        probe.SetPicFromFile(*image);
        if (probe.picturePath().isEmpty())
            return cli::usageError(
                QStringLiteral("Image refusée (un fichier .jpg existant est attendu) : %1")
                    .arg(*image),
                usage);
    }
    if (arguments.files.isEmpty())
        return cli::usageError(QStringLiteral("Aucun fichier indiqué."), usage);
    const bool namedV1 = arguments.has(QLatin1String("--v1")),
               namedV2 = arguments.has(QLatin1String("--v2"));
    if (const auto piste = edit.field("--piste="); piste && namedV1) {
        const int number = tags::v1Track(*piste);
        if (number < 0 || number > 255)
            return cli::usageError(
                QStringLiteral("Piste hors de 0 à 255, impossible en ID3v1 : %1").arg(*piste),
                usage);
    }

    const auto changesFor = [&](const tags::TagType &held) {
        tags::TagType tags = held;
        // Without a version named: the versions the file has, or ID3v2 alone.
        bool v1 = namedV1, v2 = namedV2;
        if (!v1 && !v2) {
            v1 = tags.TagV1.Valide();
            v2 = tags.TagV2.Valide() || !v1;
        }
        if (v1)
            applyV1(edit, tags.TagV1);
        if (v2)
            applyV2(edit, tags.TagV2);
        // The comment and encoded-by texts follow the editor's rule for its defaults.
        tags::applyFixedTexts(tags, {edit.field("--commentaire="), edit.field("--encode=")});
        tags::TagChanges changes;
        if (v1)
            changes.v1 = tags.TagV1;
        if (v2)
            changes.v2 = tags.TagV2;
        return changes;
    };
    return tagcli::changeFiles(arguments.files, [&](const QString &path) {
        return tagcli::saved(tags::saveTags(path, changesFor, tagcli::batchSave));
    });
}

const cli::Registration registration({"set", usage, runSet});

} // namespace
