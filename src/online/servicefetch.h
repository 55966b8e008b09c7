#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>
#include <QUrl>

namespace cd {
class HttpFetch;
}

// What the clients of the web services share: waiting between requests and the sentence that
// says why a fetch brought nothing.
namespace online {

// Waits with the event loop running, so that a window stays responsive.
void waitWithEvents(qint64 milliseconds);

// Fetches `url` with `userAgent`, at least `minIntervalMs` after the request `last` marks, and
// marks this one.
QByteArray pacedFetch(cd::HttpFetch &fetch, QElapsedTimer &last, qint64 minIntervalMs,
                      const QString &userAgent, const QUrl &url);

// Why the last fetch of `service` gave no body, in French: no answer, too long an answer, an
// HTTP error. Empty when it succeeded.
QString fetchFailure(const cd::HttpFetch &fetch, const QString &service);

} // namespace online
