// tarvex-cli tags FICHIER...: both tags of each file as a JSON array, printed file by file.
#include "tagcli.h"

#include "tags/tagframes.h"
#include "tags/tagpictures.h"
#include "tags/zelltagctrl.h"

#include <QCoreApplication>

namespace {

constexpr const char *usage =
    QT_TRANSLATE_NOOP("cli", "tags FICHIER...  (tags ID3v1 et ID3v2, en JSON)");

int runTags(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(args, {});
    if (!arguments.error.isEmpty())
        return cli::usageError(arguments.error, usage);
    if (arguments.files.isEmpty())
        return cli::usageError(QCoreApplication::translate("cli", "Aucun fichier indiqué."), usage);

    const tags::ZellTagCtrl ctrl;
    cli::JsonArrayWriter out;
    int status = cli::AllSucceeded;
    for (const QString &path : arguments.files) {
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
        QJsonValue v2;
        if (read.TagV2.Valide()) {
            QJsonObject object = tagcli::v2Object(read.TagV2);
            const tags::Result<QList<tags::TagPicture>> pictures = tags::readPictures(path);
            if (pictures.ok())
                object.insert(QStringLiteral("Images"), tagcli::picturesArray(*pictures));
            else
                error = pictures.error();
            const tags::Result<QList<tags::TagFrame>> frames = tags::readFrames(path);
            if (frames.ok())
                object.insert(QStringLiteral("Trames"), tagcli::framesArray(*frames));
            else
                error = frames.error();
            v2 = object;
        }
        entry.insert(QStringLiteral("v2"), v2);
        if (!error.isEmpty()) {
            entry.insert(QStringLiteral("erreur"), error);
            status = cli::SomeFailed;
        }
        out.append(entry);
    }
    out.finish();
    return status;
}

const cli::Registration registration({"tags", usage, runTags});

} // namespace
