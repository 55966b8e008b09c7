#pragma once

#include "tags/id3v2frames.h"
#include "tags/tagresult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace tags {

// A TXXX frame: a value under a description ("REPLAYGAIN_TRACK_GAIN" = "-6.48 dB").
struct UserText
{
    QString description;
    QString value;
    bool operator==(const UserText &) const = default;
};

// The description and the first value of a TXXX body (encoding byte first); nullopt for a body
// without encoding byte.
std::optional<UserText> parseUserText(QByteArrayView body);
// The body of a TXXX frame: ISO-8859-1 when it holds both texts, UTF-16 otherwise.
QByteArray userTextBody(const UserText &text);

// The TXXX frames of a walked tag of any version, in order (compressed ones inflated).
QList<UserText> userTextsOf(const Id3v2Tag &tag);
// Those of the tag that opens a file; empty when it has none.
Result<QList<UserText>> readUserTexts(const QString &fichier);

// The version 2.3 frames once each text of `edit` is set, or nullopt when the frames already
// hold them: descriptions match whatever their case; a text with an empty value removes every
// frame of its description; another replaces the first one (in its place) and removes the
// others, or is added at the end. A frame that already holds the value is left byte for byte.
std::optional<QList<Id3v2Frame>> editUserTexts(const QList<Id3v2Frame> &frames,
                                               const QList<UserText> &edit);

} // namespace tags
