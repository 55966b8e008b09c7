#include "cd/cddb.h"
#include "cd/cddbclient.h"
#include "cd/httpfetch.h"

#include "cddbserver.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QUrl>

using testsupport::CddbServer;

namespace {

const QString hello = cd::cddbHelloSuffix(QString());
const QString query = QStringLiteral("cddb+query+0200b401+1+150+182");

QString amisEntry()
{
    return testsupport::xmcdEntry(
        QStringLiteral("0200b401"),
        {QStringLiteral("DTITLE=Les Amis / Le Vent d'été"), QStringLiteral("DYEAR=1999"),
         QStringLiteral("DGENRE=Chanson"), QStringLiteral("TTITLE0=Tant qu'il "),
         QStringLiteral("TTITLE0=continue"), QStringLiteral("TTITLE1=1999"),
         QStringLiteral("TTITLE2=AC/DC"), QStringLiteral("EXTD="), QStringLiteral("EXTT0="),
         QStringLiteral("EXTT1=live"), QStringLiteral("EXTT2="), QStringLiteral("PLAYORDER=")});
}

} // namespace

class TestCddbFetch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void exactMatchThenRead();
    void helloNamesTheUser();
    void severalMatches_data();
    void severalMatches();
    void queryRefused_data();
    void queryRefused();
    void readRefused_data();
    void readRefused();
    void sites();
    void hugeIndex();
    void hugeBody_data();
    void hugeBody();
    void noEndLine();
    void httpErrorStatus();
    void unreachableServer();
    void serverThatNeverAnswers();
    void cancelEndsTheWait();
    void stalledBodyTimesOut();
    // Leaves the application quitting: keep it last.
    void quittingApplicationGivesNoAnswer();

private:
    std::unique_ptr<CddbServer> m_server;
};

void TestCddbFetch::init()
{
    m_server = std::make_unique<CddbServer>();
    QVERIFY(m_server->start());
    m_server->addEntry(QStringLiteral("misc"), QStringLiteral("0200b401"), amisEntry());
}

void TestCddbFetch::exactMatchThenRead()
{
    cd::HttpFetch fetch;
    const QString answer = cd::cddbSend(fetch, m_server->url(), query, hello);
    const cd::CddbQueryAnswer found = cd::parseQueryAnswer(answer, query);
    QCOMPARE(int(found.kind), int(cd::CddbQueryAnswer::Found));
    QCOMPARE(found.result, QStringLiteral("misc|0200b401"));

    const QString entry = cd::cddbSend(
        fetch, m_server->url(),
        cd::cddbReadCommand(cd::getField(found.result, 1, u"|"), cd::getField(found.result, 2, u"|")),
        hello);
    const cd::CddbDisc disc = cd::parseReadAnswer(entry);
    QVERIFY(disc.discLinesFound());
    QCOMPARE(disc.artist, QStringLiteral("Les Amis"));
    QCOMPARE(disc.album, QStringLiteral("Le Vent d'été"));
    QCOMPARE(disc.year, QStringLiteral("1999"));
    QCOMPARE(disc.genre, QStringLiteral("Chanson"));
    QCOMPARE(disc.rows, (QStringList{"Tant qu'il continue", " 1999 (live)", "AC/DC"}));
    QCOMPARE(m_server->commands(), (QStringList{"cddb query 0200b401 1 150 182",
                                                "cddb read misc 0200b401"}));
    QCOMPARE(m_server->hellos(), (QStringList{"me+tarvex+xmcd+v1.0PL0", "me+tarvex+xmcd+v1.0PL0"}));
}

void TestCddbFetch::helloNamesTheUser()
{
    cd::HttpFetch fetch;
    cd::cddbSend(fetch, m_server->url(), QStringLiteral("sites"),
                 cd::cddbHelloSuffix(QStringLiteral("jean.dupont@exemple.fr")));
    QCOMPARE(m_server->hellos(), QStringList{"jean.dupont+exemple.fr+xmcd+v1.0PL0"});
}

