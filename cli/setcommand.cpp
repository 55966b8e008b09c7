// tarvex-cli set [--v1] [--v2] [--champ=valeur...] FICHIER...: changes the named fields of the
// tags of each file and writes both tags back.
#include "tagcli.h"

#include "tags/genres.h"
#include "tags/zelltagctrl.h"

#include <map>
#include <optional>

namespace {

constexpr const char *usage =
    "set [--v1] [--v2] [--titre=T] [--artiste=A] [--album=..] [--annee=..] [--commentaire=..] "
    "[--piste=..] [--genre=NOMBRE|NOM] [--compositeur=..] [--original=..] [--copyright=..] "
    "[--url=..] [--encode=..] [--image=JPEG] FICHIER...  (modifie les tags)";

struct Edit
{
    bool v1 = false;
    bool v2 = false;
    std::map<QString, QString> fields; // option name without dashes -> value
    std::optional<int> genre;
    QString image;
};

std::optional<QString> field(const Edit &edit, const char *name)
{
    const auto found = edit.fields.find(QLatin1String(name));
    return found == edit.fields.end() ? std::nullopt : std::optional<QString>(found->second);
}

void applyV1(const Edit &edit, tags::TypeTagV1 &t)
{
    if (!t.Valide()) {
        t = tags::TypeTagV1();
        t.setGenre(tags::NoGenre);
        t.setValide(true);
    }
    if (auto v = field(edit, "titre"))
        t.setTitre(*v);
    if (auto v = field(edit, "artiste"))
        t.setArtiste(*v);
    if (auto v = field(edit, "album"))
        t.setAlbum(*v);
    if (auto v = field(edit, "annee"))
        t.setAnnee(*v);
    if (auto v = field(edit, "commentaire"))
        t.setCommentaire(*v);
    if (auto v = field(edit, "piste"))
        t.setPiste(tags::roundToInt16(tags::leadingNumber(*v)));
    if (edit.genre)
        t.setGenre(*edit.genre);
}

void applyV2(const Edit &edit, tags::TypeTagV2 &t)
{
    if (!t.Valide()) {
        t = tags::TypeTagV2();
        t.setGenre(tags::NoGenre);
        t.setValide(true);
    }
    if (auto v = field(edit, "titre"))
        t.setTitre(*v);
    if (auto v = field(edit, "artiste"))
        t.setArtiste(*v);
    if (auto v = field(edit, "album"))
        t.setAlbum(*v);
    if (auto v = field(edit, "annee"))
        t.setAnnee(*v);
    if (auto v = field(edit, "commentaire"))
        t.setCommentaire(*v);
    if (auto v = field(edit, "piste"))
        t.setPiste(*v);
    if (auto v = field(edit, "compositeur"))
        t.setCompositeur(*v);
    if (auto v = field(edit, "original"))
        t.setOriginal(*v);
    if (auto v = field(edit, "copyright"))
        t.setCopyright(*v);
    if (auto v = field(edit, "url"))
        t.setUrl(*v);
    if (auto v = field(edit, "encode"))
        t.setEncode(*v);
    if (edit.genre)
        t.setGenre(*edit.genre);
    if (!edit.image.isEmpty())
        t.SetPicFromFile(edit.image);
}

int runSet(const QStringList &args)
{
    static const QStringList names{"titre",       "artiste", "album",       "annee",
                                   "commentaire", "piste",   "compositeur", "original",
                                   "copyright",   "url",     "encode"};
    Edit edit;
    QStringList files;
    bool options = true;
    for (const QString &arg : args) {
        if (!options || !arg.startsWith(QLatin1String("--"))) {
            if (options && arg.startsWith(QLatin1Char('-')) && arg.size() > 1)
                return tagcli::usageError(QStringLiteral("Option inconnue : %1").arg(arg), usage);
            files.append(arg);
            continue;
        }
        if (arg == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (arg == QLatin1String("--v1")) {
            edit.v1 = true;
            continue;
        }
        if (arg == QLatin1String("--v2")) {
            edit.v2 = true;
            continue;
        }
        const qsizetype equals = arg.indexOf(QLatin1Char('='));
        const QString name = arg.mid(2, equals < 0 ? -1 : equals - 2);
        if (equals < 0)
            return tagcli::usageError(
                QStringLiteral("Valeur manquante pour --%1 (--%1=VALEUR)").arg(name), usage);
        const QString value = arg.mid(equals + 1);
        if (names.contains(name)) {
            edit.fields[name] = value;
        } else if (name == QLatin1String("genre")) {
            bool number = false;
            const int genre = value.toInt(&number);
            const int resolved = number ? genre : tags::genreFromText(value);
            if ((number && (genre < 0 || genre > 255)) ||
                (!number && (value.isEmpty() || resolved == tags::NoGenre)))
                return tagcli::usageError(QStringLiteral("Genre inconnu : %1").arg(value), usage);
            edit.genre = resolved;
        } else if (name == QLatin1String("image")) {
            tags::TypeTagV2 probe;
            probe.SetPicFromFile(value);
            if (probe.picturePath().isEmpty())
                return tagcli::usageError(
                    QStringLiteral("Image refusée (un fichier .jpg existant est attendu) : %1")
                        .arg(value),
                    usage);
            edit.image = value;
        } else {
            return tagcli::usageError(QStringLiteral("Option inconnue : %1").arg(arg), usage);
        }
    }
    if (files.isEmpty())
        return tagcli::usageError(QStringLiteral("Aucun fichier indiqué."), usage);
    if (const auto piste = field(edit, "piste"); piste && edit.v1) {
        const int number = tags::roundToInt16(tags::leadingNumber(*piste));
        if (number < 0 || number > 255)
            return tagcli::usageError(
                QStringLiteral("Piste hors de 0 à 255, impossible en ID3v1 : %1").arg(*piste),
                usage);
    }

    const tags::ZellTagCtrl ctrl;
    return tagcli::changeFiles(files, [&](const QString &path) -> QString {
        const tags::Result<tags::TagType> read = ctrl.GetAllTags(path);
        if (!read.ok())
            return read.error();
        tags::TagType tags = *read;
        // Without a version named: the versions the file has, or ID3v2 alone.
        bool v1 = edit.v1, v2 = edit.v2;
        if (!v1 && !v2) {
            v1 = tags.TagV1.Valide();
            v2 = tags.TagV2.Valide() || !v1;
        }
        if (v1)
            applyV1(edit, tags.TagV1);
        if (v2)
            applyV2(edit, tags.TagV2);
        if (v1 && (tags.TagV1.Piste() < 0 || tags.TagV1.Piste() > 255))
            return QStringLiteral("Piste hors de 0 à 255, impossible en ID3v1");
        const tags::Result<bool> written = ctrl.SetAllTags(path, tags);
        if (!written.ok())
            return written.error();
        if (!*written)
            return QStringLiteral("Échec de l'écriture (fichier trop court ou sans trame MPEG)");
        return {};
    });
}

const cli::Registration registration({"set", usage, runSet});

} // namespace
