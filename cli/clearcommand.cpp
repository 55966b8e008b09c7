// tarvex-cli clear [--v1] [--v2] FICHIER...: removes the ID3v1 block and/or the ID3v2 tag
// (both when no version is named).
#include "tagcli.h"

#include "tags/id3v1.h"
#include "tags/id3v2reader.h"
#include "tags/zelltagctrl.h"

namespace {

constexpr const char *usage = "clear [--v1] [--v2] FICHIER...  (supprime les tags)";

int runClear(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(args, {"--v1", "--v2"});
    if (!arguments.error.isEmpty())
        return cli::usageError(arguments.error, usage);
    if (arguments.files.isEmpty())
        return cli::usageError(QStringLiteral("Aucun fichier indiqué."), usage);
    // Both versions when none is named.
    bool v1 = arguments.has("--v1"), v2 = arguments.has("--v2");
    if (!v1 && !v2)
        v1 = v2 = true;

    const tags::ZellTagCtrl ctrl;
    return tagcli::changeFiles(arguments.files, [&](const QString &path) -> QString {
        if (v1 && !tags::removeTagV1(path))
            return QStringLiteral(
                "Impossible de supprimer le tag ID3v1 (fichier en lecture seule ?)");
        if (!v2)
            return {};
        // Only a file that has a tag is rewritten.
        const tags::Result<tags::TypeTagV2> read = ctrl.GetTagV2(path);
        if (!read.ok())
            return read.error();
        if (!read->Valide())
            return {};
        const tags::Result<bool> cleared = ctrl.ClearTagV2(path);
        if (!cleared.ok())
            return cleared.error();
        if (!*cleared)
            return QStringLiteral("Aucune trame MPEG après le tag : fichier laissé tel quel");
        return {};
    });
}

const cli::Registration registration({"clear", usage, runClear});

} // namespace
