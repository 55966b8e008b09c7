#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

namespace testsupport {

// An HTTP server on the loopback interface that answers each request path from a queue of
// canned answers, and notes what it received and when.
class HttpServer : public QObject
{
    Q_OBJECT

public:
    struct Answer
    {
        Answer(int status = 200, const QByteArray &body = {}, const QByteArray &extraHeaders = {},
               int delayMs = 0)
            : status(status), body(body), extraHeaders(extraHeaders), delayMs(delayMs)
        {
        }
        int status;
        QByteArray body;
        QByteArray extraHeaders; // "Name: value\r\n" lines
        int delayMs;             // before the answer is sent
    };
    struct Request
    {
        QByteArray target; // path and query as sent
        QByteArray userAgent;
        qint64 receivedMs = 0; // since the server started
    };

    explicit HttpServer(QObject *parent = nullptr);

    bool start() { return m_server->listen(QHostAddress::LocalHost); }
    QString url() const;

    // Answers requests whose path starts with prefix: queued answers in turn, the last one
    // again and again; 404 for a path nothing matches.
    void queue(const QByteArray &prefix, const Answer &answer) { m_answers[prefix].append(answer); }

    QList<Request> requests() const { return m_requests; }

private:
    void serve(QTcpSocket *socket);
    Answer answerFor(const QByteArray &target);

    QTcpServer *m_server;
    QMap<QByteArray, QList<Answer>> m_answers;
    QMap<QTcpSocket *, QByteArray> m_pending;
    QList<Request> m_requests;
    QElapsedTimer m_clock;
};

} // namespace testsupport
