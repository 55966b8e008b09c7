#include "cddbserver.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace testsupport {

namespace {

const QByteArray crlf = "\r\n";

QByteArray latin1Lines(const QStringList &lines)
{
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

QString dtitleOf(const QString &xmcd)
{
    for (const QString &line : xmcd.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QStringLiteral("DTITLE=")))
            return line.mid(7);
    }
    return {};
}

// "a+b+c%2B" -> {"a", "b", "c+"}: "+" is a blank in a query string.
QStringList commandWords(const QByteArray &cmd)
{
    QStringList words;
    for (const QByteArray &word : cmd.split('+'))
        words.append(QUrl::fromPercentEncoding(word));
    return words;
}

} // namespace

CddbServer::CddbServer(QObject *parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_pending.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

CddbServer::~CddbServer() = default;

bool CddbServer::start()
{
    return m_server->listen(QHostAddress::LocalHost);
}

quint16 CddbServer::port() const
{
    return m_server->serverPort();
}

QString CddbServer::url() const
{
    return QStringLiteral("http://127.0.0.1:%1/~cddb/cddb.cgi").arg(port());
}

void CddbServer::addEntry(const QString &category, const QString &discId, const QString &xmcd)
{
    m_entries.append({category, discId, xmcd});
}

void CddbServer::serve(QTcpSocket *socket)
{
    QByteArray &request = m_pending[socket];
    request += socket->readAll();
    if (!request.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    request.clear();
    if (requestLine.size() < 2)
        return;
    const QByteArray target = requestLine.at(1);
    const QByteArray query = target.mid(target.indexOf('?') + 1);
    QStringList words;
    for (const QByteArray &pair : query.split('&')) {
        if (pair.startsWith("cmd="))
            words = commandWords(pair.mid(4));
        else if (pair.startsWith("hello="))
            m_hellos.append(QString::fromLatin1(pair.mid(6)));
    }
    m_commands.append(words.join(u' '));

    if (m_mode == Mode::NeverAnswers)
        return;
    QByteArray head;
    QByteArray body;
    if (m_mode == Mode::HttpError) {
        head = "HTTP/1.1 500 Internal Server Error\r\n";
        body = "500 Internal Server Error\r\n";
    } else {
        head = "HTTP/1.1 200 OK\r\n";
        body = answerFor(words);
    }
    head += "Content-Type: text/plain; charset=ISO-8859-1\r\nConnection: close\r\n";
    if (m_mode == Mode::HugeBody || m_mode == Mode::HugeBodyStream) {
        body = "210 rock 0200b401 CD database entry follows\r\n";
        const QByteArray filler = "TTITLE0=" + QByteArray(70, 'x') + "\r\n";
        while (body.size() < 5 * 1024 * 1024)
            body += filler;
        body += ".\r\n";
    }
    if (m_mode != Mode::HugeBodyStream)
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    if (m_mode == Mode::StallsMidBody) {
        socket->write(head + crlf + body.left(body.size() / 2));
        return;
    }
    socket->write(head + crlf + body);
    socket->disconnectFromHost();
}

QByteArray CddbServer::answerFor(const QStringList &words) const
{
    if (words.size() >= 2 && words.at(0) == u"cddb" && words.at(1) == u"query")
        return queryAnswer(words);
    if (words.size() >= 2 && words.at(0) == u"cddb" && words.at(1) == u"read")
        return readAnswer(words);
    if (words.size() == 1 && words.at(0) == u"sites")
        return sitesAnswer();
    return "500 Unrecognized command.\r\n";
}

QByteArray CddbServer::queryAnswer(const QStringList &words) const
{
    if (m_queryStatus != 0 && m_queryStatus != 211)
        return QByteArray::number(m_queryStatus) + " Status forced by the test server\r\n";
    if (words.size() < 4)
        return "500 Command syntax error.\r\n";
    QList<Entry> matches;
    for (const Entry &entry : m_entries) {
        if (entry.discId == words.at(2))
            matches.append(entry);
    }
    if (matches.isEmpty())
        return "202 No match found.\r\n";
    if (matches.size() == 1 && m_queryStatus == 0) {
        const Entry &e = matches.first();
        return (QStringLiteral("200 ") + e.category + u' ' + e.discId + u' ' + dtitleOf(e.xmcd)
                + QStringLiteral("\r\n"))
            .toLatin1();
    }
    QStringList lines{m_queryStatus == 211
                          ? QStringLiteral("211 Found inexact matches, list follows (until terminating `.')")
                          : QStringLiteral("210 Found exact matches, list follows (until terminating `.')")};
    for (const Entry &e : matches)
        lines.append(e.category + u' ' + e.discId + u' ' + dtitleOf(e.xmcd));
    lines.append(QStringLiteral("."));
    return latin1Lines(lines);
}

QByteArray CddbServer::readAnswer(const QStringList &words) const
{
    if (m_readStatus != 0)
        return QByteArray::number(m_readStatus) + " Status forced by the test server\r\n";
    if (words.size() != 4)
        return "500 Command syntax error.\r\n";
    for (const Entry &e : m_entries) {
        if (e.category != words.at(2) || e.discId != words.at(3))
            continue;
        QStringList lines{QStringLiteral("210 %1 %2 CD database entry follows (until terminating `.')")
                              .arg(e.category, e.discId)};
        lines += e.xmcd.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        if (m_mode == Mode::HugeIndex) {
            lines.insert(lines.size() - 1, QStringLiteral("TTITLE4294967296=overflow"));
            lines.insert(lines.size() - 1, QStringLiteral("TTITLE2147483647=max"));
            lines.insert(lines.size() - 1, QStringLiteral("TTITLE100=beyond a disc"));
            lines.insert(lines.size() - 1, QStringLiteral("EXTT99999999=far"));
            lines.insert(lines.size() - 1, QStringLiteral("TTITLE-1=negative"));
        }
        if (m_mode != Mode::NoEndLine)
            lines.append(QStringLiteral("."));
        return latin1Lines(lines);
    }
    return "401 Specified CDDB entry not found.\r\n";
}

QByteArray CddbServer::sitesAnswer() const
{
    if (m_sites.isEmpty())
        return "401 No site information available.\r\n";
    QStringList lines{QStringLiteral("210 OK, site information follows (until terminating `.')")};
    lines += m_sites;
    lines.append(QStringLiteral("."));
    return latin1Lines(lines);
}

QString xmcdEntry(const QString &discId, const QStringList &lines)
{
    QStringList all{QStringLiteral("# xmcd"), QStringLiteral("#"),
                    QStringLiteral("# Submitted via: tarvex-tests 1.0"),
                    QStringLiteral("DISCID=") + discId};
    all += lines;
    return all.join(QStringLiteral("\r\n"));
}

} // namespace testsupport
