#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class QJsonArray;

namespace cd {
struct CddbDisc;
}

// The MusicBrainz web service: the address of a disc-id lookup and the reading of its JSON
// answer. Nothing here trusts the answer: a field of the wrong type reads as absent.
namespace online {

QString musicBrainzDefaultServerUrl();
// serverUrl + "/ws/2/discid/<id>?inc=artists+labels+recordings+genres&fmt=json".
QUrl discIdLookupUrl(const QString &serverUrl, const QString &discId);
// "Tarvex/<version> ( <email> )": the service asks every client to name itself and a contact.
QString musicBrainzUserAgent(const QString &email);

// The credited names of an "artist-credit" list joined by the phrases between them ("A feat. B").
QString artistCredit(const QJsonArray &credits);
// The name of the genre with the most votes of a "genres" list; empty when none.
QString mostVotedGenre(const QJsonArray &genres);

// One release that holds the disc.
struct Release
{
    QString id;
    QString artist; // the artist credit, names and join phrases as credited
    QString title;
    QString date;
    QString country;
    QString label;
    QString genre;            // the genre with the most votes, empty when none
    int trackCount = 0;       // of the medium that holds the disc
    QStringList titles;       // track titles of that medium, track 1 first
    QString artistId;         // the first credited artist's
    int discNumber = 0;       // the position of the medium that holds the disc, 0 when unknown
    QStringList recordingIds; // of the tracks of that medium, track 1 first

    QString year() const { return date.left(4); }
    // "Artiste - Album (date, pays, label, N pistes)", the line of the release picker.
    QString pickerLine() const;
};

struct ReleaseList
{
    QList<Release> releases;
    QString failure; // French, empty when the answer was read
};

// The releases of a disc-id lookup answer. Of each release, the medium that holds the disc
// gives the titles (the first medium when none names it). Refuses a body that is not a JSON
// object with a "releases" list, with a sentence that says so.
ReleaseList parseDiscIdAnswer(QByteArrayView json, const QString &discId);

// The disc fields and track rows a release gives, shaped like a CDDB entry so that the page
// fills them the same way.
cd::CddbDisc discOfRelease(const Release &release);

} // namespace online