void TestCddbFetch::severalMatches_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("210 exact matches") << 0;
    QTest::newRow("211 inexact matches") << 211;
}

void TestCddbFetch::severalMatches()
{
    QFETCH(int, status);
    m_server->addEntry(QStringLiteral("folk"), QStringLiteral("0200b401"),
                       testsupport::xmcdEntry(QStringLiteral("0200b401"),
                                              {QStringLiteral("DTITLE=Autres / Disque"),
                                               QStringLiteral("DYEAR=2001"),
                                               QStringLiteral("DGENRE=Folk"),
                                               QStringLiteral("TTITLE0=Seul titre")}));
    m_server->setQueryStatus(status);
    cd::HttpFetch fetch;
    const cd::CddbQueryAnswer choice =
        cd::parseQueryAnswer(cd::cddbSend(fetch, m_server->url(), query, hello), query);
    QCOMPARE(int(choice.kind), int(cd::CddbQueryAnswer::Choice));
    QCOMPARE(choice.matches, (QStringList{"misc 0200b401 Les Amis / Le Vent d'été",
                                          "folk 0200b401 Autres / Disque"}));
    const QString picked = cd::choiceResult(choice.matches.at(1));
    const cd::CddbDisc disc = cd::parseReadAnswer(cd::cddbSend(
        fetch, m_server->url(),
        cd::cddbReadCommand(cd::getField(picked, 1, u"|"), cd::getField(picked, 2, u"|")), hello));
    QCOMPARE(disc.artist, QStringLiteral("Autres"));
    QCOMPARE(disc.rows, QStringList{"Seul titre"});
}

void TestCddbFetch::queryRefused_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("202 no match") << 202;
    QTest::newRow("403 corrupt") << 403;
    QTest::newRow("409 no handshake") << 409;
    QTest::newRow("500 server error") << 500;
    QTest::newRow("530 server error") << 530;
}

void TestCddbFetch::queryRefused()
{
    QFETCH(int, status);
    m_server->setQueryStatus(status);
    cd::HttpFetch fetch;
    const QString answer = cd::cddbSend(fetch, m_server->url(), query, hello);
    QVERIFY(answer.startsWith(QString::number(status) + u' '));
    const cd::CddbQueryAnswer parsed = cd::parseQueryAnswer(answer, query);
    QCOMPARE(int(parsed.kind), int(cd::CddbQueryAnswer::NotFound));
    QCOMPARE(parsed.code, QString::number(status));
}

void TestCddbFetch::readRefused_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("401 not found") << 401;
    QTest::newRow("402 server error") << 402;
}

void TestCddbFetch::readRefused()
{
    QFETCH(int, status);
    m_server->setReadStatus(status);
    cd::HttpFetch fetch;
    const cd::CddbDisc disc = cd::parseReadAnswer(cd::cddbSend(
        fetch, m_server->url(), cd::cddbReadCommand(QStringLiteral("misc"), QStringLiteral("0200b401")),
        hello));
    QCOMPARE(disc.code, QString::number(status));
    QVERIFY(!disc.discLinesFound());
    QVERIFY(disc.rows.isEmpty());
}

void TestCddbFetch::sites()
{
    cd::HttpFetch fetch;
    QCOMPARE(cd::parseSitesAnswer(cd::cddbSend(fetch, m_server->url(), QStringLiteral("sites"), hello))
                 .code,
             QStringLiteral("401"));
    m_server->setSites({QStringLiteral("127.0.0.1 http %1 /~cddb/cddb.cgi N000.00 W000.00 Ici")
                            .arg(m_server->port()),
                        QStringLiteral("127.0.0.1 cddbp 8880 - N000.00 W000.00 Ici")});
    const cd::CddbSites list =
        cd::parseSitesAnswer(cd::cddbSend(fetch, m_server->url(), QStringLiteral("sites"), hello));
    QCOMPARE(list.sites.size(), 1);
    // The listed address reaches the same server.
    QCOMPARE(cd::serverUrlInLine(list.text), m_server->url());
    QVERIFY(!cd::cddbSend(fetch, cd::serverUrlInLine(list.text), query, hello).isEmpty());
}

