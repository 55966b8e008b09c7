#include "online/musicbrainzclient.h"

#include "cd/httpfetch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>
#include <QUrl>

namespace online {

namespace {

// Waits with the event loop running, so that the window stays responsive.
void pause(qint64 milliseconds)
{
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(milliseconds), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// When the last request to the service left, shared by every client of the program.
QElapsedTimer &lastRequest()
{
    static QElapsedTimer timer;
    return timer;
}

QString fetchFailure(const cd::HttpFetch &fetch, const QString &service)
{
    switch (fetch.failure()) {
    case cd::HttpFetch::Failure::None:
        return {};
    case cd::HttpFetch::Failure::NoAnswer:
        return QCoreApplication::translate(
                   "online", "Pas de réponse de %1 : pas de connexion internet, serveur "
                             "injoignable ou trop lent")
            .arg(service);
    case cd::HttpFetch::Failure::TooLarge:
        return QCoreApplication::translate("online", "Réponse de %1 trop longue (plus de %2 Ko)")
            .arg(service)
            .arg(fetch.maxBody() / 1024);
    case cd::HttpFetch::Failure::HttpError:
        break;
    }
    return QCoreApplication::translate("online", "Erreur du serveur %1 (HTTP %2)")
        .arg(service)
        .arg(fetch.httpStatus());
}

} // namespace

MusicBrainzClient::MusicBrainzClient(cd::HttpFetch &fetch, const QString &serverUrl,
                                     const QString &email)
    : m_fetch(fetch), m_serverUrl(serverUrl), m_userAgent(musicBrainzUserAgent(email))
{
}

QByteArray MusicBrainzClient::pacedGet(const QUrl &url)
{
    QElapsedTimer &last = lastRequest();
    if (last.isValid())
        pause(minIntervalMs - last.elapsed());
    last.start();
    m_fetch.setUserAgent(m_userAgent);
    const QByteArray body = m_fetch.fetch(url);
    m_fetch.setUserAgent({});
    return body;
}

MusicBrainzReply MusicBrainzClient::lookUp(const QString &discId)
{
    const QString service = QStringLiteral("MusicBrainz");
    MusicBrainzReply reply;
    const QUrl url = discIdLookupUrl(m_serverUrl, discId);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https")) {
        reply.failure =
            QCoreApplication::translate("online", "Adresse de serveur MusicBrainz invalide : ") +
            m_serverUrl;
        return reply;
    }
    QByteArray body = pacedGet(url);
    if (m_fetch.httpStatus() == 503 && m_fetch.retryAfter() <= maxRetryAfterSeconds) {
        pause(qint64(m_fetch.retryAfter()) * 1000);
        body = pacedGet(url);
    }
    reply.raw = QString::fromUtf8(body);
    if (m_fetch.httpStatus() == 404) {
        reply.kind = MusicBrainzReply::Unknown;
        reply.raw = QStringLiteral("HTTP 404");
        reply.failure =
            QCoreApplication::translate("online", "MusicBrainz ne connaît pas ce disque");
        return reply;
    }
    if (m_fetch.httpStatus() == 503) {
        reply.raw = QStringLiteral("HTTP 503");
        reply.failure =
            QCoreApplication::translate("online", "MusicBrainz est surchargé : réessayez dans %1 s")
                .arg(std::max(m_fetch.retryAfter(), 1));
        return reply;
    }
    reply.failure = fetchFailure(m_fetch, service);
    if (!reply.failure.isEmpty()) {
        reply.raw = reply.failure;
        return reply;
    }
    ReleaseList list = parseDiscIdAnswer(body, discId);
    reply.failure = list.failure;
    if (!reply.failure.isEmpty())
        return reply;
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
