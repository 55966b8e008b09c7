#include "httpserver.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace testsupport {

HttpServer::HttpServer(QObject *parent) : QObject(parent), m_server(new QTcpServer(this))
{
    m_clock.start();
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString HttpServer::url() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server->serverPort());
}

HttpServer::Answer HttpServer::answerFor(const QByteArray &target)
{
    for (auto it = m_answers.begin(); it != m_answers.end(); ++it) {
        if (target.startsWith(it.key()) && !it->isEmpty())
            return it->size() > 1 ? it->takeFirst() : it->first();
    }
    return {404, "{\"error\": \"Not Found\"}"};
}

void HttpServer::serve(QTcpSocket *socket)
{
    QByteArray &data = m_pending[socket];
    data += socket->readAll();
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> lines = data.left(end).split('\n');
    m_pending.remove(socket);
    Request request;
    request.target = lines.first().split(' ').value(1);
    request.receivedMs = m_clock.elapsed();
    for (const QByteArray &line : lines) {
        if (line.toLower().startsWith("user-agent:"))
            request.userAgent = line.mid(11).trimmed();
    }
    m_requests.append(request);

    const Answer answer = answerFor(request.target);
    const QPointer<QTcpSocket> alive = socket;
    QTimer::singleShot(answer.delayMs, this, [alive, answer] {
        if (!alive)
            return;
        alive->write("HTTP/1.1 " + QByteArray::number(answer.status) + " Status\r\n" +
                     "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n" +
                     answer.extraHeaders + "Connection: close\r\n\r\n" + answer.body);
        alive->disconnectFromHost();
    });
}

} // namespace testsupport
