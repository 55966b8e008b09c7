// tarvex-cli clear [--v1] [--v2] FICHIER...: removes the ID3v1 block and/or the ID3v2 tag
// (both when no version is named).
#include "tagcli.h"

#include "tags/tagsave.h"

#include <QCoreApplication>

namespace {

constexpr const char *usage =
    QT_TRANSLATE_NOOP("cli", "clear [--v1] [--v2] FICHIER...  (supprime les tags)");

int runClear(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(args, {"--v1", "--v2"});
    if (!arguments.error.isEmpty())
        return cli::usageError(arguments.error, usage);
    if (arguments.files.isEmpty())
        return cli::usageError(QCoreApplication::translate("cli", "Aucun fichier indiqué."), usage);
    // Both versions when none is named.
    bool v1 = arguments.has("--v1"), v2 = arguments.has("--v2");
    if (!v1 && !v2)
        v1 = v2 = true;

    // Both removals go into one change of the file.
    tags::TagChanges changes;
    changes.removeV1 = v1;
    if (v2)
        changes.v2 = tags::TypeTagV2();
    return tagcli::changeFiles(arguments.files, [&](const QString &path) {
        return tagcli::saved(tags::saveTags(path, changes, tagcli::batchSave));
    });
}

const cli::Registration registration({"clear", usage, runClear});

} // namespace
