#pragma once

#include "rename/renamesettings.h"

#include <QString>
#include <QStringView>

namespace renaming {

inline constexpr QStringView kPasSelectionne = u"(Pas selectionné)";
inline constexpr QStringView kNonCompatible = u"(Non compatible)";

// Outcome of one name operation on one file name.
struct NewName
{
    enum Kind { Name, NonCompatible, Failure };
    Kind kind = Failure;
    QString name; // set when kind is Name

    static NewName of(QString text) { return {Name, std::move(text)}; }
    bool operator==(const NewName &) const = default;
};

// The name the file called fichier (no folder) would get from the active operation of the
// settings. Positions count characters (code points), never bytes or UTF-16 halves. Touches no
// file. A name that cannot be split into a name part and a 4-character extension fails for
// every operation that splits it. "D'après le tag" gives the pattern's name (folders included)
// for the tag values followed by the extension, and "(Non compatible)" when the values lack a
// field the pattern uses or give no possible name; without values it fails.
NewName newFileName(QStringView fichier, const RenameSettings &settings,
                    const tags::PatternValues *values = nullptr);

} // namespace renaming
