#include "cd/cddb.h"

#include "base/windows1252.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>

namespace cd {

namespace {

// Plain literals: these may be used while other files' statics are being built.
constexpr QLatin1StringView notFoundResult("Erreur|Erreur");
constexpr QLatin1StringView hostWord("tarvex");

QString firstLine(QStringView answer)
{
    qsizetype end = 0;
    while (end < answer.size() && answer[end] != u'\r' && answer[end] != u'\n')
        ++end;
    return answer.left(end).toString();
}

// The value of a "KEY=value" line: everything after the first "=", which may hold more.
QString valueOf(QStringView line)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals < 0 ? QString() : line.mid(equals + 1).toString();
}

// The track number after the letters of a key such as "TTITLE12"; -1 unless it is a plain
// number below trackCount.
int indexAfter(QStringView key, qsizetype letters, int trackCount)
{
    const QStringView digits = key.mid(letters);
    if (digits.isEmpty() || digits.size() > 3)
        return -1;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return -1;
    }
    const int n = digits.toInt();
    return n < trackCount ? n : -1;
}

bool isEndLine(QStringView line)
{
    return line.startsWith(u'.');
}

QString percentEncoded(const QString &word)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(word));
}

} // namespace

QString getField(QStringView text, int index, QStringView separator)
{
    if (index < 1)
        return {};
    if (separator.isEmpty())
        return index == 1 ? text.toString() : QString();
    qsizetype start = 0;
    for (int piece = 1; start < text.size(); ++piece) {
        qsizetype end = text.indexOf(separator, start);
        if (end < 0)
            end = text.size(); // the trailing separator the text lacks
        if (piece == index)
            return text.mid(start, end - start).toString();
        start = end + separator.size();
    }
    return {};
}

