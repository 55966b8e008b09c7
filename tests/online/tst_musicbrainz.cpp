#include "httpserver.h"

#include "cd/cddb.h"
#include "cd/httpfetch.h"
#include "online/musicbrainzclient.h"
#include "online/musicbrainzdiscid.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using testsupport::HttpServer;
Q_DECLARE_METATYPE(HttpServer::Answer)

namespace {

// A release as the discid lookup returns it, with the fields read from it.
QByteArray releaseJson(const QString &id, const QString &title, const QString &country)
{
    return uR"({"id": "%1", "title": "%2", "date": "1999-03-22", "country": "%3",
      "artist-credit": [{"name": "Björk", "joinphrase": " & "}, {"name": "Ólafur", "joinphrase": ""}],
      "label-info": [{"catalog-number": "X1", "label": {"name": "One Little Indian"}}],
      "genres": [{"name": "pop", "count": 1}, {"name": "electronic", "count": 4}],
      "media": [{"position": 1, "track-count": 1, "discs": [{"id": "autre"}],
                 "tracks": [{"position": 1, "title": "Intro"}]},
                {"position": 2, "track-count": 2, "discs": [{"id": "ID"}],
                 "tracks": [{"position": 1, "title": "Jóga"}, {"position": 2, "title": "",
                             "recording": {"title": "Hunter"}}]}]})"_s.arg(id, title, country)
        .toUtf8();
}

QByteArray releasesJson(const QList<QByteArray> &releases)
{
    return R"({"id": "ID", "releases": [)" + releases.join(',') + "]}";
}

} // namespace

class TestMusicBrainz : public QObject
{
    Q_OBJECT

private slots:
    // The worked example of the documentation; a data track at the end is left out and the audio
    // ends 11400 sectors before it, as on a disc of the audio tracks alone.
    void discId()
    {
        // The id of a disc from track 1 on: the track starts, then the lead-out, in frames.
        const auto id = [](const QList<int> &frames, bool lastIsData) {
            cd::CdToc toc{1, int(frames.size()) - 1, {}, {}};
            if (lastIsData)
                toc.dataTracks = {int(frames.size()) - 2};
            for (int f : frames)
                toc.starts.append({f / 4500, f / 75 % 60, f % 75});
            const auto disc = online::musicBrainzDisc(toc);
            return disc && disc->submissionUrl.contains(disc->id) ? disc->id : QString();
        };
        QCOMPARE(id({150, 15363, 32314, 46592, 63414, 80489, 95462}, false),
                 u"49HHV7Eb8UKF3aQiNmu1GR8vKTY-"_s);
        const QString audioOnly = id({150, 18000, 39000, 60000 - 11400}, false);
        QVERIFY(!audioOnly.isEmpty());
        QCOMPARE(id({150, 18000, 39000, 60000, 80000}, true), audioOnly);
    }

