#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

namespace testsupport {

// A static file server over real HTTP on the loopback interface: GET of a known path answers
// its bytes, any other path 404. The requested paths are kept.
class FileServer : public QObject
{
public:
    explicit FileServer(QObject *parent = nullptr);

    bool start() { return m_server->listen(QHostAddress::LocalHost); }
    QString url() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server->serverPort());
    }

    void setFile(const QString &path, const QByteArray &bytes) { m_files.insert(path, bytes); }
    QStringList requests() const { return m_requests; }

private:
    QTcpServer *m_server;
    QMap<QString, QByteArray> m_files;
    QStringList m_requests;
};

} // namespace testsupport
