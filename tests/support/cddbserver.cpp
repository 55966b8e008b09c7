#include "cddbserver.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace testsupport {

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
    QStringList words;
    for (const QByteArray &pair : target.mid(target.indexOf('?') + 1).split('&')) {
        if (pair.startsWith("cmd=")) {
            words.clear();
            for (const QByteArray &word : pair.mid(4).split('+')) // "+" is a blank in a query
                words.append(QUrl::fromPercentEncoding(word));
        } else if (pair.startsWith("hello=")) {
            m_hellos.append(QString::fromLatin1(pair.mid(6)));
        }
    }
    m_commands.append(words.join(u' '));
    if (m_mode == Mode::NeverAnswers)
        return;

    QByteArray body;
    if (m_mode == Mode::HugeBody || m_mode == Mode::HugeBodyStream) {
        body = "210 rock 0200b401 CD database entry follows\r\n";
        while (body.size() < 5 * 1024 * 1024)
            body += "TTITLE0=" + QByteArray(70, 'x') + "\r\n";
        body += ".\r\n";
    } else {
        body = (answerFor(words).join(u"\r\n"_s) + u"\r\n"_s).toLatin1();
    }
    QByteArray head = m_mode == Mode::HttpError ? "HTTP/1.1 500 Internal Server Error\r\n"
                                                : "HTTP/1.1 200 OK\r\n";
    head += "Content-Type: text/plain; charset=ISO-8859-1\r\nConnection: close\r\n";
    if (m_mode != Mode::HugeBodyStream)
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    const bool stall = m_mode == Mode::StallsMidBody;
    socket->write(head + "\r\n" + (stall ? body.left(body.size() / 2) : body));
    if (!stall)
        socket->disconnectFromHost();
}

QStringList CddbServer::answerFor(const QStringList &words) const
{
    const auto matchLine = [](const Entry &e) {
        static const QRegularExpression dtitle(u"^DTITLE=([^\r\n]*)"_s,
                                               QRegularExpression::MultilineOption);
        return e.category + u' ' + e.discId + u' ' + dtitle.match(e.xmcd).captured(1);
    };
    const QString forced = u"%1 Status forced by the test server"_s;
    if (m_mode == Mode::HttpError)
        return {u"500 Internal Server Error"_s};
    if (words.value(0) == u"cddb" && words.value(1) == u"query") {
        if (m_queryStatus != 0)
            return {forced.arg(m_queryStatus)};
        if (words.size() < 4)
            return {u"500 Command syntax error."_s};
        QStringList matches;
        for (const Entry &e : m_entries) {
            if (e.discId == words.at(2))
                matches.append(matchLine(e));
        }
        if (matches.size() < 2)
            return {matches.isEmpty() ? u"202 No match found."_s : u"200 "_s + matches.first()};
        return QStringList{u"210 Found exact matches, list follows (until terminating `.')"_s}
               << matches << u"."_s;
    }
    if (words.value(0) == u"cddb" && words.value(1) == u"read") {
        if (m_readStatus != 0)
            return {forced.arg(m_readStatus)};
        if (words.size() != 4)
            return {u"500 Command syntax error."_s};
        for (const Entry &e : m_entries) {
            if (e.category != words.at(2) || e.discId != words.at(3))
                continue;
            QStringList lines{u"210 %1 %2 CD database entry follows (until terminating `.')"_s.arg(
                e.category, e.discId)};
            lines += e.xmcd.split(u"\r\n"_s, Qt::SkipEmptyParts);
            return lines << u"."_s;
        }
        return {u"401 Specified CDDB entry not found."_s};
    }
    if (words.size() == 1 && words.at(0) == u"sites") {
        if (m_sites.isEmpty())
            return {u"401 No site information available."_s};
        return QStringList{u"210 OK, site information follows (until terminating `.')"_s} << m_sites
                                                                                          << u"."_s;
    }
    return {u"500 Unrecognized command."_s};
}

QString xmcdEntry(const QString &discId, const QStringList &lines)
{
    const QStringList head{u"# xmcd"_s, u"#"_s, u"# Submitted via: tarvex-tests 1.0"_s,
                           u"DISCID="_s + discId};
    return (head + lines).join(u"\r\n"_s);
}

} // namespace testsupport
