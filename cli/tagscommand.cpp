// tarvex-cli tags FICHIER...: both tags of each file as a JSON array.
#include "tagcli.h"

#include "tags/zelltagctrl.h"

namespace {

constexpr const char *usage = "tags FICHIER...  (tags ID3v1 et ID3v2, en JSON)";

int runTags(const QStringList &args)
{
    QStringList files;
    bool options = true;
    for (const QString &arg : args) {
        if (options && arg == QLatin1String("--"))
            options = false;
        else if (options && arg.startsWith(QLatin1Char('-')) && arg.size() > 1)
            return tagcli::usageError(QStringLiteral("Option inconnue : %1").arg(arg), usage);
        else
            files.append(arg);
    }
    if (files.isEmpty())
        return tagcli::usageError(QStringLiteral("Aucun fichier indiqué."), usage);

    const tags::ZellTagCtrl ctrl;
    QJsonArray out;
    int status = cli::AllSucceeded;
    for (const QString &path : files) {
        QJsonObject entry{{QStringLiteral("fichier"), path}};
        QString error = tagcli::notAFile(path);
        tags::TagType read;
        if (error.isEmpty()) {
            const tags::Result<tags::TagType> result = ctrl.GetAllTags(path);
            if (result.ok())
                read = *result;
            else
                error = result.error();
        }
        entry.insert(QStringLiteral("v1"),
                     read.TagV1.Valide() ? QJsonValue(tagcli::v1Object(read.TagV1)) : QJsonValue());
        entry.insert(QStringLiteral("v2"),
                     read.TagV2.Valide() ? QJsonValue(tagcli::v2Object(read.TagV2)) : QJsonValue());
        if (!error.isEmpty()) {
            entry.insert(QStringLiteral("erreur"), error);
            status = cli::SomeFailed;
        }
        out.append(entry);
    }
    tagcli::writeJson(out);
    return status;
}

const cli::Registration registration({"tags", usage, runTags});

} // namespace
