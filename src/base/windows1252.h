#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace base {

// Windows-1252 ("ANSI") text at the file boundary. The five bytes the code page leaves
// undefined (81, 8D, 8F, 90, 9D) map to the control characters of the same number, so that
// every byte string survives a round trip.

// The Windows-1252 byte of one UTF-16 code unit, or -1 when the code page has none.
int windows1252Code(char16_t unit);

// True when every character of the text has a Windows-1252 byte.
bool fitsWindows1252(QStringView text);

// One byte per character; a character without a Windows-1252 byte becomes '?'.
QByteArray toWindows1252(QStringView text);

QString fromWindows1252(QByteArrayView bytes);

} // namespace base
