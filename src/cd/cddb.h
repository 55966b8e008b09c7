#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The CDDB protocol (level 6, or 5 for old servers) over HTTP: request addresses and the parsers of
// the answers. Every function here works on text already received; none of them trusts it.
namespace cd {

// The index-th (1-based) piece of text cut at separator. The text gets a trailing separator
// when it lacks one; an index beyond the last piece gives the empty text.
QString getField(QStringView text, int index, QStringView separator);

// The lines of an answer, cut at CR LF, LF or a lone CR.
QStringList answerLines(QStringView answer);
// First word of the first line: the three-digit status.
QString answerCode(QStringView answer);

// Level 6 answers travel as UTF-8, level 5 answers as Windows-1252: an answer that is not
// valid UTF-8 is read as Windows-1252, whatever level the server chose to speak.
QString decodeCddbAnswer(QByteArrayView body);

QString cddbDefaultServerUrl();
// Level 6 carries UTF-8 titles; level 5 is kept for servers that know no other.
inline constexpr int cddbDefaultProtocol = 6;
// "&hello=<user>+<host>+Tarvex+<version>&proto=<level>": with an e-mail address, its local
// part and its domain name the user; otherwise "me" and this program's host word.
QString cddbHelloSuffix(const QString &email, int protocolLevel = cddbDefaultProtocol);
// serverUrl + "?cmd=" + command + helloSuffix, as an address.
QString cddbRequestUrl(const QString &serverUrl, const QString &command,
                       const QString &helloSuffix);
// "cddb+read+<category>+<disc ID>"; the server-given words are percent-encoded.
QString cddbReadCommand(const QString &category, const QString &discId);

// What the "cddb query" answer says.
struct CddbQueryAnswer
{
    enum Kind {
        Found,    // one exact match: result holds category|disc ID
        Choice,   // several matches, one to pick from matches
        NotFound, // no match, refusal, server error or unreadable answer
    };
    Kind kind = NotFound;
    QString code;
    QString result = QStringLiteral("Erreur|Erreur");
    QStringList matches; // "category discid title" lines, as received
};
// queryText is the query command sent: its third word is the disc ID computed here.
CddbQueryAnswer parseQueryAnswer(QStringView answer, QStringView queryText);
// category|disc ID of the match line the user picked.
QString choiceResult(QStringView matchLine);

// A disc entry read with "cddb read".
struct CddbDisc
{
    QString code;
    int discLines = 0; // how many of DTITLE, DYEAR and DGENRE were read, in that order
    bool discLinesFound() const { return discLines == 3; }
    QString artist;
    QString album;
    QString year;
    QString genre;
    QStringList rows; // track list texts, track 1 first
    // The MusicBrainz release, its artist and its tracks' recordings (track 1 first), when the
    // entry came from MusicBrainz.
    QString musicBrainzReleaseId = {};
    QString musicBrainzArtistId = {};
    QStringList musicBrainzRecordingIds = {};
    QString discNumber = {}; // the release's medium that holds the disc, "1" for the first
};
// A disc holds at most 99 tracks.
constexpr int maxTrackCount = 99;
// Title lines for track numbers at or above trackCount (the tracks of the disc asked about)
// are ignored, so that an entry never adds rows the disc does not have.
CddbDisc parseReadAnswer(QStringView answer, int trackCount);
// The track list of a disc of trackCount tracks once its entry is read: the entry's titles as
// given, "Piste N" for a track the entry leaves without one.
QStringList cddbTrackRows(const CddbDisc &disc, int trackCount);
// The track count of a "cddb query" command: its fourth word.
int queryTrackCount(QStringView queryText);

struct CddbSite
{
    QString host;
    QString port;
    QString address;
    QString description;
    QString url() const; // "http://" host ":" port address
};
struct CddbSites
{
    QString code;
    QList<CddbSite> sites; // the HTTP servers of a 210 answer
    // What the answer field shows: one line per server, a note that none speaks HTTP, or the
    // answer as received.
    QString text;
};
CddbSites parseSitesAnswer(QStringView answer);
// The server address ("http://...") a line of the server list names, or empty.
QString serverUrlInLine(QStringView line);

} // namespace cd
