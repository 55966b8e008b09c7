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
};

// Looks the disc of `drive` up on a CDDB server; `choice` (from 1) picks one of several
// matches, 0 takes the only one. protocolLevel is the CDDB protocol level asked for.
DiscLookup lookUpDisc(const QString &drive, const QString &server, const QString &email, int choice,
                      int protocolLevel = cd::cddbDefaultProtocol);

} // namespace cli
