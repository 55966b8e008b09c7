#pragma once

#include <QByteArray>
#include <QString>

namespace files {

// Writes bytes to a file chosen by the user (a picture saved from a tag), replacing it whole or
// not at all. The French description of a failure, naming the file; empty on success.
QString writeBytes(const QString &path, const QByteArray &bytes);

} // namespace files
