#include "cd/httpfetch.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace cd {

HttpFetch::HttpFetch(QObject *parent) : QObject(parent), m_manager(new QNetworkAccessManager(this))
{
}

HttpFetch::~HttpFetch()
{
    cancel();
}

QByteArray HttpFetch::fetch(const QUrl &url)
{
    if (isRunning() || !url.isValid())
        return {};
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Tarvex"));
    QNetworkReply *reply = m_manager->get(request);
    m_reply = reply;

    QByteArray body;
    bool failed = false;
    QEventLoop loop;
    m_loop = &loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, reply, [&] {
        failed = true;
        reply->abort();
    });
    // The announced length is not trusted either: the bytes are counted as they come.
    connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBodyBytes) {
            failed = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::readyRead, reply, [&] {
        body += reply->read(maxBodyBytes + 1 - body.size());
        if (body.size() > maxBodyBytes) {
            failed = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(m_timeoutMs);
    if (!reply->isFinished())
        loop.exec();
    m_loop = nullptr;
    // The wait can also end because the application is quitting: what came so far is no answer.
    if (!reply->isFinished()) {
        failed = true;
        reply->abort();
    }

    if (!failed && reply->bytesAvailable() > 0) {
        body += reply->read(maxBodyBytes + 1 - body.size());
        failed = body.size() > maxBodyBytes;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status >= 400)
        failed = true;
    m_reply = nullptr;
    reply->disconnect();
    reply->deleteLater();
    return failed ? QByteArray() : body;
}

void HttpFetch::cancel()
{
    if (m_reply)
        m_reply->abort();
    if (m_loop)
        m_loop->quit();
}

} // namespace cd
