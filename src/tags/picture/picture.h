#pragma once

#include <QByteArray>
#include <QImage>

namespace tags {

// The picture of the bytes, or a null image when they are empty or do not decode.
QImage pictureFromBytes(const QByteArray &bytes);

} // namespace tags
