#include "cd/cddb.h"

#include <QTest>

namespace {

// A read answer: status line, the lines given, then the end line.
QString readAnswer(const QStringList &lines, bool endLine = true)
{
    QStringList all{QStringLiteral("210 rock 940aac0d CD database entry follows (until terminating `.')")};
    all += lines;
    if (endLine)
        all.append(QStringLiteral("."));
    return all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

const QStringList discLines{QStringLiteral("DTITLE=Les Amis / Le Vent"),
                            QStringLiteral("DYEAR=1999"), QStringLiteral("DGENRE=Chanson")};

} // namespace

class TestCddb : public QObject
{
    Q_OBJECT

private slots:
    void getField_data();
    void getField();
    void queryAnswer_data();
    void queryAnswer();
    void choiceResult_data();
    void choiceResult();
    void readAnswerRows_data();
    void readAnswerRows();
    void readAnswerDisc_data();
    void readAnswerDisc();
    void latinAccents();
    void sitesAnswer();
    void sitesRefused();
    void serverUrlInLine_data();
    void serverUrlInLine();
    void helloSuffix_data();
    void helloSuffix();
    void readCommandEncodesServerWords();
};

void TestCddb::getField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("piece");

    QTest::newRow("middle piece") << "a/b/c" << 2 << "/" << "b";
    QTest::newRow("last piece without trailing separator") << "a/b/c" << 3 << "/" << "c";
    QTest::newRow("beyond the last piece") << "a/b/c" << 4 << "/" << "";
    QTest::newRow("trailing separator already there") << "a/b/" << 3 << "/" << "";
    QTest::newRow("no separator at all") << "abc" << 1 << "/" << "abc";
    QTest::newRow("empty text") << "" << 1 << "/" << "";
    QTest::newRow("empty piece between separators") << "a//c" << 2 << "/" << "";
    QTest::newRow("two-character separator") << "l1\r\nl2\r\n" << 2 << "\r\n" << "l2";
    QTest::newRow("index zero") << "a/b" << 0 << "/" << "";
    QTest::newRow("negative index") << "a/b" << -3 << "/" << "";
    QTest::newRow("query text disc ID") << "cddb+query+0200b401+1+150+182" << 3 << "+"
                                        << "0200b401";
    QTest::newRow("value cut at the second equals sign") << "TTITLE0=a=b" << 2 << "=" << "a";
}

void TestCddb::getField()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QFETCH(QString, separator);
    QFETCH(QString, piece);
    QCOMPARE(cd::getField(text, index, separator), piece);
}

void TestCddb::queryAnswer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("matches");

    QTest::newRow("200 exact match keeps the local disc ID")
        << "200 rock 940aac0e Les Amis / Le Vent\r\n" << int(cd::CddbQueryAnswer::Found)
        << "rock|940aac0d" << QStringList{};
    QTest::newRow("200 with LF only") << "200 jazz 940aac0d X / Y\n"
                                      << int(cd::CddbQueryAnswer::Found) << "jazz|940aac0d"
                                      << QStringList{};
    QTest::newRow("200 without category") << "200\r\n" << int(cd::CddbQueryAnswer::NotFound)
                                          << "Erreur|Erreur" << QStringList{};
    QTest::newRow("202 no match") << "202 No match found.\r\n"
                                  << int(cd::CddbQueryAnswer::NotFound) << "Erreur|Erreur"
                                  << QStringList{};
    QTest::newRow("403 corrupt entry") << "403 Database entry is corrupt.\r\n"
                                       << int(cd::CddbQueryAnswer::NotFound) << "Erreur|Erreur"
                                       << QStringList{};
    QTest::newRow("409 no handshake") << "409 No handshake.\r\n"
                                      << int(cd::CddbQueryAnswer::NotFound) << "Erreur|Erreur"
                                      << QStringList{};
    QTest::newRow("500 command error") << "500 Command syntax error.\r\n"
                                       << int(cd::CddbQueryAnswer::NotFound) << "Erreur|Erreur"
                                       << QStringList{};
    QTest::newRow("empty answer") << "" << int(cd::CddbQueryAnswer::NotFound) << "Erreur|Erreur"
                                  << QStringList{};
    QTest::newRow("210 several exact matches")
        << "210 Found exact matches, list follows (until terminating `.')\r\n"
           "rock 940aac0d Les Amis / Le Vent\r\nfolk 940aac0d Les Amis / Le Vent (live)\r\n.\r\n"
        << int(cd::CddbQueryAnswer::Choice) << ""
        << QStringList{"rock 940aac0d Les Amis / Le Vent",
                       "folk 940aac0d Les Amis / Le Vent (live)"};
    QTest::newRow("211 inexact matches end at an empty line")
        << "211 Found inexact matches\r\nmisc 12345678 A / B\r\n\r\nrock 0 C / D\r\n.\r\n"
        << int(cd::CddbQueryAnswer::Choice) << "" << QStringList{"misc 12345678 A / B"};
    QTest::newRow("210 without end line")
        << "210 Found exact matches\r\nrock 940aac0d A / B"
        << int(cd::CddbQueryAnswer::Choice) << "" << QStringList{"rock 940aac0d A / B"};
    QTest::newRow("210 with an empty list") << "210 Found exact matches\r\n.\r\n"
                                            << int(cd::CddbQueryAnswer::NotFound)
                                            << "Erreur|Erreur" << QStringList{};
}

