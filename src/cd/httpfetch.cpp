#include "cd/httpfetch.h"

#include "base/product.h"

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
    m_failure = Failure::NoAnswer;
    m_httpStatus = 0;
    if (isRunning() || !url.isValid())
        return {};
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, base::productName);
    QNetworkReply *reply = m_manager->get(request);
    m_reply = reply;

    QByteArray body;
    bool failed = false;
    bool tooLarge = false;
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
        if (length.isValid() && length.toLongLong() > m_maxBodyBytes) {
            failed = tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::readyRead, reply, [&] {
        body += reply->read(m_maxBodyBytes + 1 - body.size());
        if (body.size() > m_maxBodyBytes) {
            failed = tooLarge = true;
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
        body += reply->read(m_maxBodyBytes + 1 - body.size());
        failed = tooLarge = body.size() > m_maxBodyBytes;
    }
    m_httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (tooLarge)
        m_failure = Failure::TooLarge;
    else if (m_httpStatus >= 400)
        m_failure = Failure::HttpError;
    else if (!failed && reply->error() == QNetworkReply::NoError)
        m_failure = Failure::None;
    m_reply = nullptr;
    reply->disconnect();
    reply->deleteLater();
    return m_failure == Failure::None ? body : QByteArray();
}

void HttpFetch::cancel()
{
    if (m_reply)
        m_reply->abort();
    if (m_loop)
        m_loop->quit();
}

} // namespace cd
