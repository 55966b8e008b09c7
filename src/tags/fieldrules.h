#pragma once

#include <QString>

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

} // namespace tags
