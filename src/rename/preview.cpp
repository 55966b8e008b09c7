#include "rename/preview.h"

#include "rename/newname.h"

namespace renaming {

PreviewCell previewCell(const PreviewRow &row, const RenameSettings &settings)
{
    if (!row.checked)
        return {kPasSelectionne.toString(), true};
    const NewName result = newFileName(row.fichier, settings);
    switch (result.kind) {
    case NewName::Name:
        return {result.name, false};
    case NewName::NonCompatible:
        return {kNonCompatible.toString(), true};
    case NewName::Failure:
        break;
    }
    return {kPasSelectionne.toString(), true};
}

QList<PreviewCell> apercu(const QList<PreviewRow> &rows, const RenameSettings &settings)
{
    QList<PreviewCell> cells;
    cells.reserve(rows.size());
    for (const PreviewRow &row : rows)
        cells.append(previewCell(row, settings));
    return cells;
}

bool isMarkerOrEmpty(QStringView cell)
{
    return cell.isEmpty() || cell == kPasSelectionne || cell == kNonCompatible;
}

} // namespace renaming
