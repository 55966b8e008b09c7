// tarvex-cli copy --v1-vers-v2|--v2-vers-v1 [--mode=N] FICHIER...: copies one tag version into
// the other.
#include "tagcli.h"

#include "tags/zelltagctrl.h"

namespace {

constexpr const char *usage =
    "copy --v1-vers-v2|--v2-vers-v1 [--mode=N] FICHIER...  (copie un tag dans l'autre)";

int runCopy(const QStringList &args)
{
    int direction = 0; // 1: v1 to v2, 2: v2 to v1
    int mode = 0;
    QStringList files;
    bool options = true;
    for (const QString &arg : args) {
        if (options && arg == QLatin1String("--")) {
            options = false;
        } else if (options &&
                   (arg == QLatin1String("--v1-vers-v2") || arg == QLatin1String("--v2-vers-v1"))) {
            const int chosen = arg == QLatin1String("--v1-vers-v2") ? 1 : 2;
            if (direction != 0 && direction != chosen)
                return tagcli::usageError(QStringLiteral("Une seule direction de copie à la fois."),
                                          usage);
            direction = chosen;
        } else if (options && arg.startsWith(QLatin1String("--mode="))) {
            bool ok = false;
            mode = arg.mid(7).toInt(&ok);
            if (!ok)
                return tagcli::usageError(QStringLiteral("Mode invalide : %1").arg(arg.mid(7)),
                                          usage);
        } else if (options && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return tagcli::usageError(QStringLiteral("Option inconnue : %1").arg(arg), usage);
        } else {
            files.append(arg);
        }
    }
    if (direction == 0)
        return tagcli::usageError(QStringLiteral("Indiquez --v1-vers-v2 ou --v2-vers-v1."), usage);
    if (files.isEmpty())
        return tagcli::usageError(QStringLiteral("Aucun fichier indiqué."), usage);

    const tags::ZellTagCtrl ctrl;
    return tagcli::changeFiles(files, [&](const QString &path) -> QString {
        const tags::Result<bool> copied =
            direction == 1 ? ctrl.CopyV1ToV2(path, mode) : ctrl.CopyV2ToV1(path, mode);
        if (!copied.ok())
            return copied.error();
        if (!*copied)
            return direction == 1 ? QStringLiteral("Pas de tag ID3v1 à copier, ou fichier non MP3")
                                  : QStringLiteral("Pas de tag ID3v2 à copier, ou fichier non MP3");
        return {};
    });
}

const cli::Registration registration({"copy", usage, runCopy});

} // namespace