void TestCddbFetch::hugeIndex()
{
    m_server->setMode(CddbServer::Mode::HugeIndex);
    cd::HttpFetch fetch;
    const cd::CddbDisc disc = cd::parseReadAnswer(cd::cddbSend(
        fetch, m_server->url(), cd::cddbReadCommand(QStringLiteral("misc"), QStringLiteral("0200b401")),
        hello));
    QCOMPARE(disc.rows.size(), 3);
}

void TestCddbFetch::hugeBody_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("announced length") << int(CddbServer::Mode::HugeBody);
    QTest::newRow("streamed without length") << int(CddbServer::Mode::HugeBodyStream);
}

void TestCddbFetch::hugeBody()
{
    QFETCH(int, mode);
    m_server->setMode(CddbServer::Mode(mode));
    cd::HttpFetch fetch;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(cd::cddbSend(fetch, m_server->url(), query, hello), QString());
    QVERIFY(clock.elapsed() < cd::HttpFetch::defaultTimeoutMs);
}

void TestCddbFetch::noEndLine()
{
    m_server->setMode(CddbServer::Mode::NoEndLine);
    cd::HttpFetch fetch;
    const QString answer = cd::cddbSend(
        fetch, m_server->url(), cd::cddbReadCommand(QStringLiteral("misc"), QStringLiteral("0200b401")),
        hello);
    QVERIFY(!answer.contains(QStringLiteral("\r\n.\r\n")));
    QCOMPARE(cd::parseReadAnswer(answer).rows.size(), 3);
}

void TestCddbFetch::httpErrorStatus()
{
    m_server->setMode(CddbServer::Mode::HttpError);
    cd::HttpFetch fetch;
    QCOMPARE(cd::cddbSend(fetch, m_server->url(), query, hello), QString());
    QCOMPARE(m_server->commands().size(), 1);
}

void TestCddbFetch::unreachableServer()
{
    // A port that was just free: nothing listens there.
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    cd::HttpFetch fetch;
    QCOMPARE(cd::cddbSend(fetch, QStringLiteral("http://127.0.0.1:%1/cddb.cgi").arg(port), query,
                          hello),
             QString());
    QCOMPARE(cd::cddbSend(fetch, QStringLiteral("pas une adresse"), query, hello), QString());
}

// Runs with the production timeout: the fetch gives up after 20 seconds.
void TestCddbFetch::serverThatNeverAnswers()
{
    m_server->setMode(CddbServer::Mode::NeverAnswers);
    cd::HttpFetch fetch;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(cd::cddbSend(fetch, m_server->url(), query, hello), QString());
    QVERIFY2(clock.elapsed() >= 19000 && clock.elapsed() < 25000,
             qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_server->commands().size(), 1);
}

void TestCddbFetch::cancelEndsTheWait()
{
    m_server->setMode(CddbServer::Mode::NeverAnswers);
    cd::HttpFetch fetch;
    QTimer::singleShot(300, &fetch, [&fetch] {
        QVERIFY(fetch.isRunning());
        fetch.cancel();
    });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(cd::cddbSend(fetch, m_server->url(), query, hello), QString());
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(!fetch.isRunning());
}

void TestCddbFetch::stalledBodyTimesOut()
{
    m_server->setMode(CddbServer::Mode::StallsMidBody);
    cd::HttpFetch fetch;
    fetch.setTimeout(1000);
    QCOMPARE(cd::cddbSend(fetch, m_server->url(), query, hello), QString());
}

// Half an answer is no answer, even when the wait ends because the application quits.
void TestCddbFetch::quittingApplicationGivesNoAnswer()
{
    m_server->setMode(CddbServer::Mode::StallsMidBody);
    cd::HttpFetch fetch;
    QTimer::singleShot(500, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(cd::cddbSend(fetch, m_server->url(), query, hello), QString());
    QVERIFY(clock.elapsed() < 5000);
}

QTEST_GUILESS_MAIN(TestCddbFetch)
#include "tst_cddbfetch.moc"
