// tarvex-cli copy --v1-vers-v2|--v2-vers-v1 [--mode=N] FICHIER...: copies one tag version into
// the other.
#include "tagcli.h"

#include "tags/zelltagctrl.h"

#include <QCoreApplication>

namespace {

constexpr const char *usage = QT_TRANSLATE_NOOP(
    "cli", "copy --v1-vers-v2|--v2-vers-v1 [--mode=N] FICHIER...  (copie un tag dans l'autre)");

int runCopy(const QStringList &args)
{
    const cli::Arguments arguments =
        cli::parseArguments(args, {"--v1-vers-v2", "--v2-vers-v1", "--mode="});
    if (!arguments.error.isEmpty())
        return cli::usageError(arguments.error, usage);
    const bool toV2 = arguments.has("--v1-vers-v2");
    if (toV2 == arguments.has("--v2-vers-v1"))
        return cli::usageError(
            toV2 ? QCoreApplication::translate("cli", "Une seule direction de copie à la fois.")
                 : QCoreApplication::translate("cli", "Indiquez --v1-vers-v2 ou --v2-vers-v1."),
            usage);
    bool numeric = true;
    const int mode = arguments.has("--mode=") ? arguments.value("--mode=").toInt(&numeric) : 0;
    if (!numeric)
        return cli::usageError(QCoreApplication::translate("cli", "Mode invalide : %1")
                                   .arg(arguments.value("--mode=")),
                               usage);
    if (arguments.files.isEmpty())
        return cli::usageError(QCoreApplication::translate("cli", "Aucun fichier indiqué."), usage);

    const tags::ZellTagCtrl ctrl;
    return tagcli::changeFiles(arguments.files, [&](const QString &path) -> QString {
        const tags::Result<bool> copied =
            toV2 ? ctrl.CopyV1ToV2(path, mode) : ctrl.CopyV2ToV1(path, mode);
        if (!copied.ok())
            return copied.error();
        if (*copied)
            return {};
        if (!path.endsWith(QLatin1String("mp3"), Qt::CaseInsensitive))
            return QCoreApplication::translate("cli",
                                               "Le nom ne finit pas par .mp3 : rien n'a été copié");
        return toV2 ? QCoreApplication::translate("cli", "Pas de tag ID3v1 à copier")
                    : QCoreApplication::translate("cli", "Pas de tag ID3v2 à copier");
        return {};
    });
}

const cli::Registration registration({"copy", usage, runCopy});

} // namespace
