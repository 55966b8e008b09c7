#pragma once

#include <QString>
#include <QStringView>

namespace tags {

// The filter every tag text passes on its way into a record: everything up to the last NUL is
// dropped, then control characters, DEL and 'ÿ' are removed (judged by their Windows-1252
// code), a CR LF pair being the one control sequence kept. Characters that Windows-1252 cannot
// hold are kept.
QString cleanTagText(QStringView text);

// The same filter for a multi-line text (an ID3v2 comment): line feeds and tabs stay too.
QString cleanMultiLineText(QStringView text);

} // namespace tags
