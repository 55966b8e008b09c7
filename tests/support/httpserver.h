#pragma once

#include <QElapsedTimer>
#include <QMap>
#include <QTcpServer>

namespace testsupport {

// An HTTP server on the loopback interface that answers each request from a queue of canned
// answers, and notes what it received and when.
class HttpServer : public QObject
{
public:
    struct Answer
    {
        int status = 200;
        QByteArray body = {}, headers = {}; // headers: "Name: value\r\n" lines
        int delayMs = 0;                    // before the answer is sent
    };
    struct Request
    {
        QByteArray target, userAgent;
        qint64 receivedMs; // since the server started
    };

    HttpServer();
    bool start() { return m_server.listen(QHostAddress::LocalHost); }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    // Requests whose target starts with prefix get the queued answers in turn, then the last
    // one again; other requests get 404.
    void queue(const QByteArray &prefix, const Answer &answer) { m_answers[prefix].append(answer); }
    QList<Request> requests() const { return m_requests; }

private:
    QTcpServer m_server;
    QMap<QByteArray, QList<Answer>> m_answers;
    QList<Request> m_requests;
    QElapsedTimer m_clock;
};

} // namespace testsupport
