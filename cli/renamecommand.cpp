// tarvex-cli rename: the renaming page for scripts, with the same name operations, preview
// markers and refusals.
#include "command.h"

#include "rename/newname.h"
#include "rename/preview.h"
#include "rename/renamebatch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <optional>

namespace {

using namespace renaming;

struct Invocation
{
    RenameSettings settings;
    bool apercu = false;
    QStringList files;
};

std::optional<int> number(const QString &text, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || value > max)
        return std::nullopt;
    return value;
}

// Reads the options; returns an error text for a usage mistake.
QString parse(const QStringList &args, Invocation *out)
{
    std::optional<Operation> operation;
    bool mainOptionSeen = false;
    auto setOperation = [&](Operation op, bool mainOption) {
        if (operation && *operation != op)
            return false;
        operation = op;
        mainOptionSeen = mainOptionSeen || mainOption;
        return true;
    };
    bool optionsEnded = false;
    for (const QString &arg : args) {
        if (optionsEnded || !arg.startsWith(QLatin1String("--"))) {
            out->files.append(arg);
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("--apercu")) {
            out->apercu = true;
            continue;
        }
        const qsizetype equals = arg.indexOf(u'=');
        if (equals < 0)
            return QCoreApplication::translate("cli", "option inconnue ou sans valeur : %1")
                .arg(arg);
        const QString name = arg.mid(2, equals - 2);
        const QString value = arg.mid(equals + 1);
        RenameSettings &s = out->settings;
        bool consistent = true;
        std::optional<int> n;
        if (name == QLatin1String("supprimer") || name == QLatin1String("position")) {
            consistent = setOperation(Operation::Supprimer, name == QLatin1String("supprimer"));
            if (!(n = number(value, 1000000)))
                return QCoreApplication::translate("cli", "nombre invalide : %1").arg(arg);
            (name == QLatin1String("supprimer") ? s.nombre : s.position) = *n;
        } else if (name == QLatin1String("remplacer")) {
            consistent = setOperation(Operation::Remplacer, true);
            s.recherche = value;
        } else if (name == QLatin1String("par")) {
            consistent = setOperation(Operation::Remplacer, false);
            s.remplacement = value;
        } else if (name == QLatin1String("lettrage-nom") || name == QLatin1String("lettrage-ext")) {
            consistent = setOperation(Operation::Lettrage, true);
            const bool nom = name == QLatin1String("lettrage-nom");
            if (!(n = number(value, nom ? PremierMot : Initiales)))
                return QCoreApplication::translate("cli", "règle de lettrage invalide : %1")
                    .arg(arg);
            (nom ? s.lettrageNom : s.lettrageExt) = *n;
        } else if (name == QLatin1String("inverser")) {
            consistent = setOperation(Operation::Inverser, true);
            if (!(n = number(value, TitreParentheses)))
                return QCoreApplication::translate("cli", "règle d'inversion invalide : %1")
                    .arg(arg);
            s.inversion = *n;
        } else if (name == QLatin1String("nom")) {
            consistent = setOperation(Operation::Manuellement, true);
            s.nomManuel = value;
        } else if (name == QLatin1String("avant") || name == QLatin1String("apres")) {
            consistent = setOperation(Operation::Ajouter, true);
            (name == QLatin1String("avant") ? s.avant : s.apres) = value;
        } else if (name == QLatin1String("format")) {
            consistent = setOperation(Operation::DapresTag, true);
            if (const QString fault = tags::patternError(value); !fault.isEmpty())
                return fault;
            s.modele = value;
        } else {
            return QCoreApplication::translate("cli", "option inconnue : %1").arg(arg);
        }
        if (!consistent)
            return QCoreApplication::translate("cli", "une seule opération à la fois : %1")
                .arg(arg);
    }
    if (!operation || !mainOptionSeen)
        return QCoreApplication::translate("cli", "aucune opération donnée");
    if (out->files.isEmpty())
        return QCoreApplication::translate("cli", "aucun fichier donné");
    out->settings.operation = *operation;
    return {};
}

// The new-name cell of one file; "D'après le tag" reads the file's tags.
PreviewCell cellOf(const QString &path, const RenameSettings &settings)
{
    const QFileInfo info(path);
    return apercu(info.path(), {{info.fileName(), true, std::nullopt}}, settings).constFirst();
}

int printPreview(const Invocation &inv)
{
    QJsonArray rows;
    for (const QString &path : inv.files) {
        const QString name = QFileInfo(path).fileName();
        const PreviewCell cell = cellOf(path, inv.settings);
        rows.append(
            QJsonObject{{QStringLiteral("fichier"), name}, {QStringLiteral("nouveau"), cell.text}});
    }
    cli::printJson(QJsonDocument(rows));
    return cli::AllSucceeded;
}

// Renames each file to its previewed name and prints, for each, its path, the new name and
// whether it was renamed, with the reason when it was not.
int renameAll(const Invocation &inv)
{
    QJsonArray out;
    int status = cli::AllSucceeded;
    for (const QString &path : inv.files) {
        const QFileInfo info(path);
        const PreviewCell cell = cellOf(path, inv.settings);
        QString error;
        if (cell.text.isEmpty())
            error = QCoreApplication::translate("cli", "pas de nouveau nom (nom vide)");
        else if (cell.marker)
            error = QCoreApplication::translate("cli", "pas de nouveau nom %1").arg(cell.text);
        else if (const RenameOutcome outcome =
                     renameFiles(info.path(), {{info.fileName(), cell.text}},
                                 inv.settings.operation == Operation::DapresTag);
                 !outcome.refused.isEmpty())
            error = outcome.refused.first().raison;
        QJsonObject entry{{QStringLiteral("fichier"), path},
                          {QStringLiteral("nouveau"), cell.marker ? QString() : cell.text},
                          {QStringLiteral("ok"), error.isEmpty()}};
        if (!error.isEmpty()) {
            entry.insert(QStringLiteral("erreur"), error);
            status = cli::SomeFailed;
        }
        out.append(entry);
    }
    cli::printJson(QJsonDocument(out));
    return status;
}

int run(const QStringList &args)
{
    Invocation inv;
    const QString error = parse(args, &inv);
    if (!error.isEmpty()) {
        QTextStream(stderr) << "rename : " << error << "\n";
        return cli::UsageError;
    }
    return inv.apercu ? printPreview(inv) : renameAll(inv);
}

const cli::Registration registration({
    "rename",
    QT_TRANSLATE_NOOP(
        "cli",
        "rename OPERATION [--apercu] FICHIER...   renomme les fichiers ; OPERATION est "
        "--supprimer=N [--position=P], --remplacer=S [--par=R], --lettrage-nom=K --lettrage-ext=K, "
        "--inverser=K, --nom=NOM, --avant=TEXTE --apres=TEXTE ou --format=MODELE (d'après le tag : "
        "%titre% %artiste% %album% %annee% %piste% %piste:2% %genre% %commentaire%, %% pour %, / "
        "pour un dossier)"),
    run,
});

} // namespace
