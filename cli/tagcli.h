#pragma once

// Helpers shared by the tag sub-commands of tarvex-cli (tags, set, copy, clear).

#include "command.h"

#include "base/fileaccess.h"

#include "tags/tagbatch.h"
#include "tags/tagframes.h"
#include "tags/tagpictures.h"
#include "tags/tagsave.h"
#include "tags/tagtype.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace tagcli {

inline QJsonObject v1Object(const tags::TypeTagV1 &t)
{
    return {
        {QStringLiteral("Titre"), t.Titre()},
        {QStringLiteral("Artiste"), t.Artiste()},
        {QStringLiteral("Album"), t.Album()},
        {QStringLiteral("Annee"), t.Annee()},
        {QStringLiteral("Commentaire"), t.Commentaire()},
        {QStringLiteral("Piste"), int(t.Piste())},
        {QStringLiteral("Genre"), t.Genre()},
    };
}

inline QJsonObject v2Object(const tags::TypeTagV2 &t)
{
    QJsonObject object{
        {QStringLiteral("Titre"), t.Titre()},
        {QStringLiteral("Artiste"), t.Artiste()},
        {QStringLiteral("Album"), t.Album()},
        {QStringLiteral("Annee"), t.Annee()},
        {QStringLiteral("Commentaire"), t.Commentaire()},
        {QStringLiteral("Piste"), t.Piste()},
        {QStringLiteral("Genre"), t.Genre()},
        {QStringLiteral("Compositeur"), t.Compositeur()},
        {QStringLiteral("Original"), t.Original()},
        {QStringLiteral("Copyright"), t.Copyright()},
        {QStringLiteral("Url"), t.Url()},
        {QStringLiteral("Encode"), t.Encode()},
    };
    object.insert(QStringLiteral("Image"),
                  t.PictureBinary().isEmpty()
                      ? QJsonValue(QJsonValue::Null)
                      : QJsonValue(QJsonObject{
                            {QStringLiteral("octets"), double(t.PictureBinary().size())}}));
    return object;
}

// One object per picture: type, MIME type and size.
inline QJsonArray picturesArray(const QList<tags::TagPicture> &pictures)
{
    QJsonArray array;
    for (const tags::TagPicture &p : pictures)
        array.append(QJsonObject{{QStringLiteral("type"), p.type},
                                 {QStringLiteral("mime"), p.mime},
                                 {QStringLiteral("octets"), double(p.data.size())}});
    return array;
}

// One object per frame of the tag: its key, its French name, and its text or its size.
inline QJsonArray framesArray(const QList<tags::TagFrame> &frames)
{
    QJsonArray array;
    for (const tags::TagFrame &f : frames) {
        QJsonObject object{{QStringLiteral("cle"), f.key},
                           {QStringLiteral("nom"), tags::frameName(f.key)}};
        if (f.text)
            object.insert(QStringLiteral("valeur"), f.value);
        else
            object.insert(QStringLiteral("octets"), double(f.size));
        array.append(object);
    }
    return array;
}

// Why a path cannot be handled as a file, or an empty text. Only regular files are opened: a
// named pipe or a device would block or stream for ever. A file that cannot be read is said so
// before any command looks for its tags.
inline QString notAFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const auto inaccessible = [](int error) {
        return QCoreApplication::translate("cli", "Fichier inaccessible : %1")
            .arg(base::systemError(error));
    };
    struct stat info;
    if (stat(name.constData(), &info) != 0)
        return errno == ENOENT ? QCoreApplication::translate("cli", "Fichier introuvable")
                               : inaccessible(errno);
    if (S_ISDIR(info.st_mode))
        return QCoreApplication::translate("cli", "C'est un dossier, pas un fichier");
    if (!S_ISREG(info.st_mode))
        return QCoreApplication::translate(
            "cli", "Ce n'est pas un fichier ordinaire (tube, périphérique...)");
    const base::Fd readable(open(name.constData(), O_RDONLY | O_CLOEXEC));
    if (readable.get() < 0)
        return inaccessible(errno);
    return {};
}

// Saves of a batch leave their in-place writes to the one sync that ends the batch.
constexpr tags::SaveOptions batchSave{false};

// The error of a save, or an empty text.
inline QString saved(const tags::Result<tags::SaveKind> &result)
{
    return result.ok() ? QString() : result.error();
}

// One entry of the answer of a command that changes files.
inline QJsonObject outcome(const QString &path, bool ok, const QString &error = {})
{
    QJsonObject entry{{QStringLiteral("fichier"), path}, {QStringLiteral("ok"), ok}};
    if (!error.isEmpty())
        entry.insert(QStringLiteral("erreur"), error);
    return entry;
}

// Prints one outcome per file, `errors` giving the failure of each (empty for success), and
// returns the exit status.
inline int printOutcomes(const QStringList &files, const QStringList &errors)
{
    QJsonArray out;
    int status = cli::AllSucceeded;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &error = errors[i];
        if (!error.isEmpty())
            status = cli::SomeFailed;
        out.append(outcome(files[i], error.isEmpty(), error));
    }
    cli::printJson(QJsonDocument(out));
    return status;
}

// Changes every file with `change` through tags::runBatch, which gives the French description
// of a failure or an empty text, prints one outcome per file in the order given and returns the
// exit status.
inline int changeFiles(const QStringList &files,
                       const std::function<QString(const QString &path)> &change)
{
    const QStringList errors = tags::runBatch(files, [&](qsizetype i) {
        const QString error = notAFile(files[i]);
        return error.isEmpty() ? change(files[i]) : error;
    });
    return printOutcomes(files, errors);
}

} // namespace tagcli
