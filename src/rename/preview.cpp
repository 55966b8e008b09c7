#include "rename/preview.h"

#include "base/safefs.h"
#include "rename/newname.h"

namespace renaming {

PreviewCell previewCell(const PreviewRow &row, const RenameSettings &settings)
{
    if (!row.checked)
        return {kPasSelectionne.toString(), true};
    // A file of a folder below keeps its folder; the operation names the file itself.
    const qsizetype ownName = row.fichier.lastIndexOf(u'/') + 1;
    const NewName result =
        newFileName(row.fichier.mid(ownName), settings, row.valeurs ? &*row.valeurs : nullptr);
    switch (result.kind) {
    case NewName::Name:
        return {row.fichier.left(ownName) + result.name, false};
    case NewName::NonCompatible:
        return {kNonCompatible.toString(), true};
    case NewName::Failure:
        break;
    }
    // A checked row the operation cannot name is told apart from an unchecked one.
    return {kNonCompatible.toString(), true};
}

QList<PreviewCell> apercu(const QList<PreviewRow> &rows, const RenameSettings &settings)
{
    QList<PreviewCell> cells;
    cells.reserve(rows.size());
    for (const PreviewRow &row : rows)
        cells.append(previewCell(row, settings));
    return cells;
}

QList<PreviewCell> apercu(const QString &folder, QList<PreviewRow> rows,
                          const RenameSettings &settings)
{
    if (settings.operation == Operation::DapresTag) {
        for (PreviewRow &row : rows) {
            if (!row.checked || row.valeurs)
                continue;
            const tags::Result<tags::PatternValues> read =
                tags::readPatternValues(base::joinPath(folder, row.fichier));
            // Unreadable tags give no value at all: every field the pattern uses is missing.
            row.valeurs = read.ok() ? *read : tags::PatternValues();
        }
    }
    return apercu(rows, settings);
}

bool isMarkerOrEmpty(QStringView cell)
{
    return cell.isEmpty() || cell == kPasSelectionne || cell == kNonCompatible;
}

} // namespace renaming