void TestCddb::queryAnswer()
{
    QFETCH(QString, answer);
    QFETCH(int, kind);
    QFETCH(QString, result);
    QFETCH(QStringList, matches);

    const cd::CddbQueryAnswer parsed =
        cd::parseQueryAnswer(answer, QStringLiteral("cddb+query+940aac0d+13+150+3150"));
    QCOMPARE(int(parsed.kind), kind);
    QCOMPARE(parsed.result, result);
    QCOMPARE(parsed.matches, matches);
}

void TestCddb::choiceResult_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("result");
    QTest::newRow("match line") << "folk 940aac0d Les Amis / Le Vent" << "folk|940aac0d";
    QTest::newRow("one word") << "folk" << "Erreur|Erreur";
    QTest::newRow("empty") << "" << "Erreur|Erreur";
}

void TestCddb::choiceResult()
{
    QFETCH(QString, line);
    QFETCH(QString, result);
    QCOMPARE(cd::choiceResult(line), result);
}

void TestCddb::readAnswerRows_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("three titles, one extended part")
        << readAnswer(discLines + QStringList{"TTITLE0=Un", "TTITLE1=Deux", "TTITLE2=Trois",
                                              "EXTD=", "EXTT0=", "EXTT1=live", "EXTT2=",
                                              "PLAYORDER="})
        << QStringList{"Un", "Deux (live)", "Trois"};
    QTest::newRow("title starting with a digit gets a blank")
        << readAnswer(discLines + QStringList{"TTITLE0=1999", "TTITLE1=  7 Seconds  "})
        << QStringList{" 1999", " 7 Seconds"};
    QTest::newRow("title split over two lines keeps the blank at the split")
        << readAnswer(discLines + QStringList{"TTITLE0=Tant qu'il ", "TTITLE0=continue"})
        << QStringList{"Tant qu'il continue"};
    QTest::newRow("split right after a blank on the second piece")
        << readAnswer(discLines + QStringList{"TTITLE0=Tant qu'il", "TTITLE0= continue "})
        << QStringList{"Tant qu'il continue"};
    QTest::newRow("split inside a word joins the word")
        << readAnswer(discLines + QStringList{"TTITLE0=contin", "TTITLE0=ue"})
        << QStringList{"continue"};
    QTest::newRow("split number is not given a blank in the middle")
        << readAnswer(discLines + QStringList{"TTITLE0=19", "TTITLE0=99"})
        << QStringList{" 1999"};
    QTest::newRow("extended part split over two lines")
        << readAnswer(discLines + QStringList{"TTITLE0=A", "EXTT0=enregistré en ", "EXTT0=public"})
        << QStringList{"A (enregistré en public)"};
    QTest::newRow("equals sign cuts a title")
        << readAnswer(discLines + QStringList{"TTITLE0=E=mc2"}) << QStringList{"E"};
    QTest::newRow("missing track number leaves an empty row")
        << readAnswer(discLines + QStringList{"TTITLE0=A", "TTITLE2=C"})
        << QStringList{"A", "", "C"};
    QTest::newRow("absurd track numbers are ignored")
        << readAnswer(discLines + QStringList{"TTITLE0=A", "TTITLE4294967296=x",
                                              "TTITLE2147483647=x", "TTITLE100=x",
                                              "TTITLE-1=x", "TTITLE=x", "TTITLEx=x",
                                              "TTITLE 1=x", "TTITLE+1=x", "EXTT99999999=x",
                                              "EXTT1000=x", "TTITLE0001=x"})
        << QStringList{"A"};
    QTest::newRow("highest track number accepted")
        << readAnswer(discLines + QStringList{"TTITLE99=last"})
        << QStringList(QList<QString>(99, QString()) << QStringLiteral("last"));
    QTest::newRow("no end line ends at the end of the body")
        << readAnswer(discLines + QStringList{"TTITLE0=A", "TTITLE1=B"}, false)
        << QStringList{"A", "B"};
    QTest::newRow("lines after the end line are not read")
        << readAnswer(discLines + QStringList{"TTITLE0=A", ".", "TTITLE1=B"})
        << QStringList{"A"};
    QTest::newRow("empty lines among the titles are skipped")
        << readAnswer(discLines + QStringList{"TTITLE0=A", "", "TTITLE1=B"})
        << QStringList{"A", "B"};
    QTest::newRow("comments and other keys are skipped")
        << readAnswer(QStringList{"# xmcd", "#", "DISCID=940aac0d"} + discLines
                      + QStringList{"TTITLE0=A", "TTITLEX", "EXTD=notes"})
        << QStringList{"A"};
    QTest::newRow("disc lines end before the titles")
        << readAnswer(QStringList{"DTITLE=A / B", "DYEAR=2000", "", "DGENRE=Rock", "TTITLE0=A"})
        << QStringList{};
    QTest::newRow("not 210") << "401 Specified CDDB entry not found.\r\n" << QStringList{};
    QTest::newRow("empty answer") << "" << QStringList{};
}

