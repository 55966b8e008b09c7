#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>

class QEventLoop;
class QNetworkAccessManager;

class QUrl;

namespace cd {

// One HTTP GET at a time, waited for synchronously while the event loop keeps running (the
// window stays responsive). A server that cannot be reached, an HTTP error status, a body
// larger than the limit, a timeout or a cancel all give the empty body.
class HttpFetch : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultTimeoutMs = 20000;
    static constexpr qint64 maxBodyBytes = 1024 * 1024;

    explicit HttpFetch(QObject *parent = nullptr);
    ~HttpFetch() override;

    QByteArray fetch(const QUrl &url);
    // Ends a running fetch, which then returns the empty body.
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }

    // Why the last fetch gave the empty body: no answer in time (unreachable, timed out,
    // cancelled), a body over the limit, or an HTTP error status.
    enum class Failure { None, NoAnswer, TooLarge, HttpError };
    Failure failure() const { return m_failure; }
    // The HTTP status of the last answer, 0 when none came.
    int httpStatus() const { return m_httpStatus; }

    // Seconds the server asked to wait before the next request (Retry-After), 0 when none.
    int retryAfter() const { return m_retryAfter; }

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    void setMaxBodyBytes(qint64 bytes) { m_maxBodyBytes = bytes; }
    qint64 maxBody() const { return m_maxBodyBytes; }
    // The User-Agent header; the product name by default.
    void setUserAgent(const QString &agent) { m_userAgent = agent; }

private:
    QNetworkAccessManager *m_manager;
    QPointer<QNetworkReply> m_reply;
    QEventLoop *m_loop = nullptr;
    int m_timeoutMs = defaultTimeoutMs;
    qint64 m_maxBodyBytes = maxBodyBytes;
    Failure m_failure = Failure::None;
    int m_httpStatus = 0;
    int m_retryAfter = 0;
    QString m_userAgent;
};

} // namespace cd
