#include "rename/renamebatch.h"

#include "base/fileaccess.h"
#include "base/safefs.h"
#include "rename/preview.h"

namespace renaming {

using base::isAcceptableName;
using base::joinPath;
using base::renameNoReplace;

QString RenameOutcome::message() const
{
    if (refused.isEmpty())
        return {};
    QString text = QStringLiteral("Ces fichiers n'ont pas été renommés :");
    for (const RenameRefusal &r : refused)
        text += QStringLiteral("\n« %1 » → « %2 » : %3").arg(r.fichier, r.nouveau, r.raison);
    return text;
}

RenameOutcome renameFiles(const QString &folder, const QList<RenameRow> &rows)
{
    RenameOutcome outcome;
    for (const RenameRow &row : rows) {
        if (isMarkerOrEmpty(row.nouveau) || row.nouveau == row.fichier)
            continue;
        if (!isAcceptableName(row.nouveau) || !isAcceptableName(row.fichier)) {
            outcome.refused.append(
                {row.fichier, row.nouveau, QStringLiteral("nom de fichier interdit")});
            continue;
        }
        const int error =
            renameNoReplace(joinPath(folder, row.fichier), joinPath(folder, row.nouveau));
        if (error == 0)
            ++outcome.renamed;
        else
            outcome.refused.append({row.fichier, row.nouveau, base::systemError(error)});
    }
    return outcome;
}

QString firstSlashToDash(const QString &title)
{
    QString result = title;
    const qsizetype slash = result.indexOf(u'/');
    if (slash >= 0)
        result[slash] = u'-';
    return result;
}

} // namespace renaming