void TestCddb::readAnswerRows()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, rows);
    QCOMPARE(cd::parseReadAnswer(answer).rows, rows);
}

void TestCddb::readAnswerDisc_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("album");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("genre");
    QTest::addColumn<int>("discLines");

    QTest::newRow("artist and album") << discLines << "Les Amis" << "Le Vent" << "1999"
                                      << "Chanson" << 3;
    QTest::newRow("no slash: whole value is the artist")
        << QStringList{"DTITLE=  Compilation  ", "DYEAR=", "DGENRE="} << "Compilation" << ""
        << "" << "" << 3;
    QTest::newRow("album with a slash is cut there")
        << QStringList{"DTITLE=AC / DC / Live", "DYEAR= 1992 ", "DGENRE= Hard Rock "} << "AC"
        << "DC" << "1992" << "Hard Rock" << 3;
    QTest::newRow("DTITLE split over two lines")
        << QStringList{"DTITLE=Les Amis / Le ", "DTITLE=Vent", "DYEAR=1999", "DGENRE=Chanson"}
        << "Les Amis" << "Le Vent" << "1999" << "Chanson" << 3;
    QTest::newRow("end line before DYEAR")
        << QStringList{"DTITLE=A / B", ".", "DYEAR=1999", "DGENRE=Rock"} << "A" << "B" << ""
        << "" << 1;
    QTest::newRow("no DGENRE") << QStringList{"DTITLE=A / B", "DYEAR=1999", "TTITLE0=x"} << "A"
                               << "B" << "1999" << "" << 2;
    QTest::newRow("no disc lines") << QStringList{"TTITLE0=x"} << "" << "" << "" << "" << 0;
}

void TestCddb::readAnswerDisc()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, artist);
    QFETCH(QString, album);
    QFETCH(QString, year);
    QFETCH(QString, genre);
    QFETCH(int, discLines);

    const cd::CddbDisc disc = cd::parseReadAnswer(readAnswer(lines));
    QCOMPARE(disc.code, QStringLiteral("210"));
    QCOMPARE(disc.artist, artist);
    QCOMPARE(disc.album, album);
    QCOMPARE(disc.year, year);
    QCOMPARE(disc.genre, genre);
    QCOMPARE(disc.discLines, discLines);
}

void TestCddb::latinAccents()
{
    const QByteArray body = "210 misc 0200b401 entry\r\nDTITLE=Nol\xe9 / \xc9t\xe9\r\nDYEAR=\r\n"
                            "DGENRE=Vari\xe9t\xe9\r\nTTITLE0=Ca co\xfbte 10 \x80\r\n.\r\n";
    const cd::CddbDisc disc = cd::parseReadAnswer(cd::decodeCddbAnswer(body));
    QCOMPARE(disc.artist, QStringLiteral("Nolé"));
    QCOMPARE(disc.album, QStringLiteral("Été"));
    QCOMPARE(disc.genre, QStringLiteral("Variété"));
    QCOMPARE(disc.rows, QStringList{QStringLiteral("Ca coûte 10 €")});
}

