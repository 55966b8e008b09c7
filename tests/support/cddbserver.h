#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

namespace testsupport {

// A CDDB server over real HTTP on the loopback interface. It answers "cddb query",
// "cddb read" and "sites" from disc entries written in the xmcd format, and can be told to
// answer with a given status or in a hostile way. Answers are sent in Latin-1.
class CddbServer : public QObject
{
    Q_OBJECT

public:
    enum class Mode {
        Normal,
        HugeBody,       // every answer is 5 MB long, Content-Length announced
        HugeBodyStream, // 5 MB without Content-Length, the connection closed at the end
        NeverAnswers,   // requests are read and never answered
        StallsMidBody,  // half of the announced answer is sent, then nothing more
        HttpError,      // HTTP status 500
    };

    explicit CddbServer(QObject *parent = nullptr);

    bool start() { return m_server->listen(QHostAddress::LocalHost); }
    // The CGI address to give the client.
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/~cddb/cddb.cgi").arg(port()); }
    quint16 port() const { return m_server->serverPort(); }

    // Adds a disc entry in the xmcd format (its DTITLE gives the title of a match line).
    void addEntry(const QString &category, const QString &discId, const QString &xmcd)
    {
        m_entries.append({category, discId, xmcd});
    }
    // Status of the query answer: 0 answers from the entries (200, 210 for several, or 202);
    // any other code answers that code alone.
    void setQueryStatus(int code) { m_queryStatus = code; }
    // Status of the read answer: 0 answers from the entries (210 or 401), otherwise that code.
    void setReadStatus(int code) { m_readStatus = code; }
    // Server list lines ("host protocol port address latitude longitude description"); the
    // sites answer is 401 while the list is empty.
    void setSites(const QStringList &lines) { m_sites = lines; }
    void setMode(Mode mode) { m_mode = mode; }

    // The "cmd" words of every request received, decoded, joined by blanks.
    QStringList commands() const { return m_commands; }
    // The "hello" values received.
    QStringList hellos() const { return m_hellos; }

private:
    struct Entry
    {
        QString category, discId, xmcd;
    };

    void serve(QTcpSocket *socket);
    QStringList answerFor(const QStringList &words) const;

    QTcpServer *m_server;
    QList<Entry> m_entries;
    QStringList m_sites, m_commands, m_hellos;
    QMap<QTcpSocket *, QByteArray> m_pending;
    Mode m_mode = Mode::Normal;
    int m_queryStatus = 0, m_readStatus = 0;
};

// A disc entry in the xmcd format, lines joined with CR LF as servers send them.
QString xmcdEntry(const QString &discId, const QStringList &lines);

} // namespace testsupport
