#pragma once

#include "tags/tagtype.h"

#include <QString>

#include <optional>

namespace tags {

// The rules that turn what a user typed into tag values, shared by the editor and tarvex-cli.

// The ID3v1 track of a typed text: its leading number ("7/12" gives 7), 0 when it has none.
qint16 v1Track(const QString &typed);

// The ID3v2 track of a typed text: a track and total ("7/12") stays as typed; any other text
// becomes its leading number, or stays empty when it has none.
QString v2Track(const QString &typed);

struct TypedGenre
{
    int number;   // 255 when the text names no listed genre
    QString text; // the genre in the user's own words, when it names none
};

// The ID3v2 genre of a typed text: a listed name (any case) gives its number; other words are
// kept as they are; an empty text is no genre.
TypedGenre v2Genre(const QString &typed);

// The genre lists of the editor and of the CD page hold the genre choices: position 0 is no
// genre, position g + 1 genre g.
// The position showing a genre number: 0 for no genre and for numbers without a name.
int genreListPosition(int genre);
// The genre at a list position: no genre for position 0, no selection (-1) and beyond the list.
int genreAtListPosition(int position);

// What the options impose on every save: texts that replace the comments and the ID3v2
// encoded-by text of the versions a save writes, and the ID3v2 version written.
struct FixedTexts
{
    std::optional<QString> comment;
    std::optional<QString> encoder;
    bool writeV23 = false; // every ID3v2 tag saved is written as version 2.3
};

// The defaults of the options ("Commentaire", "Encodepar"): a default replaces what the user
// typed only when it is not empty.
FixedTexts defaultTexts(const QString &comment, const QString &encoder);

// Sets the fixed texts into the versions the record holds (the valid ones).
void applyFixedTexts(TagType &record, const FixedTexts &texts);

} // namespace tags
