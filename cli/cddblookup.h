#pragma once

#include "cd/cddb.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>

namespace cli {

// What a CDDB lookup of a disc gives: the fields of the extraction page and its track rows.
struct DiscLookup
{
    QString failure;    // French, empty when the disc was read
    QString discId;     // also set when several discs match
    QJsonArray matches; // set when several discs match and no choice was made
    QString category;
    QString artist;
    QString album;
    QString year;
    QString genre;
    QStringList rows; // as the track list shows them, track 1 first
    QString source;   // "CDDB" or "CD-Text"
};

// Where the names of a disc come from: the CDDB server, and the disc's own CD-Text when the
// server gives nothing; or the CD-Text alone.
enum class NameSource { CddbThenCdText, CdText };

// Looks the disc of `drive` up on a CDDB server (or only reads its CD-Text); `choice` (from 1)
// picks one of several matches, 0 takes the only one. protocolLevel is the CDDB protocol level
// asked for.
DiscLookup lookUpDisc(const QString &drive, const QString &server, const QString &email, int choice,
                      int protocolLevel = cd::cddbDefaultProtocol,
                      NameSource source = NameSource::CddbThenCdText);

} // namespace cli