void TestCddb::sitesAnswer()
{
    const QString answer = QStringLiteral(
        "210 OK, site information follows (until terminating `.')\r\n"
        "gnudb.gnudb.org http 80 /~cddb/cddb.cgi N000.00 W000.00 gnudb random server\r\n"
        "gnudb.gnudb.org cddbp 8880 - N000.00 W000.00 gnudb random server\r\n"
        "miroir.example.fr http 8080 /cgi-bin/cddb.cgi N048.51 E002.21 Miroir de Paris\r\n"
        "bad.example http notaport /cddb.cgi N0 W0 broken port\r\n"
        "bad.example http 80 cddb.cgi N0 W0 relative address\r\n"
        "short http 80\r\n"
        ".\r\n"
        "after.example http 80 /x N0 W0 after the end\r\n");
    const cd::CddbSites sites = cd::parseSitesAnswer(answer);
    QCOMPARE(sites.code, QStringLiteral("210"));
    QCOMPARE(sites.sites.size(), 2);
    QCOMPARE(sites.sites.at(1).url(), QStringLiteral("http://miroir.example.fr:8080/cgi-bin/cddb.cgi"));
    const QStringList shown = sites.text.split(u'\n');
    QCOMPARE(shown, (QStringList{"gnudb random server\thttp://gnudb.gnudb.org:80/~cddb/cddb.cgi",
                                 "Miroir de Paris\thttp://miroir.example.fr:8080/cgi-bin/cddb.cgi"}));
    QCOMPARE(cd::serverUrlInLine(shown.at(1)), sites.sites.at(1).url());
}

void TestCddb::sitesRefused()
{
    const QString answer = QStringLiteral("401 No site information available.\r\n");
    const cd::CddbSites sites = cd::parseSitesAnswer(answer);
    QCOMPARE(sites.code, QStringLiteral("401"));
    QVERIFY(sites.sites.isEmpty());
    QCOMPARE(sites.text, answer);
}

void TestCddb::serverUrlInLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("url");
    QTest::newRow("description then address")
        << "Miroir\thttp://h.example:8080/cddb.cgi" << "http://h.example:8080/cddb.cgi";
    QTest::newRow("address followed by text") << "http://h.example:80/c.cgi suite"
                                              << "http://h.example:80/c.cgi";
    QTest::newRow("no address") << "210 OK, site information follows" << "";
    QTest::newRow("scheme without host") << "x http:// y" << "";
    QTest::newRow("empty line") << "" << "";
}

void TestCddb::serverUrlInLine()
{
    QFETCH(QString, line);
    QFETCH(QString, url);
    QCOMPARE(cd::serverUrlInLine(line), url);
}

void TestCddb::helloSuffix_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("no address") << "" << "&hello=me+tarvex+xmcd+v1.0PL0&proto=5";
    QTest::newRow("address") << "jean.dupont@exemple.fr"
                             << "&hello=jean.dupont+exemple.fr+xmcd+v1.0PL0&proto=5";
    QTest::newRow("blanks around the address") << "  jean@exemple.fr "
                                               << "&hello=jean+exemple.fr+xmcd+v1.0PL0&proto=5";
    QTest::newRow("plus and ampersand are encoded")
        << "a+b&c@exemple.fr" << "&hello=a%2Bb%26c+exemple.fr+xmcd+v1.0PL0&proto=5";
    QTest::newRow("no at sign") << "jean" << "&hello=me+tarvex+xmcd+v1.0PL0&proto=5";
    QTest::newRow("nothing after the at sign") << "jean@" << "&hello=me+tarvex+xmcd+v1.0PL0&proto=5";
}

void TestCddb::helloSuffix()
{
    QFETCH(QString, email);
    QFETCH(QString, suffix);
    QCOMPARE(cd::cddbHelloSuffix(email), suffix);
}

void TestCddb::readCommandEncodesServerWords()
{
    QCOMPARE(cd::cddbReadCommand(QStringLiteral("rock"), QStringLiteral("940aac0d")),
             QStringLiteral("cddb+read+rock+940aac0d"));
    // A category from a hostile answer cannot add parameters to the request.
    QCOMPARE(cd::cddbReadCommand(QStringLiteral("rock&proto=1"), QStringLiteral("a#b")),
             QStringLiteral("cddb+read+rock%26proto%3D1+a%23b"));
}

QTEST_GUILESS_MAIN(TestCddb)
#include "tst_cddb.moc"
