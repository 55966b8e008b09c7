#include "rename/renamebatch.h"

#include "rename/preview.h"
#include "rename/safefs.h"

namespace renaming {

QString RenameOutcome::message() const
{
    if (refused.isEmpty())
        return {};
    QString text = QStringLiteral("Ces fichiers n'ont pas été renommés :");
    for (const RenameRefusal &r : refused)
        text += QStringLiteral("\n« %1 » → « %2 » : %3").arg(r.fichier, r.nouveau, r.raison);
    return text;
}

bool isAcceptableName(QStringView name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(u'\0'));
}

RenameOutcome renameFiles(const QString &folder, const QList<RenameRow> &rows)
{
    RenameOutcome outcome;
    for (const RenameRow &row : rows) {
        if (isMarkerOrEmpty(row.nouveau) || row.nouveau == row.fichier)
            continue;
        if (!isAcceptableName(row.nouveau) || !isAcceptableName(row.fichier)) {
            outcome.refused.append({row.fichier, row.nouveau, QStringLiteral("nom de fichier interdit")});
            continue;
        }
        const int error = renameNoReplace(joinPath(folder, row.fichier), joinPath(folder, row.nouveau));
        if (error == 0)
            ++outcome.renamed;
        else
            outcome.refused.append({row.fichier, row.nouveau, errorText(error)});
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