    void lookUp_data()
    {
        QTest::addColumn<QList<HttpServer::Answer>>("answers");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("lines"); // picker lines, or the failure
        using A = HttpServer::Answer;
        using R = online::MusicBrainzReply;
        const auto row = [](const char *name, const QList<A> &answers, R::Kind kind,
                            const QStringList &lines) {
            QTest::newRow(name) << answers << int(kind) << lines;
        };
        const QByteArray one = releaseJson(u"r1"_s, u"Homogenic"_s, u"GB"_s);
        const QString line =
            u"Björk & Ólafur - Homogenic (1999-03-22, GB, One Little Indian, 2 pistes)"_s;
        row("several releases",
            {{200, releasesJson({one, releaseJson(u"r2"_s, u"Homogénic"_s, u"FR"_s)})}}, R::Found,
            {line,
             QString(line).replace(u"mogenic (1999-03-22, GB"_s, u"mogénic (1999-03-22, FR"_s)});
        row("none, 404", {{404, R"({"error": "Not Found"})"}}, R::Unknown,
            {u"MusicBrainz ne connaît pas ce disque"_s});
        row("malformed", {{200, releasesJson({one}).chopped(3)}}, R::Failed,
            {u"La réponse de MusicBrainz est illisible (ce n'est pas la liste des éditions du "
             "disque)"_s});
        row("too large", {{200, QByteArray(2 * 1024 * 1024, ' ')}}, R::Failed,
            {u"Réponse de MusicBrainz trop longue (plus de 1024 Ko)"_s});
        row("slow", {{200, releasesJson({one}), {}, 6000}}, R::Failed,
            {u"Pas de réponse de MusicBrainz : pas de connexion internet, serveur injoignable ou "
             "trop lent"_s});
        row("503 then the answer", {{503, {}, "Retry-After: 2\r\n"}, {200, releasesJson({one})}},
            R::Found, {line});
        row("503 with a long Retry-After", {{503, {}, "Retry-After: 120\r\n"}}, R::Failed,
            {u"MusicBrainz est surchargé : réessayez dans 120 s"_s});
    }
    void lookUp()
    {
        QFETCH(QList<HttpServer::Answer>, answers);
        QFETCH(int, kind);
        HttpServer server;
        QVERIFY(server.start());
        for (const HttpServer::Answer &answer : answers)
            server.queue("/ws/2/discid/ID?", answer);
        cd::HttpFetch fetch;
        fetch.setTimeout(2500); // generous: a loaded machine under sanitizers is slow
        online::MusicBrainzClient client(fetch, server.url() + u'/', u"moi@exemple.fr"_s);

        const online::MusicBrainzReply first = client.lookUp(u"ID"_s);
        const online::MusicBrainzReply second = client.lookUp(u"ID"_s);
        QCOMPARE(int(first.kind), kind);
        QStringList got{first.failure};
        if (first.kind == online::MusicBrainzReply::Found) {
            got.clear();
            for (const online::Release &release : first.releases)
                got.append(release.pickerLine());
            const cd::CddbDisc disc = online::discOfRelease(first.releases.first());
            QCOMPARE(disc.year, u"1999"_s);
            QCOMPARE(disc.genre, u"electronic"_s);
            QCOMPARE(disc.rows, (QStringList{u"Jóga"_s, u"Hunter"_s}));
        }
        QTEST(got, "lines");
        QCOMPARE(second.failure, first.failure);

        const QList<HttpServer::Request> requests = server.requests();
        const int retries = answers.first().status == 503 && answers.size() > 1 ? 1 : 0;
        QCOMPARE(requests.size(), 2 + retries);
        for (qsizetype i = 1; i < requests.size(); ++i) {
            const qint64 gap = requests.at(i).receivedMs - requests.at(i - 1).receivedMs;
            QVERIFY2(gap >= (i == 1 && retries ? 1980 : 980), QByteArray::number(gap));
        }
        QCOMPARE(requests.first().target,
                 "/ws/2/discid/ID?inc=artists+labels+recordings+genres&fmt=json");
        QCOMPARE(requests.first().userAgent, "Tarvex/" TARVEX_VERSION " ( moi@exemple.fr )");
    }

    void frontCover_data()
    {
        QTest::addColumn<HttpServer::Answer>("answer");
        QTest::addColumn<QString>("failure");
        const QByteArray jpeg = "\xFF\xD8\xFF\xE0" + QByteArray(500, 'j');
        QTest::newRow("cover") << HttpServer::Answer{200, jpeg} << QString();
        QTest::newRow("no cover") << HttpServer::Answer{404, "Not found"}
                                  << u"Pas de pochette pour cette édition"_s;
        QTest::newRow("over the size limit")
            << HttpServer::Answer{200, jpeg + QByteArray(600, 'x')}
            << u"Réponse de Cover Art Archive trop longue (plus de 1 Ko)"_s;
    }
    void frontCover()
    {
        QFETCH(HttpServer::Answer, answer);
        QFETCH(QString, failure);
        HttpServer server;
        QVERIFY(server.start());
        server.queue("/release/r%201/front-500", answer);
        cd::HttpFetch fetch;
        QString why;
        const QByteArray cover = online::fetchFrontCover(fetch, server.url(), u"r 1"_s, 1024, &why);
        QCOMPARE(why, failure);
        QCOMPARE(cover, failure.isEmpty() ? answer.body : QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestMusicBrainz)
#include "tst_musicbrainz.moc"
