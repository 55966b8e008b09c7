#include "cd/cddb.h"
#include "cd/cddbclient.h"
#include "cd/cdinfo.h"
#include "cd/httpfetch.h"
#include "tags/id3v2reader.h"

#include "cddbserver.h"
#include "discimage.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using testsupport::CddbServer;

namespace {

// A table of contents from track starts and the lead-out (lead-in included), in frames or,
// with unit 75, in seconds.
cd::CdToc tocOf(const QList<int> &starts, int leadOut, int unit = 1)
{
    cd::CdToc toc{1, int(starts.size()), {}};
    for (int v : starts + QList<int>{leadOut})
        toc.starts.append({v * unit / 4500, (v * unit / 75) % 60, v * unit % 75});
    return toc;
}

// A read answer as the server's bytes, in Latin-1: status line, the lines given, the end line.
QByteArray entry(const QStringList &lines)
{
    const QStringList all =
        QStringList{"210 rock 940aac0d CD database entry follows"} + lines + QStringList{"."};
    return (all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

const QStringList disc{"DTITLE=Les Amis / Le Vent", "DYEAR=1999", "DGENRE=Chanson"};
const QString query = QStringLiteral("cddb+query+0200b401+1+150+182");

} // namespace

class TestCddb : public QObject
{
    Q_OBJECT

private slots:
    void discId_data()
    {
        QTest::addColumn<cd::CdToc>("toc");
        QTest::addColumn<QList<int>>("image"); // when not empty: the sectors of each track of an
        QTest::addColumn<int>("firstTrack");   // image read by libcdio, in place of the toc
        QTest::addColumn<QString>("query");    // how the query starts; empty for none
        QTest::addColumn<int>("errorCode");
        const auto image = [](const char *name, const QList<int> &sectors, int first,
                              const char *query) {
            QTest::newRow(name) << cd::CdToc() << sectors << first << QString(query) << 0;
        };
        const auto noQuery = [](const char *name, const cd::CdToc &toc, int errorCode) {
            QTest::newRow(name) << toc << QList<int>() << 1 << QString() << errorCode;
        };
        // Track start seconds whose digit sums add up to 255, then to 510.
        const QList<int> wrap{2, 69, 78, 79, 87, 88, 89, 96, 97, 98, 99, 159, 168, 169, 177, 178};
        QTest::newRow("checksum 255 wraps to 00")
            << tocOf(wrap + QList<int>{186, 1000}, 1060, 75) << QList<int>() << 1
            << "cddb+query+00042212+18+" << 0;
        image("image of four tracks of uneven length", {75, 149, 1001, 2222}, 1,
              "cddb+query+12002d04+4+150+225+374+1375+47");
        image("image whose first track is numbered 3", {400, 500, 600}, 3,
              "cddb+query+0e001403+3+150+550+1050+22");
        QList<int> many, hundred;
        for (int t = 0; t < 100; ++t) {
            many.append(20 + (t * 37) % 60);
            hundred.append(150 + t * 1000);
        }
        image("image of 99 short tracks", many.first(99), 1,
              "cddb+query+d8004163+99+150+170+227+261+");
        noQuery("no track", cd::CdToc{1, 0, {}}, clsCdInfo::ErrorDeviceNotReady);
        noQuery("tracks out of order", tocOf({900, 150}, 2000), clsCdInfo::ErrorOutOfRange);
        noQuery("100 tracks", tocOf(hundred, 200000), clsCdInfo::ErrorOutOfRange);
    }

    // Each disc is read after one track of three minutes (lead-out at 03:02:01): a disc that
    // cannot be identified gives no query, even after an earlier disc was identified.
    void discId()
    {
        QFETCH(cd::CdToc, toc);
        QFETCH(QList<int>, image);
        QFETCH(int, firstTrack);
        QFETCH(QString, query);
        clsCdInfo info;
        info.InitFromToc(tocOf({150}, 150 + 13500 + 1));
        QCOMPARE(info.QueryString(), QStringLiteral("cddb+query+0200b401+1+150+182"));
        QTemporaryDir dir;
        if (image.isEmpty())
            info.InitFromToc(toc);
        else
            info.Init(testsupport::DiscImage(dir.path(), "disc", image, firstTrack).cuePath());
        QTEST(info.ErrorCode(), "errorCode");
        QString message;
        QVERIFY2(info.QueryString(&message).startsWith(query), qPrintable(info.QueryString()));
        if (query.isEmpty()) {
            QCOMPARE(info.QueryString(), QString());
            QCOMPARE(info.DiscID(), QStringLiteral("(unavailable)"));
            QCOMPARE(message, QStringLiteral("Le lecteur n'est pas prêt. Essayez plus tard."));
        }
    }

    void queryAnswer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("matches");
        const QString notFound = QStringLiteral("NotFound Erreur|Erreur");
        QTest::newRow("200 keeps the local disc ID") << "200 rock 940aac0e A / B\r\n"
                                                     << "Found rock|0200b401" << QStringList{};
        QTest::newRow("200 without category") << "200\r\n" << notFound << QStringList{};
        QTest::newRow("202 no match") << "202 No match found.\r\n" << notFound << QStringList{};
        QTest::newRow("210 several matches")
            << "210 Found exact matches\r\nrock 0200b401 A / B\r\nfolk 0200b401 A / B "
               "(live)\r\n.\r\n"
            << "Choice " << QStringList{"rock 0200b401 A / B", "folk 0200b401 A / B (live)"};
        QTest::newRow("211 ends at an empty line")
            << "211 Found inexact matches\r\nmisc 12345678 A / B\r\n\r\nrock 0 C / D\r\n.\r\n"
            << "Choice " << QStringList{"misc 12345678 A / B"};
        QTest::newRow("210 without end line") << "210 Found exact matches\r\nrock 0200b401 A / B"
                                              << "Choice " << QStringList{"rock 0200b401 A / B"};
        QTest::newRow("210 with an empty list") << "210 Found exact matches\r\n.\r\n"
                                                << notFound << QStringList{};
    }

    // Anything but one exact match or a list to choose from leaves "Erreur" as the result, which
    // the callers take as "nothing found" and never send as a read request.
    void queryAnswer()
    {
        QFETCH(QString, answer);
        static const QStringList kinds{"Found", "Choice", "NotFound"};
        const cd::CddbQueryAnswer parsed = cd::parseQueryAnswer(answer, query);
        QTEST(kinds.value(parsed.kind) + u' ' + parsed.result, "result");
        QTEST(parsed.matches, "matches");
    }

    void readAnswer_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("trackCount");
        QTest::addColumn<QString>("disc");
        QTest::addColumn<QStringList>("rows");
        const QString amis = QStringLiteral("Les Amis|Le Vent|1999|Chanson");
        QTest::newRow("titles, extended part, leading digit")
            << entry(disc + QStringList{"TTITLE0=Un", "TTITLE1=Deux", "EXTD=", "EXTT1=live",
                                        "TTITLE2=1999", "TTITLE3=  7 Seconds  ", "PLAYORDER="})
            << 4 << amis << QStringList{"Un", "Deux (live)", " 1999", " 7 Seconds"};
        QTest::newRow("split lines keep the blank at the split")
            << entry({"DTITLE=Les Amis / Le ", "DTITLE=Vent", "DYEAR= 1999 ", "DGENRE=Chanson",
                      "TTITLE0=Tant qu'il ", "TTITLE0=continue", "TTITLE1=Tant qu'il",
                      "TTITLE1= continue ", "TTITLE2=contin", "TTITLE2=ue", "TTITLE3=19",
                      "TTITLE3=99", "EXTT0=enregistré en ", "EXTT0=public"})
            << 4 << amis
            << QStringList{"Tant qu'il continue (enregistré en public)", "Tant qu'il continue",
                           "continue", " 1999"};
        // Level 6 answers are UTF-8; a server that still sends Windows-1252 is read as such.
        QTest::newRow("UTF-8")
            << QString("210 rock 940aac0d x\r\nDTITLE=Sigur Rós / Ágætis\r\nDYEAR=\r\nDGENRE=\r\n"
                       "TTITLE0=東京\r\n.\r\n")
                   .toUtf8()
            << 1 << "Sigur Rós|Ágætis||" << QStringList{"東京"};
        QTest::newRow("Windows-1252 accents")
            << entry({"DTITLE=No\u00ebl / \u00c9t\u00e9", "DYEAR=", "DGENRE=Vari\u00e9t\u00e9",
                      QStringLiteral("TTITLE0=Co\u00fbt \u0080")})
            << 1 << "Noël|Été||Variété" << QStringList{"Coût €"};
        QTest::newRow("no separator names both, missing track")
            << entry({"DTITLE=  AC/DC  ", "DYEAR=", "DGENRE=", "TTITLE0=A", "TTITLE2=C"}) << 3
            << "AC/DC|AC/DC||" << QStringList{"A", "", "C"};
        QTest::newRow("slash and equals sign inside values")
            << entry({"DTITLE=AC/DC / Back in Black / Live", "DYEAR==1980", "DGENRE=Hard=Rock",
                      "TTITLE0=E=mc2", "TTITLE1=A/B = C", "EXTT1=x=y", "TTITLE2=Fin="})
            << 3 << "AC/DC|Back in Black / Live|=1980|Hard=Rock"
            << QStringList{"E=mc2", "A/B = C (x=y)", "Fin="};
        // Indexes at or above the track count are ignored.
        QTest::newRow("absurd track numbers are ignored, 98 is the last")
            << entry(disc + QStringList{"TTITLE0=A", "TTITLE4294967296=x", "TTITLE2147483647=x",
                                        "TTITLE100=x", "TTITLE-1=x", "TTITLE=x", "TTITLEx=x",
                                        "TTITLE+1=x", "EXTT99999999=x", "EXTT1000=x", "TTITLE98=Z",
                                        "TTITLE99=x"})
            << 99 << amis << QStringList{"A"} + QStringList(97, QString()) + QStringList{"Z"};
        QTest::newRow("no end line")
            << entry(disc + QStringList{"TTITLE0=Un"}).chopped(3) << 1 << amis << QStringList{"Un"};
        QTest::newRow("nothing after the end line")
            << entry({"DTITLE=A / B", ".", "DYEAR=1999", "TTITLE0=x"}) << 1 << "A|B||"
            << QStringList{};
        QTest::newRow("not 210") << QByteArray("401 Specified CDDB entry not found.\r\n") << 1
                                 << "|||" << QStringList{};
    }

