#include "online/servicefetch.h"

#include "cd/httpfetch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace online {

void waitWithEvents(qint64 milliseconds)
{
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(milliseconds), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

QByteArray pacedFetch(cd::HttpFetch &fetch, QElapsedTimer &last, qint64 minIntervalMs,
                      const QString &userAgent, const QUrl &url)
{
    if (last.isValid())
        waitWithEvents(minIntervalMs - last.elapsed());
    last.start();
    fetch.setUserAgent(userAgent);
    const QByteArray body = fetch.fetch(url);
    fetch.setUserAgent({});
    return body;
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

} // namespace online
