#include "online/musicbrainzclient.h"

#include "cd/httpfetch.h"
#include "online/servicefetch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QUrl>

namespace online {

namespace {

// When the last request to the service left, shared by every client of the program.
QElapsedTimer &lastRequest()
{
    static QElapsedTimer timer;
    return timer;
}

} // namespace

MusicBrainzClient::MusicBrainzClient(cd::HttpFetch &fetch, const QString &serverUrl,
                                     const QString &email)
    : m_fetch(fetch), m_serverUrl(serverUrl), m_userAgent(musicBrainzUserAgent(email))
{
}

QByteArray MusicBrainzClient::pacedGet(const QUrl &url)
{
    return pacedFetch(m_fetch, lastRequest(), minIntervalMs, m_userAgent, url);
}

QByteArray MusicBrainzClient::get(const QUrl &url, QString *failure)
{
    const QString service = QStringLiteral("MusicBrainz");
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https")) {
        *failure =
            QCoreApplication::translate("online", "Adresse de serveur MusicBrainz invalide : ") +
            m_serverUrl;
        return {};
    }
    QByteArray body = pacedGet(url);
    if (m_fetch.httpStatus() == 503 && m_fetch.retryAfter() <= maxRetryAfterSeconds) {
        waitWithEvents(qint64(m_fetch.retryAfter()) * 1000);
        body = pacedGet(url);
    }
    if (m_fetch.httpStatus() == 503)
        *failure =
            QCoreApplication::translate("online", "MusicBrainz est surchargé : réessayez dans %1 s")
                .arg(std::max(m_fetch.retryAfter(), 1));
    else
        *failure = fetchFailure(m_fetch, service);
    return failure->isEmpty() ? body : QByteArray();
}

int MusicBrainzClient::httpStatus() const
{
    return m_fetch.httpStatus();
}

MusicBrainzReply MusicBrainzClient::lookUp(const QString &discId)
{
    MusicBrainzReply reply;
    const QByteArray body = get(discIdLookupUrl(m_serverUrl, discId), &reply.failure);
    if (m_fetch.httpStatus() == 404) {
        reply.kind = MusicBrainzReply::Unknown;
        reply.raw = QStringLiteral("HTTP 404");
        reply.failure =
            QCoreApplication::translate("online", "MusicBrainz ne connaît pas ce disque");
        return reply;
    }
    if (!reply.failure.isEmpty()) {
        reply.raw = m_fetch.httpStatus() == 503 ? QStringLiteral("HTTP 503") : reply.failure;
        return reply;
    }
    ReleaseList list = parseDiscIdAnswer(body, discId);
    reply.failure = list.failure;
    if (!reply.failure.isEmpty()) {
        reply.raw = QString::fromUtf8(body);
        return reply;
    }
    reply.raw =
        QString::fromUtf8(QJsonDocument::fromJson(body).toJson()); // readable in the details
    reply.releases = std::move(list.releases);
    if (reply.releases.isEmpty()) {
        reply.kind = MusicBrainzReply::Unknown;
        reply.failure =
            QCoreApplication::translate("online", "MusicBrainz ne connaît pas ce disque");
        return reply;
    }
    reply.kind = MusicBrainzReply::Found;
    return reply;
}

QString coverArtDefaultServerUrl()
{
    return QStringLiteral("https://coverartarchive.org");
}

QByteArray fetchFrontCover(cd::HttpFetch &fetch, const QString &coverServerUrl,
                           const QString &releaseId, qint64 maxBytes, QString *failure)
{
    QString base = coverServerUrl;
    while (base.endsWith(u'/'))
        base.chop(1);
    const QUrl url(base + QStringLiteral("/release/") +
                       QString::fromLatin1(QUrl::toPercentEncoding(releaseId)) +
                       QStringLiteral("/front-500"),
                   QUrl::StrictMode);
    fetch.setMaxBodyBytes(maxBytes);
    const QByteArray image = fetch.fetch(url);
    QString why;
    if (fetch.httpStatus() == 404)
        why = QCoreApplication::translate("online", "Pas de pochette pour cette édition");
    else if (fetch.failure() != cd::HttpFetch::Failure::None)
        why = fetchFailure(fetch, QStringLiteral("Cover Art Archive"));
    else if (!image.startsWith("\xFF\xD8\xFF"))
        why = QCoreApplication::translate("online", "La pochette reçue n'est pas une image JPEG");
    fetch.setMaxBodyBytes(cd::HttpFetch::maxBodyBytes);
    if (failure)
        *failure = why;
    return why.isEmpty() ? image : QByteArray();
}

} // namespace online
