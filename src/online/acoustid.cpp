#include "online/acoustid.h"

#include "cd/httpfetch.h"
#include "online/servicefetch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace online {

namespace {

QElapsedTimer &lastAcoustIdRequest()
{
    static QElapsedTimer timer;
    return timer;
}

void appendNew(QStringList &list, const QString &value)
{
    if (!value.isEmpty() && !list.contains(value))
        list.append(value);
}

} // namespace

QString acoustIdDefaultServerUrl()
{
    return QStringLiteral("https://api.acoustid.org");
}

QUrl acoustIdLookupUrl(const QString &serverUrl, const QString &clientKey,
                       const QString &fingerprint, int durationSeconds)
{
    QString base = serverUrl;
    while (base.endsWith(u'/'))
        base.chop(1);
    const auto encoded = [](const QString &text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text));
    };
    return QUrl(base + QStringLiteral("/v2/lookup?client=") + encoded(clientKey) +
                    QStringLiteral("&meta=recordings+releasegroups+releases&duration=") +
                    QString::number(durationSeconds) + QStringLiteral("&fingerprint=") +
                    encoded(fingerprint) + QStringLiteral("&format=json"),
                QUrl::StrictMode);
}

bool parseAcoustIdAnswer(QByteArrayView json, AcoustIdMatch *match, QString *failure)
{
    const QJsonObject answer = QJsonDocument::fromJson(json.toByteArray()).object();
    const QString status = answer.value(u"status").toString();
    if (status == u"error") {
        *failure = QCoreApplication::translate("online", "AcoustID refuse la demande : %1")
                       .arg(answer.value(u"error").toObject().value(u"message").toString());
        return false;
    }
    if (status != u"ok" || !answer.value(u"results").isArray()) {
        *failure = QCoreApplication::translate("online", "La réponse d'AcoustID est illisible");
        return false;
    }
    *match = {};
    QJsonArray results = answer.value(u"results").toArray();
    for (const QJsonValue &value : results) {
        const QJsonObject result = value.toObject();
        if (match->id.isEmpty() || result.value(u"score").toDouble() > match->score) {
            match->id = result.value(u"id").toString();
            match->score = result.value(u"score").toDouble();
        }
    }
    // Results best first, so that their recordings and releases come in that order.
    QList<QJsonObject> sorted;
    for (const QJsonValue &value : results)
        sorted.append(value.toObject());
    std::stable_sort(sorted.begin(), sorted.end(), [](const QJsonObject &a, const QJsonObject &b) {
        return a.value(u"score").toDouble() > b.value(u"score").toDouble();
    });
    for (const QJsonObject &result : sorted) {
        for (const QJsonValue &r : result.value(u"recordings").toArray()) {
            const QJsonObject recording = r.toObject();
            appendNew(match->recordingIds, recording.value(u"id").toString());
            for (const QJsonValue &release : recording.value(u"releases").toArray())
                appendNew(match->releaseIds, release.toObject().value(u"id").toString());
            for (const QJsonValue &group : recording.value(u"releasegroups").toArray()) {
                for (const QJsonValue &release : group.toObject().value(u"releases").toArray())
                    appendNew(match->releaseIds, release.toObject().value(u"id").toString());
            }
        }
    }
    return true;
}

AcoustIdClient::AcoustIdClient(cd::HttpFetch &fetch, const QString &serverUrl,
                               const QString &clientKey, const QString &userAgent)
    : m_fetch(fetch), m_serverUrl(serverUrl), m_clientKey(clientKey), m_userAgent(userAgent)
{
}

QByteArray AcoustIdClient::pacedGet(const QUrl &url)
{
    return pacedFetch(m_fetch, lastAcoustIdRequest(), minIntervalMs, m_userAgent, url);
}

bool AcoustIdClient::lookUp(const QString &fingerprint, int durationSeconds, AcoustIdMatch *match,
                            QString *failure)
{
    if (m_clientKey.trimmed().isEmpty()) {
        *failure = QCoreApplication::translate(
            "online", "Pas de clé AcoustID : les fichiers ne peuvent être reconnus par leur "
                      "empreinte");
        return false;
    }
    const QUrl url = acoustIdLookupUrl(m_serverUrl, m_clientKey, fingerprint, durationSeconds);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https")) {
        *failure =
            QCoreApplication::translate("online", "Adresse de serveur AcoustID invalide : ") +
            m_serverUrl;
        return false;
    }
    QByteArray body = pacedGet(url);
    if (m_fetch.httpStatus() == 503 && m_fetch.retryAfter() <= maxRetryAfterSeconds) {
        waitWithEvents(qint64(m_fetch.retryAfter()) * 1000);
        body = pacedGet(url);
    }
    if (m_fetch.httpStatus() == 503) {
        *failure =
            QCoreApplication::translate("online", "AcoustID est surchargé : réessayez dans %1 s")
                .arg(std::max(m_fetch.retryAfter(), 1));
        return false;
    }
    *failure = fetchFailure(m_fetch, QStringLiteral("AcoustID"));
    if (!failure->isEmpty())
        return false;
    return parseAcoustIdAnswer(body, match, failure);
}

} // namespace online
