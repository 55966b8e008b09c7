#pragma once

// Helpers shared by the tag sub-commands of tarvex-cli (tags, set, copy, clear).

#include "command.h"

#include "tags/tagtype.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

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

// Why a path cannot be handled as a file, or an empty text.
inline QString notAFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("Fichier introuvable");
    if (info.isDir())
        return QStringLiteral("C'est un dossier, pas un fichier");
    return {};
}

// One entry of the answer of a command that changes files.
inline QJsonObject outcome(const QString &path, bool ok, const QString &error = {})
{
    QJsonObject entry{{QStringLiteral("fichier"), path}, {QStringLiteral("ok"), ok}};
    if (!error.isEmpty())
        entry.insert(QStringLiteral("erreur"), error);
    return entry;
}

inline void writeJson(const QJsonArray &array)
{
    QFile out;
    out.open(stdout, QIODevice::WriteOnly);
    out.write(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

inline int usageError(const QString &message, const char *usage)
{
    QTextStream(stderr) << message << "\nUtilisation : tarvex-cli " << usage << "\n";
    return cli::UsageError;
}

} // namespace tagcli
