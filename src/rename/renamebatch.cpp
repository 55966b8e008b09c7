#include "rename/renamebatch.h"

#include "base/fileaccess.h"
#include "base/safefs.h"
#include "rename/preview.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace renaming {

using base::isAcceptableName;
using base::joinPath;
using base::renameNoReplace;

QString RenameOutcome::message() const
{
    if (refused.isEmpty())
        return {};
    QString text = QCoreApplication::translate("rename", "Ces fichiers n'ont pas été renommés :");
    for (const RenameRefusal &r : refused)
        text += QCoreApplication::translate("rename", "\n« %1 » → « %2 » : %3")
                    .arg(r.fichier, r.nouveau, r.raison);
    return text;
}

QString RenameOutcome::summary() const
{
    QString text = QCoreApplication::translate("rename", "Fichiers renommés : %1").arg(renamed);
    if (refused.isEmpty())
        return text;
    QStringList reasons;
    for (const RenameRefusal &r : refused)
        reasons.append(
            QCoreApplication::translate("rename", "« %1 » (%2)").arg(r.fichier, r.raison));
    return text + QCoreApplication::translate("rename", " ; non renommés : %1")
                      .arg(reasons.join(QStringLiteral(", ")));
}

namespace {

bool acceptableRelative(const QString &name, bool folders)
{
    if (!folders)
        return isAcceptableName(name);
    const QStringList parts = name.split(u'/');
    return std::all_of(parts.begin(), parts.end(),
                       [](const QString &part) { return isAcceptableName(part); });
}

// Creates the missing folders of a relative name inside folder, appending them to *created.
// Returns 0 or the errno value of the failure.
int makeFolders(const QString &folder, const QString &name, QStringList *created)
{
    QString path = folder;
    const QStringList parts = name.split(u'/');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        path = joinPath(path, parts[i]);
        const QByteArray native = QFile::encodeName(path);
        if (::mkdir(native.constData(), 0777) == 0) {
            created->append(path);
            continue;
        }
        if (errno != EEXIST)
            return errno;
        // A link is not followed: the name must stay inside the folder.
        struct stat st;
        if (::lstat(native.constData(), &st) != 0)
            return errno;
        if (!S_ISDIR(st.st_mode))
            return ENOTDIR;
    }
    return 0;
}

} // namespace

RenameOutcome renameFiles(const QString &folder, const QList<RenameRow> &rows, bool folders)
{
    RenameOutcome outcome;
    for (const RenameRow &row : rows) {
        if (isMarkerOrEmpty(row.nouveau) || row.nouveau == row.fichier)
            continue;
        // A file listed in a folder below keeps its folder: only its own name changes.
        const qsizetype ownName = row.fichier.lastIndexOf(u'/') + 1;
        if (!base::isAcceptableRelative(row.fichier) ||
            QStringView(row.nouveau).left(ownName) != QStringView(row.fichier).left(ownName) ||
            !acceptableRelative(row.nouveau.mid(ownName), folders)) {
            outcome.refused.append(
                {row.fichier, row.nouveau,
                 QCoreApplication::translate("rename", "nom de fichier interdit")});
            continue;
        }
        QStringList created;
        int error = folders ? makeFolders(folder, row.nouveau, &created) : 0;
        if (error == 0)
            error = renameNoReplace(joinPath(folder, row.fichier), joinPath(folder, row.nouveau));
        if (error == 0) {
            ++outcome.renamed;
            outcome.done.append(row);
            outcome.createdFolders += created;
            continue;
        }
        for (auto f = created.crbegin(); f != created.crend(); ++f)
            ::rmdir(QFile::encodeName(*f).constData());
        outcome.refused.append({row.fichier, row.nouveau, base::systemError(error)});
    }
    return outcome;
}

} // namespace renaming
