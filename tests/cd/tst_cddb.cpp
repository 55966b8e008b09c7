#include "cd/cddb.h"
#include "cd/cddbclient.h"
#include "cd/httpfetch.h"

#include "cddbserver.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using testsupport::CddbServer;

namespace {

// A read answer as the server's bytes, in Latin-1: status line, the lines given, the end line.
QByteArray entry(const QStringList &lines)
{
    const QStringList all = QStringList{"210 rock 940aac0d CD database entry follows"} + lines + QStringList{"."};
    return (all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

const QStringList disc{"DTITLE=Les Amis / Le Vent", "DYEAR=1999", "DGENRE=Chanson"};
const QString query = QStringLiteral("cddb+query+0200b401+1+150+182");

} // namespace

class TestCddb : public QObject
{
    Q_OBJECT

private slots:
    void queryAnswer_data();
    void queryAnswer();
    void readAnswer_data();
    void readAnswer();
    void requestWords();
    void hostileServer_data();
    void hostileServer();
};

void TestCddb::queryAnswer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("matches");
    const QString notFound = QStringLiteral("NotFound Erreur|Erreur");
    QTest::newRow("200 keeps the local disc ID") << "200 rock 940aac0e A / B\r\n" << "Found rock|0200b401"
                                                 << QStringList{};
    QTest::newRow("200 without category") << "200\r\n" << notFound << QStringList{};
    QTest::newRow("202 no match") << "202 No match found.\r\n" << notFound << QStringList{};
    QTest::newRow("empty answer") << "" << notFound << QStringList{};
    QTest::newRow("210 several matches")
        << "210 Found exact matches\r\nrock 0200b401 A / B\r\nfolk 0200b401 A / B (live)\r\n.\r\n"
        << "Choice " << QStringList{"rock 0200b401 A / B", "folk 0200b401 A / B (live)"};
    QTest::newRow("211 ends at an empty line")
        << "211 Found inexact matches\r\nmisc 12345678 A / B\r\n\r\nrock 0 C / D\r\n.\r\n"
        << "Choice " << QStringList{"misc 12345678 A / B"};
    QTest::newRow("210 without end line") << "210 Found exact matches\r\nrock 0200b401 A / B"
                                          << "Choice " << QStringList{"rock 0200b401 A / B"};
    QTest::newRow("210 with an empty list") << "210 Found exact matches\r\n.\r\n" << notFound
                                            << QStringList{};
}

// Anything but one exact match or a list to choose from leaves "Erreur" as the result, which the
// callers take as "nothing found" and never send as a read request.
void TestCddb::queryAnswer()
{
    QFETCH(QString, answer);
    QFETCH(QString, result);
    QFETCH(QStringList, matches);
    static const QStringList kinds{"Found", "Choice", "NotFound"};
    const cd::CddbQueryAnswer parsed = cd::parseQueryAnswer(answer, query);
    QCOMPARE(kinds.value(parsed.kind) + u' ' + parsed.result, result);
    QCOMPARE(parsed.matches, matches);
}

void TestCddb::readAnswer_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("disc");
    QTest::addColumn<QStringList>("rows");
    const QString amis = QStringLiteral("Les Amis|Le Vent|1999|Chanson");
    QTest::newRow("titles, extended part, leading digit")
        << entry(disc + QStringList{"TTITLE0=Un", "TTITLE1=Deux", "EXTD=", "EXTT1=live", "TTITLE2=1999",
                                    "TTITLE3=  7 Seconds  ", "PLAYORDER="})
        << amis << QStringList{"Un", "Deux (live)", " 1999", " 7 Seconds"};
    QTest::newRow("split title keeps the blank at the split")
        << entry(disc + QStringList{"TTITLE0=Tant qu'il ", "TTITLE0=continue", "TTITLE1=Tant qu'il",
                                    "TTITLE1= continue ", "TTITLE2=contin", "TTITLE2=ue", "TTITLE3=19", "TTITLE3=99"})
        << amis << QStringList{"Tant qu'il continue", "Tant qu'il continue", "continue", " 1999"};
    QTest::newRow("split extended part and disc title")
        << entry({"DTITLE=Les Amis / Le ", "DTITLE=Vent", "DYEAR= 1999 ", "DGENRE=Chanson", "TTITLE0=A",
                  "EXTT0=enregistré en ", "EXTT0=public"})
        << amis << QStringList{"A (enregistré en public)"};
    QTest::newRow("Windows-1252 accents")
        << entry({"DTITLE=No\u00ebl / \u00c9t\u00e9", "DYEAR=", "DGENRE=Vari\u00e9t\u00e9",
                  QStringLiteral("TTITLE0=Co\u00fbt \u0080")})
        << "Noël|Été||Variété" << QStringList{"Coût €"};
    QTest::newRow("no slash, equals sign, missing track")
        << entry({"DTITLE=  Compil  ", "DYEAR=", "DGENRE=", "TTITLE0=E=mc2", "TTITLE2=C"})
        << "Compil|||" << QStringList{"E", "", "C"};
    QTest::newRow("absurd track numbers are ignored, 99 is the last")
        << entry(disc + QStringList{"TTITLE0=A", "TTITLE4294967296=x", "TTITLE2147483647=x", "TTITLE100=x",
                                    "TTITLE-1=x", "TTITLE=x", "TTITLEx=x", "TTITLE+1=x", "EXTT99999999=x",
                                    "EXTT1000=x", "TTITLE99=Z"})
        << amis << QStringList{"A"} + QStringList(98, QString()) + QStringList{"Z"};
    QTest::newRow("nothing after the end line")
        << entry({"DTITLE=A / B", ".", "DYEAR=1999", "TTITLE0=x"}) << "A|B||" << QStringList{};
    QTest::newRow("not 210") << QByteArray("401 Specified CDDB entry not found.\r\n") << "|||" << QStringList{};
}