    void readAnswer()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, trackCount);
        QFETCH(QString, disc);
        const cd::CddbDisc parsed = cd::parseReadAnswer(cd::decodeCddbAnswer(answer), trackCount);
        QCOMPARE(QStringList({parsed.artist, parsed.album, parsed.year, parsed.genre}).join(u'|'),
                 disc);
        QTEST(parsed.rows, "rows");
    }

    // The user's address and the words of a server's answer cannot add parameters to a request.
    void requestWords()
    {
        QCOMPARE(cd::cddbHelloSuffix("  a+b&c@exemple.fr "),
                 QStringLiteral("&hello=a%2Bb%26c+exemple.fr+Tarvex+" TARVEX_VERSION "&proto=6"));
        QCOMPARE(cd::cddbHelloSuffix("jean@", 5),
                 QStringLiteral("&hello=me+tarvex+Tarvex+" TARVEX_VERSION "&proto=5"));
        QCOMPARE(cd::cddbReadCommand("rock&proto=1", "a#b"),
                 QStringLiteral("cddb+read+rock%26proto%3D1+a%23b"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("lines"); // of the entries, after DTITLE
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("disc"); // discid|categorie|Artiste|Album|Annee|Genre
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QStringList>("rows"); // the track titles printed, then written in tags
        const QString queried = QStringLiteral("cddb query 0b000c03 3 150 450 900 14");
        const QStringList full{"DYEAR=1980",   "DGENRE=Hard Rock", "TTITLE0=Premier / Été",
                               "TTITLE1=1999", "EXTT1=live",       "TTITLE2=A/B=C",
                               "TTITLE3=Bonus"};
        const QString jazz = QStringLiteral("0b000c03|jazz|jazz|Back/Black|");
        const QStringList read{queried, "cddb read jazz 0b000c03"};
        QTest::newRow("several matches are listed")
            << QString() << full << 1 << "0b000c03|||||" << QStringList{queried} << QStringList();
        QTest::newRow("second match chosen: titles as given, with their slashes")
            << "--choix=2" << full << 0 << jazz + "1980|Hard Rock" << read
            << QStringList{"Premier / Été", " 1999 (live)", "A/B=C"};
        QTest::newRow("entry without a year: a title for every track")
            << "--choix=2" << QStringList{"DGENRE=Rock", "TTITLE0=Seul"} << 0 << jazz + "|" << read
            << QStringList{"Piste 1", "Piste 2", "Piste 3"};
        QTest::newRow("entry with fewer titles than tracks")
            << "--choix=2" << QStringList{"DYEAR=1980", "DGENRE=Rock", "TTITLE0=Seul", "TTITLE1="}
            << 0 << jazz + "1980|Rock" << read << QStringList{"Seul", "Piste 2", "Piste 3"};
        QTest::newRow("choice beyond the matches")
            << "--choix=3" << full << 1 << "|||||" << QStringList{queried} << QStringList();
    }

    // The command line reads only the match the user names and prints the rows the track list
    // shows: one per track of the disc. A rip with the same entry names its files after them,
    // "/" replaced, and writes them as they are into the tags.
    void commandLine()
    {
        QFETCH(QString, choice);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, rows);
        CddbServer server;
        QVERIFY(server.start());
        QTemporaryDir dir;
        const testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {300, 450, 200});
        // Tracks at 2, 6 and 12 seconds, lead-out at 14 seconds: 12 seconds long.
        for (const QString &category : {QStringLiteral("folk"), QStringLiteral("jazz")}) {
            server.addEntry(
                category, "0b000c03",
                testsupport::xmcdEntry(
                    "0b000c03", QStringList{"DTITLE=" + category + " / Back/Black"} + lines));
        }
        const auto run = [](const QStringList &args) {
            auto cli = std::make_unique<QProcess>();
            cli->start(qEnvironmentVariable("TARVEX_CLI"), args);
            // The server answers meanwhile.
            if (!QTest::qWaitFor([&cli] { return cli->state() == QProcess::NotRunning; }, 60000))
                cli->kill();
            return cli;
        };
        QStringList args{"cddb", "--cd-image=" + image.cuePath(), "--serveur=" + server.url(),
                         "--email=jean@exemple.fr"};
        if (!choice.isEmpty())
            args.append(choice);
        const auto cli = run(args);
        QTEST(cli->exitCode(), "exitCode");
        const QJsonObject out = QJsonDocument::fromJson(cli->readAllStandardOutput()).object();
        QStringList fields;
        for (const char *key : {"discid", "categorie", "Artiste", "Album", "Annee", "Genre"})
            fields.append(out[key].toString());
        QTEST(fields.join(u'|'), "disc");
        QTEST(server.commands(), "commands");
        QCOMPARE(server.hellos().value(0), "jean+exemple.fr+Tarvex+" TARVEX_VERSION);
        if (choice.isEmpty()) {
            QVariantList listed;
            for (const QJsonValue &match : out["correspondances"].toArray())
                listed.append(QString::number(match["choix"].toInt()) + u' ' +
                              match["categorie"].toString() + u' ' + match["discid"].toString() +
                              u' ' + match["titre"].toString());
            QCOMPARE(listed, (QVariantList{"1 folk 0b000c03 folk / Back/Black",
                                           "2 jazz 0b000c03 jazz / Back/Black"}));
        }
        QCOMPARE(out["Pistes"].toArray().toVariantList(), QVariant(rows).toList());
        if (rows.isEmpty())
            return;
        const auto ripped = run({"rip", "--cd-image=" + image.cuePath(),
                                 "--serveur=" + server.url(), "--cddb=" + choice.section(u'=', 1),
                                 "--toutes", "--mp3", "--tags=v2", "--rapide", dir.path()});
        QCOMPARE(ripped->exitCode(), 0);
        for (const QString &row : rows) {
            const QString file =
                dir.filePath("jazz - " + QString(row).replace(u'/', u'-') + ".mp3");
            const auto tag = tags::readTagV2(file);
            QVERIFY2(tag.ok(), qPrintable(file));
            QCOMPARE(tag->Titre(), row);
        }
    }

    void hostileServer_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("ending"); // 1: the wait is cancelled, 2: the application quits
        QTest::addColumn<QString>("failure");
        const QString noAnswer = QStringLiteral("Pas de connection internet");
        const QString tooLong =
            QStringLiteral("Réponse du serveur CDDB trop longue (plus de 1024 Ko)");
        QTest::newRow("5 MB with its length") << int(CddbServer::Mode::HugeBody) << 0 << tooLong;
        QTest::newRow("5 MB without length")
            << int(CddbServer::Mode::HugeBodyStream) << 0 << tooLong;
        QTest::newRow("HTTP status 500") << int(CddbServer::Mode::HttpError) << 0
                                         << QStringLiteral("Erreur du serveur CDDB (HTTP 500)");
        QTest::newRow("stalls mid-body") << int(CddbServer::Mode::StallsMidBody) << 0 << noAnswer;
        QTest::newRow("nothing listens") << -1 << 0 << noAnswer;
        QTest::newRow("cancelled") << int(CddbServer::Mode::StallsMidBody) << 1 << noAnswer;
        // Leaves the application quitting: keep it last.
        QTest::newRow("application quits") << int(CddbServer::Mode::StallsMidBody) << 2 << noAnswer;
    }

    // A real HTTP exchange on loopback (the command line's above succeeds): the query, then the
    // read of the match, bounded in size and time whatever the server does. Ending the wait, as
    // closing the window does, gives no answer rather than half of one.
    void hostileServer()
    {
        QFETCH(int, mode);
        QFETCH(int, ending);
        QFETCH(QString, failure);
        CddbServer server;
        QVERIFY(server.start());
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
        const cd::CddbReply queried = cd::cddbSend(fetch, url, query, hello);
        QVERIFY(clock.elapsed() < 5000);
        fetch.setTimeout(1500);
        const cd::CddbReply read =
            cd::cddbSend(fetch, url, cd::cddbReadCommand("misc", "0200b401"), hello);
        QCOMPARE(queried.failure, failure);
        QCOMPARE(queried.answer + read.answer, QString());
    }
};

QTEST_GUILESS_MAIN(TestCddb)
#include "tst_cddb.moc"
