#include "httpserver.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>

namespace testsupport {

HttpServer::HttpServer()
{
    m_clock.start();
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        QTcpSocket *socket = m_server.nextPendingConnection();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            const QByteArray head = socket->peek(64 * 1024);
            if (!head.contains("\r\n\r\n"))
                return;
            socket->readAll();
            const QByteArray agent = QRegularExpression(QStringLiteral("\r\nUser-Agent: ([^\r]*)"))
                                         .match(QString::fromLatin1(head))
                                         .captured(1)
                                         .toLatin1();
            m_requests.append({head.split(' ').value(1), agent, m_clock.elapsed()});
            Answer answer{404, "{\"error\": \"Not Found\"}"};
            for (auto it = m_answers.begin(); it != m_answers.end(); ++it) {
                if (m_requests.last().target.startsWith(it.key()))
                    answer = it->size() > 1 ? it->takeFirst() : it->first();
            }
            QTimer::singleShot(answer.delayMs, socket, [socket, answer] {
                socket->write(
                    "HTTP/1.1 " + QByteArray::number(answer.status) +
                    " Status\r\nContent-Length: " + QByteArray::number(answer.body.size()) +
                    "\r\n" + answer.headers + "Connection: close\r\n\r\n" + answer.body);
                socket->disconnectFromHost();
            });
        });
    });
}

} // namespace testsupport