void TestCddb::readAnswer()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, disc);
    QFETCH(QStringList, rows);
    const cd::CddbDisc parsed = cd::parseReadAnswer(cd::decodeCddbAnswer(answer));
    QCOMPARE(QStringList({parsed.artist, parsed.album, parsed.year, parsed.genre}).join(u'|'), disc);
    QCOMPARE(parsed.rows, rows);
}

// The user's address and the words of a server's answer cannot add parameters to a request.
void TestCddb::requestWords()
{
    QCOMPARE(cd::cddbHelloSuffix("  a+b&c@exemple.fr "), QStringLiteral("&hello=a%2Bb%26c+exemple.fr+xmcd+v1.0PL0&proto=5"));
    QCOMPARE(cd::cddbHelloSuffix("jean@"), QStringLiteral("&hello=me+tarvex+xmcd+v1.0PL0&proto=5"));
    QCOMPARE(cd::cddbReadCommand("rock&proto=1", "a#b"), QStringLiteral("cddb+read+rock%26proto%3D1+a%23b"));
}

void TestCddb::hostileServer_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("ending"); // 1: the wait is cancelled, 2: the application quits
    QTest::addColumn<bool>("answered");
    QTest::newRow("exact match") << int(CddbServer::Mode::Normal) << 0 << true;
    QTest::newRow("huge track numbers") << int(CddbServer::Mode::HugeIndex) << 0 << true;
    QTest::newRow("no end line") << int(CddbServer::Mode::NoEndLine) << 0 << true;
    QTest::newRow("5 MB with its length") << int(CddbServer::Mode::HugeBody) << 0 << false;
    QTest::newRow("5 MB without length") << int(CddbServer::Mode::HugeBodyStream) << 0 << false;
    QTest::newRow("HTTP status 500") << int(CddbServer::Mode::HttpError) << 0 << false;
    QTest::newRow("never answers") << int(CddbServer::Mode::NeverAnswers) << 0 << false;
    QTest::newRow("stalls mid-body") << int(CddbServer::Mode::StallsMidBody) << 0 << false;
    QTest::newRow("nothing listens") << -1 << 0 << false;
    QTest::newRow("cancelled") << int(CddbServer::Mode::StallsMidBody) << 1 << false;
    // Leaves the application quitting: keep it last.
    QTest::newRow("application quits") << int(CddbServer::Mode::StallsMidBody) << 2 << false;
}

// A real HTTP exchange on loopback: the query, then the read of the match, bounded in size and
// time whatever the server does. Ending the wait, as closing the window does, gives no answer
// rather than half of one.
void TestCddb::hostileServer()
{
    QFETCH(int, mode);
    QFETCH(int, ending);
    QFETCH(bool, answered);
    CddbServer server;
    QVERIFY(server.start());
    server.addEntry("misc", "0200b401", testsupport::xmcdEntry("0200b401",
        disc + QStringList{"TTITLE0=Un", "TTITLE1=Deux", "TTITLE2=Trois", "EXTT1=live"}));
    server.setMode(CddbServer::Mode(std::max(mode, 0)));
    const QString url = mode < 0 ? QStringLiteral("http://127.0.0.1:1/cddb.cgi") : server.url();
    cd::HttpFetch fetch;
    fetch.setTimeout(ending == 0 ? 1500 : cd::HttpFetch::defaultTimeoutMs);
    QTimer::singleShot(500, &fetch, [&fetch, ending] {
        QVERIFY(ending == 0 || fetch.isRunning());
        if (ending == 1)
            fetch.cancel();
        else if (ending == 2)
            QCoreApplication::exit(0);
    });
    const QString hello = cd::cddbHelloSuffix(QStringLiteral("jean@exemple.fr"));
    QElapsedTimer clock;
    clock.start();
    const QString queried = cd::cddbSend(fetch, url, query, hello);
    QVERIFY(clock.elapsed() < 5000);
    fetch.setTimeout(1500);
    const QString read = cd::cddbSend(fetch, url, cd::cddbReadCommand("misc", "0200b401"), hello);
    if (!answered) {
        QCOMPARE(queried + read, QString());
        return;
    }
    QCOMPARE(cd::parseQueryAnswer(queried, query).result, QStringLiteral("misc|0200b401"));
    QCOMPARE(cd::parseReadAnswer(read).rows, (QStringList{"Un", "Deux (live)", "Trois"}));
    QCOMPARE(server.commands(), (QStringList{"cddb query 0200b401 1 150 182", "cddb read misc 0200b401"}));
    QCOMPARE(server.hellos().value(1), QStringLiteral("jean+exemple.fr+xmcd+v1.0PL0"));
}

QTEST_GUILESS_MAIN(TestCddb)
#include "tst_cddb.moc"
