#pragma once

#include "online/musicbrainz.h"

#include <QByteArray>
#include <QString>

class QUrl;

namespace cd {
class HttpFetch;
}

namespace online {

// What a disc-id lookup brought back.
struct MusicBrainzReply
{
    enum Kind {
        Found,   // releases holds at least one release
        Unknown, // the service does not know the disc
        Failed,  // no answer, an error, or an answer that could not be read
    };
    Kind kind = Failed;
    QList<Release> releases;
    QString raw;     // the exchange as received, for the details view
    QString failure; // French, empty when Found
};

// Asks the MusicBrainz web service about a disc. Requests to the service, from every client of
// the program, are kept at least one second apart, as the service requires; a 503 answer is
// retried once after the delay its Retry-After asks for, when that delay is short.
class MusicBrainzClient
{
public:
    static constexpr int minIntervalMs = 1000;
    static constexpr int maxRetryAfterSeconds = 10;

    MusicBrainzClient(cd::HttpFetch &fetch, const QString &serverUrl, const QString &email);

    MusicBrainzReply lookUp(const QString &discId);
    // The body of a GET on the service, paced and retried as above; empty with the reason in
    // French in *failure (no answer, too long, service busy, HTTP error). httpStatus() tells a
    // 404 apart.
    QByteArray get(const QUrl &url, QString *failure);
    int httpStatus() const;
    QString serverUrl() const { return m_serverUrl; }

private:
    QByteArray pacedGet(const QUrl &url);

    cd::HttpFetch &m_fetch;
    QString m_serverUrl;
    QString m_userAgent;
};

// The front cover of a release from the Cover Art Archive (its 500-pixel JPEG). Empty, with the
// reason in French in *failure, when there is none, it is larger than maxBytes or is not a JPEG.
QByteArray fetchFrontCover(cd::HttpFetch &fetch, const QString &coverServerUrl,
                           const QString &releaseId, qint64 maxBytes, QString *failure);
QString coverArtDefaultServerUrl();
// Largest cover accepted by default.
inline constexpr qint64 coverDefaultMaxBytes = 2 * 1024 * 1024;

} // namespace online
