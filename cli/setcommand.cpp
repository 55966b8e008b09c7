// tarvex-cli set [--v1] [--v2] [--champ=valeur...] [--champ=ID=VALEUR...] [--retirer=ID...]
// [--v23] [--depuis-nom=MODELE] FICHIER...: changes the named fields and frames of the tags of
// each file, and the fields its name gives through the pattern.
#include "tagcli.h"

#include "tags/fieldrules.h"
#include "tags/genres.h"
#include "tags/tagbatch.h"
#include "tags/tagpattern.h"
#include "tags/tagpictures.h"
#include "tags/tagsave.h"

#include <optional>

#include <QCoreApplication>

namespace {

constexpr const char *usage = QT_TRANSLATE_NOOP(
    "cli",
    "set [--v1] [--v2] [--titre=T] [--artiste=A] [--album=..] [--annee=..] [--commentaire=..] "
    "[--piste=..] [--genre=NOMBRE|NOM] [--compositeur=..] [--original=..] [--copyright=..] "
    "[--url=..] [--encode=..] [--image=JPEG|PNG] [--champ=ID=VALEUR] [--retirer=ID] [--v23] "
    "[--depuis-nom=MODELE] FICHIER...  (modifie les tags ; --champ donne une valeur à une trame "
    "ID3v2 (TPE2, TXXX:DESCRIPTION, COMM:DESCRIPTION, USLT, ...), --retirer la retire, --v23 "
    "écrit le tag ID3v2 en version 2.3 ; --depuis-nom lit les champs dans le nom du fichier sans "
    "extension, par exemple \"%piste% - %artiste% - %titre%\")");

// The frame changes of --champ=ID=VALEUR and --retirer=ID, in the order given; `error` gets the
// first fault. An identifier may also be given by its French name ("Artiste de l'album").
QList<tags::FrameChange> frameOptions(const cli::Arguments &arguments, QString *error)
{
    QList<tags::FrameChange> changes;
    for (const auto &[name, value] : arguments.options) {
        const bool set = name == QLatin1String("--champ=");
        if (!set && name != QLatin1String("--retirer="))
            continue;
        const qsizetype equals = set ? value.indexOf(u'=') : value.size();
        if (equals < 0) {
            *error = QCoreApplication::translate("cli", "--champ attend ID=VALEUR : %1").arg(value);
            return {};
        }
        const QString typed = value.left(equals);
        const QString key = tags::keyOfTyped(typed);
        tags::FrameChange change{key.isEmpty() ? typed : key,
                                 set ? std::optional(value.mid(equals + 1)) : std::nullopt};
        if (const QString fault = tags::frameChangeError(change); !fault.isEmpty()) {
            *error = fault;
            return {};
        }
        changes.append(change);
    }
    return changes;
}

// The edit the options give: the fields named, each as typed.
tags::FieldEdit optionEdit(const cli::Arguments &arguments, std::optional<int> genre)
{
    tags::FieldEdit edit;
    const auto field = [&](const char *option) {
        return arguments.has(QLatin1String(option))
                   ? std::optional<QString>(arguments.value(QLatin1String(option)))
                   : std::nullopt;
    };
    edit.titre = field("--titre=");
    edit.artiste = field("--artiste=");
    edit.album = field("--album=");
    edit.annee = field("--annee=");
    edit.commentaire = field("--commentaire=");
    edit.piste = field("--piste=");
    if (genre)
        edit.genre = tags::TypedGenre{*genre, {}};
    edit.compositeur = field("--compositeur=");
    edit.original = field("--original=");
    edit.copyright = field("--copyright=");
    edit.url = field("--url=");
    edit.encode = field("--encode=");
    edit.v1 = arguments.has(QLatin1String("--v1"));
    edit.v2 = arguments.has(QLatin1String("--v2"));
    edit.v23 = arguments.has(QLatin1String("--v23"));
    return edit;
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
    const cli::Arguments arguments = cli::parseArguments(
        args, {"--v1", "--v2", "--titre=", "--artiste=", "--album=", "--annee=", "--commentaire=",
               "--piste=", "--genre=", "--compositeur=", "--original=", "--copyright=", "--url=",
               "--encode=", "--image=", "--champ=", "--retirer=", "--v23", "--depuis-nom="});
    if (!arguments.error.isEmpty())
        return cli::usageError(arguments.error, usage);
    std::optional<int> genre;
    if (arguments.has(QLatin1String("--genre="))) {
        const QString named = arguments.value(QLatin1String("--genre="));
        genre = genreOption(named);
        if (!genre)
            return cli::usageError(
                QCoreApplication::translate("cli", "Genre inconnu : %1").arg(named), usage);
    }
    std::optional<tags::PictureEdit> cover;
    if (arguments.has(QLatin1String("--image="))) {
        const tags::Result<QByteArray> image =
            tags::readImageFile(arguments.value(QLatin1String("--image=")));
        if (!image.ok())
            return cli::usageError(
                QCoreApplication::translate("cli", "Image refusée : %1").arg(image.error()), usage);
        cover = tags::PictureEdit{tags::PictureEdit::SetFrontCover, *image, 0};
    }
    const bool fromName = arguments.has(QLatin1String("--depuis-nom="));
    const QString pattern = arguments.value(QLatin1String("--depuis-nom="));
    if (const QString fault = tags::patternError(pattern); fromName && !fault.isEmpty())
        return cli::usageError(
            QCoreApplication::translate("cli", "Modèle invalide : %1").arg(fault), usage);
    if (arguments.files.isEmpty())
        return cli::usageError(QCoreApplication::translate("cli", "Aucun fichier indiqué."), usage);
    QString frameError;
    const QList<tags::FrameChange> frames = frameOptions(arguments, &frameError);
    if (!frameError.isEmpty())
        return cli::usageError(frameError, usage);
    tags::FieldEdit edit = optionEdit(arguments, genre);
    edit.images = cover;
    edit.frames = frames;
    if (edit.piste && edit.v1) {
        const int number = tags::v1Track(*edit.piste);
        if (number < 0 || number > 255)
            return cli::usageError(QCoreApplication::translate(
                                       "cli", "Piste hors de 0 à 255, impossible en ID3v1 : %1")
                                       .arg(*edit.piste),
                                   usage);
    }

    return tagcli::changeFiles(arguments.files, [&](const QString &path) -> QString {
        const std::optional<tags::FieldEdit> fileEdit =
            fromName ? tags::editFromName(pattern, path, edit) : edit;
        if (!fileEdit)
            return tags::nameMismatch(pattern, path);
        return tagcli::saved(tags::saveFields(path, *fileEdit, tagcli::batchSave));
    });
}

const cli::Registration registration({"set", usage, runSet});

} // namespace
