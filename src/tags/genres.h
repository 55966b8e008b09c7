#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace tags {

// Genre number meaning "no genre".
constexpr int NoGenre = 255;
// Numbers 0 to LastGenre have a name.
constexpr int LastGenre = 147;

// Name of genres 0 to 147; the empty text for any other number (255 included).
QString genreName(int genre);

// Genre number of a TCON text or a typed genre: a listed name (any case), a number 0-147, or a
// number in parentheses, read without range check ("(200)" gives 200). 255 when nothing fits.
qint16 genreFromText(QStringView text);

// The 149 texts offered as genre choices: the empty text (no genre) followed by the names of
// genres 0 to 147. Entry i holds genre i - 1.
QStringList genreChoices();

// The number a text begins with, read the way old BASIC's Val does: blanks anywhere are
// skipped, an optional sign, digits, a decimal point and an exponent; 0 when there is none.
double leadingNumber(QStringView text);

// Rounds to the nearest integer, halves to even, clamped to the 16-bit range.
qint16 roundToInt16(double value, bool *inRange = nullptr);

} // namespace tags
