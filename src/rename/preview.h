#pragma once

#include "rename/renamesettings.h"

#include <QList>
#include <QString>

#include <optional>

namespace renaming {

// One row of the file list as the preview sees it.
struct PreviewRow
{
    QString fichier; // file name, or a path below the listed folder ("Album/a.mp3")
    bool checked = false;
    // The values of the file's tags, which "D'après le tag" needs; without them that operation
    // fails for the row.
    std::optional<tags::PatternValues> valeurs = std::nullopt;
};

// The new-name cell of one row: a computed name, or a marker shown in grey.
struct PreviewCell
{
    QString text;
    bool marker = false;

    bool operator==(const PreviewCell &) const = default;
};

PreviewCell previewCell(const PreviewRow &row, const RenameSettings &settings);

// The new-name column for every row, in order.
QList<PreviewCell> apercu(const QList<PreviewRow> &rows, const RenameSettings &settings);
// The same for the files of folder, reading the tags of the checked rows that have no values
// yet when the operation is "D'après le tag"; a file whose tags cannot be read shows
// "(Non compatible)".
QList<PreviewCell> apercu(const QString &folder, QList<PreviewRow> rows,
                          const RenameSettings &settings);

// True for the texts a new-name cell holds when it names no file: empty or a marker.
bool isMarkerOrEmpty(QStringView cell);

} // namespace renaming
