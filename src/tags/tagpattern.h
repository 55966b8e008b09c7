#pragma once

#include "tags/tagresult.h"
#include "tags/tagtype.h"
#include "tags/usertexts.h"

#include <QMap>
#include <QString>
#include <QStringView>

#include <optional>

namespace tags {

// Patterns that turn tags into file names and file names into tags, such as
// "%piste:2% - %artiste% - %titre%" or "%artiste%/%album%/%piste% %titre%". A field is written
// %nom% with a French name; %piste:N% writes the track number with at least N digits; "%%" is a
// "%"; every other character stands for itself, a "/" separating folders.

enum class PatternField { Titre, Artiste, Album, Annee, Piste, Genre, Commentaire };

// The values of the fields of one file; a field without value is absent.
using PatternValues = QMap<PatternField, QString>;

// The name of a field in patterns ("titre", "artiste" ...).
QString patternFieldName(PatternField field);

// The values a tag gives: the ID3v2 value when the file has one, else the ID3v1 value. The track
// is its number alone ("7/12" gives "7"), the genre its name; empty texts are no value.
PatternValues patternValues(const TagType &tag);

// The relative name (folders separated by "/", no extension) the pattern gives for the values.
// A value's "/" and NUL become "-", so that a value never makes a folder; a failure names the
// field the pattern uses but the values lack, or the name that cannot be a file name (empty,
// "." or "..", longer than 255 bytes), or the fault of the pattern.
Result<QString> formatName(QStringView pattern, const PatternValues &values);

// The values read from a name by the pattern: the pattern must cover the whole name, the track
// and the year are digits, every other field at least one character; a field named twice must
// read the same both times. When the pattern holds "/", the name must hold as many (give the
// file name preceded by its folders). nullopt when the name does not fit or the pattern is
// faulty.
std::optional<PatternValues> matchName(QStringView pattern, QStringView name);

// The values of the tags of a file (see patternValues); a failure when they cannot be read.
// With `texts`, the TXXX texts of its ID3v2 tag too, from the same read.
Result<PatternValues> readPatternValues(const QString &fichier, QList<UserText> *texts = nullptr);

// The fault of a pattern ("%" without end, unknown field, bad width), or an empty text.
QString patternError(QStringView pattern);

// The file name without extension of `path`, preceded by as many of its folders as the pattern
// holds "/": the text matchName reads for the file.
QString nameToMatch(QStringView pattern, const QString &path);

} // namespace tags
