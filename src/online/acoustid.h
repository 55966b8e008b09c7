#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace cd {
class HttpFetch;
}

namespace online {

QString acoustIdDefaultServerUrl();

// serverUrl + "/v2/lookup?client=<key>&meta=recordings+releasegroups+releases&duration=<s>
// &fingerprint=<fp>&format=json".
QUrl acoustIdLookupUrl(const QString &serverUrl, const QString &clientKey,
                       const QString &fingerprint, int durationSeconds);

// What AcoustID knows of one fingerprint: the best result's id, and the recordings and releases
// of every result, best first.
struct AcoustIdMatch
{
    QString id; // empty when the fingerprint is unknown
    double score = 0;
    QStringList recordingIds;
    QStringList releaseIds;
};

// Reads a lookup answer; false, with the reason in French in *failure, when it is not an "ok"
// answer (the service's own message is quoted).
bool parseAcoustIdAnswer(QByteArrayView json, AcoustIdMatch *match, QString *failure);

// Asks AcoustID about fingerprints. Requests, from every client of the program, leave at most
// three a second, as the service requires; a 503 is retried once after its Retry-After when
// that is short.
class AcoustIdClient
{
public:
    static constexpr int minIntervalMs = 334;
    static constexpr int maxRetryAfterSeconds = 10;

    AcoustIdClient(cd::HttpFetch &fetch, const QString &serverUrl, const QString &clientKey,
                   const QString &userAgent);

    // The match, or false with the reason in French (no key, no answer, service busy,
    // unreadable answer, the service's refusal).
    bool lookUp(const QString &fingerprint, int durationSeconds, AcoustIdMatch *match,
                QString *failure);

private:
    QByteArray pacedGet(const QUrl &url);

    cd::HttpFetch &m_fetch;
    QString m_serverUrl;
    QString m_clientKey;
    QString m_userAgent;
};

} // namespace online
