#pragma once

#include "rename/renamesettings.h"

#include <QList>
#include <QString>

namespace renaming {

// One row of the file list as the preview sees it.
struct PreviewRow
{
    QString fichier; // file name, no folder
    bool checked = false;
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

// True for the texts a new-name cell holds when it names no file: empty or a marker.
bool isMarkerOrEmpty(QStringView cell);

} // namespace renaming