QStringList answerLines(QStringView answer)
{
    QStringList lines;
    qsizetype start = 0;
    while (start < answer.size()) {
        qsizetype end = start;
        while (end < answer.size() && answer[end] != u'\r' && answer[end] != u'\n')
            ++end;
        lines.append(answer.mid(start, end - start).toString());
        if (end + 1 < answer.size() && answer[end] == u'\r' && answer[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

QString answerCode(QStringView answer)
{
    return getField(firstLine(answer), 1, u" ");
}

QString decodeCddbAnswer(QByteArrayView body)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(body);
    return utf8.hasError() ? base::fromWindows1252(body) : text;
}

QString cddbDefaultServerUrl()
{
    return QStringLiteral("http://gnudb.gnudb.org/~cddb/cddb.cgi");
}

QString cddbHelloSuffix(const QString &email, int protocolLevel)
{
    const QString helloTail = QStringLiteral("+Tarvex+") + QStringLiteral(TARVEX_VERSION) +
                              QStringLiteral("&proto=") + QString::number(protocolLevel);
    const QString address = email.trimmed();
    const qsizetype at = address.lastIndexOf(u'@');
    if (at > 0 && at < address.size() - 1) {
        return QStringLiteral("&hello=") + percentEncoded(address.left(at)) + u'+' +
               percentEncoded(address.mid(at + 1)) + helloTail;
    }
    return QStringLiteral("&hello=me+") + hostWord + helloTail;
}

QString cddbRequestUrl(const QString &serverUrl, const QString &command, const QString &helloSuffix)
{
    return serverUrl + QStringLiteral("?cmd=") + command + helloSuffix;
}

QString cddbReadCommand(const QString &category, const QString &discId)
{
    return QStringLiteral("cddb+read+") + percentEncoded(category) + u'+' + percentEncoded(discId);
}

CddbQueryAnswer parseQueryAnswer(QStringView answer, QStringView queryText)
{
    CddbQueryAnswer parsed;
    parsed.code = answerCode(answer);
    if (parsed.code == u"200") {
        const QString category = getField(firstLine(answer), 2, u" ");
        const QString discId = getField(queryText, 3, u"+");
        if (!category.isEmpty() && !discId.isEmpty()) {
            parsed.kind = CddbQueryAnswer::Found;
            parsed.result = category + u'|' + discId;
        }
    } else if (parsed.code == u"210" || parsed.code == u"211") {
        const QStringList lines = answerLines(answer);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            if (lines.at(i).isEmpty() || isEndLine(lines.at(i)))
                break;
            parsed.matches.append(lines.at(i));
        }
        if (!parsed.matches.isEmpty()) {
            parsed.kind = CddbQueryAnswer::Choice;
            parsed.result.clear();
        }
    }
    return parsed;
}

QString choiceResult(QStringView matchLine)
{
    const QString category = getField(matchLine, 1, u" ");
    const QString discId = getField(matchLine, 2, u" ");
    if (category.isEmpty() || discId.isEmpty())
        return notFoundResult;
    return category + u'|' + discId;
}

CddbDisc parseReadAnswer(QStringView answer, int trackCount)
{
    trackCount = std::clamp(trackCount, 0, maxTrackCount);
    CddbDisc disc;
    disc.code = answerCode(answer);
    if (disc.code != u"210")
        return disc;
    const QStringList lines = answerLines(answer);
    qsizetype i = 1;

    // The three disc lines, in this order; an empty line or the end line before them ends the
    // read. A long DTITLE comes over several lines: the pieces are joined as they stand.
    auto nextStartingWith = [&](QStringView key) -> bool {
        for (; i < lines.size(); ++i) {
            if (lines.at(i).isEmpty() || isEndLine(lines.at(i)))
                return false;
            if (lines.at(i).startsWith(key))
                return true;
        }
        return false;
    };
    if (!nextStartingWith(u"DTITLE"))
        return disc;
    QString title = valueOf(lines.at(i));
    for (++i; i < lines.size() && lines.at(i).startsWith(u"DTITLE"); ++i)
        title += valueOf(lines.at(i));
    // "artist / album", cut at the first " / " only: a name may hold a bare "/" ("AC/DC").
    // Without the separator the text names both.
    const qsizetype separator = title.indexOf(u" / ");
    disc.artist = (separator < 0 ? title : title.left(separator)).trimmed();
    disc.album = (separator < 0 ? title : title.mid(separator + 3)).trimmed();
    disc.discLines = 1;
    if (!nextStartingWith(u"DYEAR"))
        return disc;
    disc.year = valueOf(lines.at(i)).trimmed();
    disc.discLines = 2;
    ++i;
    if (!nextStartingWith(u"DGENRE"))
        return disc;
    disc.genre = valueOf(lines.at(i)).trimmed();
    disc.discLines = 3;

    // Track titles and extended data, indexed by the number in the key. A title or extended
    // part split over several lines is joined from the pieces as they stand, then trimmed, so
    // that the words on either side of a split keep their blank.
    QStringList titles;
    QStringList extended;
    auto grow = [&](int n) {
        while (titles.size() <= n) {
            titles.append(QString());
            extended.append(QString());
        }
    };
    for (++i; i < lines.size() && !isEndLine(lines.at(i)); ++i) {
        const QString &line = lines.at(i);
        if (line.startsWith(u"TTITLE")) {
            const int n = indexAfter(getField(line, 1, u"="), 6, trackCount);
            if (n < 0)
                continue;
            grow(n);
            titles[n] += valueOf(line);
        } else if (line.startsWith(u"EXTT")) {
            const int n = indexAfter(getField(line, 1, u"="), 4, trackCount);
            if (n < 0)
                continue;
            grow(n);
            extended[n] += valueOf(line);
        }
    }
    for (qsizetype n = 0; n < titles.size(); ++n) {
        QString row = titles.at(n).trimmed();
        if (!row.isEmpty() && row.at(0).isDigit())
            row.prepend(u' ');
        // An empty extended part adds nothing rather than " ()".
        const QString ext = extended.at(n).trimmed();
        if (!ext.isEmpty())
            row += QStringLiteral(" (") + ext + u')';
        disc.rows.append(row);
    }
    return disc;
}

QStringList cddbTrackRows(const CddbDisc &disc, int trackCount)
{
    QStringList rows;
    for (int k = 0; k < std::clamp(trackCount, 0, maxTrackCount); ++k) {
        const QString title = disc.rows.value(k);
        rows.append(title.isEmpty() ? QStringLiteral("Piste %1").arg(k + 1) : title);
    }
    return rows;
}

int queryTrackCount(QStringView queryText)
{
    return getField(queryText, 4, u"+").toInt();
}

QString CddbSite::url() const
{
    return QStringLiteral("http://") + host + u':' + port + address;
}

CddbSites parseSitesAnswer(QStringView answer)
{
    CddbSites parsed;
    parsed.code = answerCode(answer);
    parsed.text = answer.toString();
    if (parsed.code != u"210")
        return parsed;
    const QStringList lines = answerLines(answer);
    QStringList shown;
    for (qsizetype i = 1; i < lines.size() && !isEndLine(lines.at(i)); ++i) {
        // host protocol port address latitude longitude description
        const QStringList words = lines.at(i).simplified().split(u' ');
        if (words.size() < 6 || words.at(1) != u"http")
            continue;
        CddbSite site;
        site.host = words.at(0);
        site.port = words.at(2);
        site.address = words.at(3);
        site.description = words.mid(6).join(u' ');
        bool portOk = false;
        const int port = site.port.toInt(&portOk);
        const QUrl url(site.url(), QUrl::StrictMode);
        if (!portOk || port < 1 || port > 65535 || !site.address.startsWith(u'/') ||
            !url.isValid() || url.host().isEmpty())
            continue;
        parsed.sites.append(site);
        shown.append(site.description + u'\t' + site.url());
    }
    parsed.text =
        shown.isEmpty()
            ? QCoreApplication::translate("cd", "Aucun serveur HTTP dans la liste des sites")
            : shown.join(u'\n');
    return parsed;
}

QString serverUrlInLine(QStringView line)
{
    const qsizetype start = line.indexOf(u"http://");
    if (start < 0)
        return {};
    qsizetype end = start;
    while (end < line.size() && !line[end].isSpace())
        ++end;
    const QString text = line.mid(start, end - start).toString();
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    return text;
}

} // namespace cd
