#include "fileserver.h"

#include <QTcpSocket>

namespace testsupport {

FileServer::FileServer(QObject *parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QList<QByteArray> line = socket->readLine().split(' ');
                const QString path = QString::fromUtf8(line.value(1));
                m_requests << path;
                const bool known = m_files.contains(path);
                const QByteArray body = m_files.value(path, "absent");
                socket->write(
                    QByteArray(known ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                    "Content-Length: " + QByteArray::number(body.size()) +
                    "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

} // namespace testsupport
