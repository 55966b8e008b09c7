#include "httpserver.h"
#include "mpegstream.h"
#include "peers.h"
#include "tonefiles.h"

#include "cd/httpfetch.h"
#include "online/fingerprint.h"
#include "online/identify.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;
using testsupport::HttpServer;

namespace {

// One file of a test folder: silent MPEG-1 frames of the given length, and the tags given.
struct FileSpec
{
    QString name; // "folder/file.mp3"
    int seconds;
    QString title, album;
    int track = 0, disc = 0;
};

// One track of a release answer.
struct TrackSpec
{
    QString title;
    int seconds;
    QString recording;
};

// A canned answer for the requests whose target starts with `prefix`.
struct Canned
{
    QByteArray prefix;
    HttpServer::Answer answer;
};

void writeFile(const QString &path, const FileSpec &spec)
{
    QList<QByteArray> frames;
    const auto text = [&](QByteArrayView id, const QString &value) {
        if (!value.isEmpty())
            frames.append(mpegstream::id3v2TextFrame(3, id, value));
    };
    text("TIT2", spec.title);
    text("TALB", spec.album);
    text("TPE1", spec.album.isEmpty() ? QString() : u"Artiste"_s);
    text("TRCK", spec.track ? QString::number(spec.track) : QString());
    text("TPOS", spec.disc ? QString::number(spec.disc) : QString());
    const int count = int(std::ceil(spec.seconds * 44100.0 / 1152));
    QVERIFY(mpegstream::writeFile(
        path, (frames.isEmpty() ? QByteArray() : mpegstream::id3v2Tag(3, frames, 64)) +
                  mpegstream::frames({}, count)));
}

// A release lookup answer shaped as the service documents it; each list is one medium.
QByteArray releaseJson(const QString &id, const QString &title,
                       const QList<QList<TrackSpec>> &media)
{
    QJsonArray mediaJson;
    for (qsizetype m = 0; m < media.size(); ++m) {
        QJsonArray tracks;
        for (qsizetype t = 0; t < media[m].size(); ++t) {
            const TrackSpec &track = media[m][t];
            tracks.append(
                QJsonObject{{u"id"_s, id + u"-t"_s + QString::number(t)},
                            {u"number"_s, QString::number(t + 1)},
                            {u"position"_s, int(t + 1)},
                            {u"title"_s, track.title},
                            {u"length"_s, track.seconds * 1000},
                            {u"recording"_s, QJsonObject{{u"id"_s, track.recording},
                                                         {u"title"_s, track.title},
                                                         {u"length"_s, track.seconds * 1000}}}});
        }
        mediaJson.append(QJsonObject{{u"position"_s, int(m + 1)},
                                     {u"format"_s, u"CD"_s},
                                     {u"track-count"_s, int(tracks.size())},
                                     {u"tracks"_s, tracks}});
    }
    const QJsonObject release{
        {u"id"_s, id},
        {u"title"_s, title},
        {u"status"_s, u"Official"_s},
        {u"date"_s, u"2001-05-14"_s},
        {u"country"_s, u"FR"_s},
        {u"artist-credit"_s,
         QJsonArray{QJsonObject{
             {u"name"_s, u"Artiste"_s},
             {u"joinphrase"_s, u""_s},
             {u"artist"_s, QJsonObject{{u"id"_s, u"artiste-1"_s}, {u"name"_s, u"Artiste"_s}}}}}},
        {u"label-info"_s,
         QJsonArray{QJsonObject{{u"catalog-number"_s, u"X1"_s},
                                {u"label"_s, QJsonObject{{u"name"_s, u"Étiquette"_s}}}}}},
        {u"release-group"_s,
         QJsonObject{
             {u"id"_s, u"groupe-"_s + id},
             {u"primary-type"_s, u"Album"_s},
             {u"genres"_s, QJsonArray{QJsonObject{{u"name"_s, u"rock"_s}, {u"count"_s, 3}}}}}},
        {u"media"_s, mediaJson}};
    return QJsonDocument(release).toJson(QJsonDocument::Compact);
}

QByteArray searchJson(const QStringList &ids)
{
    QJsonArray releases;
    for (const QString &id : ids)
        releases.append(QJsonObject{{u"id"_s, id}, {u"score"_s, 100}, {u"title"_s, u"x"_s}});
    return QJsonDocument(QJsonObject{{u"count"_s, int(ids.size())},
                                     {u"offset"_s, 0},
                                     {u"releases"_s, releases}})
        .toJson(QJsonDocument::Compact);
}

// An AcoustID lookup answer naming one recording on one release.
QByteArray acoustIdJson(const QString &recording, const QString &release)
{
    const QJsonObject rec{
        {u"id"_s, recording},
        {u"releasegroups"_s,
         QJsonArray{QJsonObject{{u"id"_s, u"g"_s},
                                {u"type"_s, u"Album"_s},
                                {u"releases"_s, QJsonArray{QJsonObject{{u"id"_s, release}}}}}}}};
    return QJsonDocument(QJsonObject{{u"status"_s, u"ok"_s},
                                     {u"results"_s,
                                      QJsonArray{QJsonObject{{u"id"_s, u"acoustid-"_s + recording},
                                                             {u"score"_s, 0.97},
                                                             {u"recordings"_s, QJsonArray{rec}}}}}})
        .toJson(QJsonDocument::Compact);
}

// The twelve tracks of the album most rows use: track k lasts 4 + k seconds.
QList<TrackSpec> twelve(const QString &prefix = u"Chanson"_s)
{
    QList<TrackSpec> tracks;
    for (int k = 1; k <= 12; ++k)
        tracks.append({prefix + u' ' + QString::number(k), 4 + k, u"rec-"_s + QString::number(k)});
    return tracks;
}

QList<FileSpec> filesOf(const QString &folder, const QList<TrackSpec> &tracks, const QString &album,
                        int disc = 0)
{
    QList<FileSpec> files;
    for (qsizetype k = 0; k < tracks.size(); ++k) {
        files.append({u"%1/%2%3-%4.mp3"_s.arg(folder, album, QString::number(disc))
                          .arg(k + 1, 2, 10, QChar(u'0')),
                      tracks[k].seconds, album.isEmpty() ? QString() : tracks[k].title, album,
                      album.isEmpty() ? 0 : int(k + 1), disc});
    }
    return files;
}

QByteArray searchPrefix(const QString &album)
{
    return "/ws/2/release?query=" + QUrl::toPercentEncoding(u"(release:\""_s + album + u'"');
}

QByteArray lookupPrefix(const QString &id)
{
    return "/ws/2/release/" + id.toUtf8() + '?';
}

QByteArray acoustIdPrefix(int seconds)
{
    return "/v2/lookup?client=cle&meta=recordings+releasegroups+releases&duration=" +
           QByteArray::number(seconds) + '&';
}

QString runPeer(const QStringList &arguments)
{
    QProcess peer;
    peer.start(u"/usr/bin/python3"_s, QStringList{QFINDTESTDATA("identifypeer.py")} + arguments);
    if (!peer.waitForFinished(60000) || peer.exitCode() != 0)
        return {};
    return QString::fromUtf8(peer.readAllStandardOutput()).trimmed();
}

// A melody of random notes with harmonics and a little noise, so that a fingerprint has
// something to hold on to.
bool writeMelodyWav(const QString &path, int rate, int channels, double seconds, quint32 variant)
{
    QRandomGenerator random(variant);
    const qint64 frames = qint64(rate * seconds);
    QByteArray pcm;
    pcm.reserve(frames * channels * 2);
    double noteStart = 0, noteLength = 0, frequency = 220;
    for (qint64 i = 0; i < frames; ++i) {
        const double x = double(i) / rate;
        if (x >= noteStart + noteLength) {
            noteStart = x;
            noteLength = 0.15 + 0.15 * random.bounded(4);
            frequency = 110 * std::pow(2.0, random.bounded(36) / 12.0);
        }
        const double envelope = std::exp(-3 * (x - noteStart));
        double v = envelope * (0.5 * std::sin(2 * M_PI * frequency * x) +
                               0.25 * std::sin(4 * M_PI * frequency * x) +
                               0.12 * std::sin(6 * M_PI * frequency * x));
        v += 0.03 * (random.generateDouble() - 0.5);
        const qint16 sample = qint16(std::clamp(v, -1.0, 1.0) * 20000);
        for (int c = 0; c < channels; ++c)
            pcm.append(reinterpret_cast<const char *>(&sample), 2);
    }
    QByteArray header = "RIFF";
    const auto u32 = [&](quint32 v) { header.append(reinterpret_cast<const char *>(&v), 4); };
    const auto u16 = [&](quint16 v) { header.append(reinterpret_cast<const char *>(&v), 2); };
    u32(quint32(36 + pcm.size()));
    header += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(quint16(channels));
    u32(quint32(rate));
    u32(quint32(rate * channels * 2));
    u16(quint16(channels * 2));
    u16(16);
    header += "data";
    u32(quint32(pcm.size()));
    return mpegstream::writeFile(path, header + pcm);
}

} // namespace

Q_DECLARE_METATYPE(QList<FileSpec>)
Q_DECLARE_METATYPE(QList<Canned>)

class TestIdentify : public QObject
{
    Q_OBJECT

private slots:
    void identify_data()
    {
        QTest::addColumn<QList<FileSpec>>("files");
        QTest::addColumn<QList<Canned>>("musicBrainz");
        QTest::addColumn<QList<Canned>>("acoustId");
        QTest::addColumn<int>("retryAt"); // the request that follows a 503, -1 when none
        // Per group: "<album>: <releases, best first> <best score> <files matched>/<files>",
        // then each failure after "! ".
        QTest::addColumn<QStringList>("summary");

        const QList<TrackSpec> album = twelve();
        const QByteArray r1 = releaseJson(u"r1"_s, u"Album A"_s, {album});
        // An album of eleven other songs, each ten seconds longer.
        QList<TrackSpec> other = twelve(u"Autre"_s).mid(0, 11);
        for (TrackSpec &track : other)
            track.seconds += 10;
        const QByteArray r2 = releaseJson(u"r2"_s, u"Album A (autre)"_s, {other});

        QTest::newRow("12-track album with tags")
            << filesOf(u"a"_s, album, u"Album A"_s)
            << QList<Canned>{{searchPrefix(u"Album A"_s), {200, searchJson({u"r2"_s, u"r1"_s})}},
                             {lookupPrefix(u"r1"_s), {200, r1}},
                             {lookupPrefix(u"r2"_s), {200, r2}}}
            << QList<Canned>{} << -1 << QStringList{u"Album A: r1,r2 100 12/12"_s};

        QList<Canned> prints;
        for (const TrackSpec &track : album)
            prints.append(
                {acoustIdPrefix(track.seconds), {200, acoustIdJson(track.recording, u"r1"_s)}});
        QTest::newRow("untagged files, by fingerprints")
            << filesOf(u"sans nom"_s, album, {})
            << QList<Canned>{{lookupPrefix(u"r1"_s), {200, r1}}} << prints << -1
            << QStringList{u"sans nom: r1 100 12/12 (empreintes)"_s};

        const QList<TrackSpec> first = album.mid(0, 5), second = twelve(u"Titre"_s).mid(5, 4);
        QTest::newRow("two albums in one folder")
            << filesOf(u"m"_s, first, u"Un"_s) + filesOf(u"m"_s, second, u"Deux"_s)
            << QList<Canned>{{searchPrefix(u"Un"_s), {200, searchJson({u"u"_s})}},
                             {searchPrefix(u"Deux"_s), {200, searchJson({u"d"_s})}},
                             {lookupPrefix(u"u"_s), {200, releaseJson(u"u"_s, u"Un"_s, {first})}},
                             {lookupPrefix(u"d"_s),
                              {200, releaseJson(u"d"_s, u"Deux"_s, {second})}}}
            << QList<Canned>{} << -1 << QStringList{u"Un: u 100 5/5"_s, u"Deux: d 100 4/4"_s};

        QList<TrackSpec> withBonus = album;
        withBonus.append({u"Bonus"_s, 30, {}});
        QTest::newRow("a bonus track the release lacks")
            << filesOf(u"b"_s, withBonus, u"Album A"_s)
            << QList<Canned>{{searchPrefix(u"Album A"_s), {200, searchJson({u"r1"_s})}},
                             {lookupPrefix(u"r1"_s), {200, r1}}}
            << QList<Canned>{} << -1 << QStringList{u"Album A: r1 92 12/13"_s};

        // Both discs hold tracks 1 to 3 with the lengths of the other disc's: only the disc
        // tells them apart.
        const QList<TrackSpec> disc1 = album.mid(0, 3);
        QList<TrackSpec> disc2 = album.mid(0, 3);
        for (TrackSpec &track : disc2)
            track.recording += u"-2"_s;
        QTest::newRow("two-disc release")
            << filesOf(u"c"_s, disc1, u"Double"_s, 1) + filesOf(u"c"_s, disc2, u"Double"_s, 2)
            << QList<Canned>{{searchPrefix(u"Double"_s), {200, searchJson({u"dd"_s})}},
                             {lookupPrefix(u"dd"_s),
                              {200, releaseJson(u"dd"_s, u"Double"_s, {disc1, disc2})}}}
            << QList<Canned>{} << -1 << QStringList{u"Double: dd 100 6/6"_s};

        QTest::newRow("no match")
            << filesOf(u"n"_s, album.mid(0, 2), u"Inconnu"_s)
            << QList<Canned>{{searchPrefix(u"Inconnu"_s), {200, searchJson({})}}}
            << QList<Canned>{{"/v2/lookup", {200, R"({"status": "ok", "results": []})"}}} << -1
            << QStringList{u"Inconnu:  0 0/2 (empreintes)"_s,
                           u"! Aucune édition trouvée pour « %1/n »"_s};

        QTest::newRow("malformed answers")
            << filesOf(u"x"_s, album.mid(0, 1), u"Album A"_s)
            << QList<Canned>{{searchPrefix(u"Album A"_s), {200, searchJson({u"r1"_s})}},
                             {lookupPrefix(u"r1"_s), {200, r1.chopped(40)}}}
            << QList<Canned>{{"/v2/lookup", {200, R"({"status": "ok", "results": 3})"}}} << -1
            << QStringList{u"Album A:  0 0/1 (empreintes)"_s,
                           u"! La réponse de MusicBrainz est illisible"_s,
                           u"! La réponse d'AcoustID est illisible"_s};

        QTest::newRow("503 with Retry-After, then the answer")
            << filesOf(u"r"_s, album.mid(0, 1), u"Album A"_s)
            << QList<Canned>{{searchPrefix(u"Album A"_s), {503, {}, "Retry-After: 2\r\n"}},
                             {searchPrefix(u"Album A"_s), {200, searchJson({u"r1"_s})}},
                             {lookupPrefix(u"r1"_s), {200, r1}}}
            << QList<Canned>{} << 1 << QStringList{u"Album A: r1 82 1/1"_s};

        QTest::newRow("503 with a long Retry-After, AcoustID busy too")
            << filesOf(u"o"_s, album.mid(0, 1), u"Album A"_s)
            << QList<Canned>{{searchPrefix(u"Album A"_s), {503, {}, "Retry-After: 120\r\n"}}}
            << QList<Canned>{{"/v2/lookup", {503, {}, "Retry-After: 60\r\n"}}} << -1
            << QStringList{u"Album A:  0 0/1 (empreintes)"_s,
                           u"! MusicBrainz est surchargé : réessayez dans 120 s"_s,
                           u"! AcoustID est surchargé : réessayez dans 60 s"_s};
    }
    void identify()
    {
        QFETCH(QList<FileSpec>, files);
        QFETCH(QList<Canned>, musicBrainz);
        QFETCH(QList<Canned>, acoustId);
        QFETCH(int, retryAt);
        QTemporaryDir dir;
        QStringList paths;
        for (const FileSpec &file : files) {
            const QString path = dir.filePath(file.name);
            QDir().mkpath(QFileInfo(path).absolutePath());
            writeFile(path, file);
            paths.append(path);
        }
        HttpServer mbServer, aidServer;
        QVERIFY(mbServer.start() && aidServer.start());
        for (const Canned &canned : musicBrainz)
            mbServer.queue(canned.prefix, canned.answer);
        for (const Canned &canned : acoustId)
            aidServer.queue(canned.prefix, canned.answer);

        online::IdentifySettings settings;
        settings.musicBrainzUrl = mbServer.url();
        settings.acoustIdUrl = aidServer.url();
        settings.acoustIdKey = u"cle"_s;
        settings.email = u"moi@exemple.fr"_s;
        settings.cachePath = dir.filePath(u"cache/empreintes.json"_s);
        cd::HttpFetch fetch;
        fetch.setTimeout(2500);
        const online::Identification result = online::identifyFiles(paths, settings, fetch);

        QStringList got;
        for (const online::AlbumIdentification &album : result.albums) {
            QStringList ids;
            for (const online::RankedRelease &ranked : album.releases)
                ids.append(ranked.release.id);
            const online::RankedRelease best =
                album.releases.value(0, online::RankedRelease{{}, 0, {}});
            got.append(u"%1: %2 %3 %4/%5%6"_s.arg(album.group.album, ids.join(u','))
                           .arg(best.score)
                           .arg(best.matches.size())
                           .arg(album.group.files.size())
                           .arg(album.fingerprinted ? u" (empreintes)"_s : QString()));
            for (const QString &failure : album.failures)
                got.append(u"! "_s + failure);
            // Each file goes to the track of its own number and disc.
            for (const online::TrackMatch &match : best.matches) {
                const online::IdentFile &file = result.files[match.file];
                const online::ReleaseTrack &track = best.release.tracks[match.track];
                if (file.track)
                    QCOMPARE(std::pair(file.disc ? file.disc : 1, file.track),
                             std::pair(track.disc, track.position));
            }
        }
        QFETCH(QStringList, summary);
        QStringList expected = summary;
        for (QString &line : expected)
            line.replace(u"%1"_s, dir.path());
        QCOMPARE(got, expected);

        // One request a second to MusicBrainz, at most three a second to AcoustID, the time a
        // Retry-After asks for after a 503, and the program named with its contact. The gaps
        // are measured where the requests arrive, which a loaded machine delays unevenly: they
        // may fall short of the client's by a few tens of milliseconds.
        const QByteArray agent = "Tarvex/" TARVEX_VERSION " ( moi@exemple.fr )";
        for (const auto &[server, gap] : {std::pair(&mbServer, 900), std::pair(&aidServer, 250)}) {
            const QList<HttpServer::Request> requests = server->requests();
            for (qsizetype i = 0; i < requests.size(); ++i) {
                QCOMPARE(requests[i].userAgent, agent);
                if (i == 0)
                    continue;
                const qint64 waited = requests[i].receivedMs - requests[i - 1].receivedMs;
                const int least = server == &mbServer && i == retryAt ? 1900 : gap;
                QVERIFY2(waited >= least, QByteArray::number(waited) + " ms");
            }
        }
        QCOMPARE(aidServer.requests().isEmpty(), acoustId.isEmpty());
    }

    // tarvex-cli empreinte gives what fpcalc gives, files of several rates, modes and lengths
    // (one past the two minutes fingerprinted); a second run decodes nothing.
    void fingerprints()
    {
        if (QStandardPaths::findExecutable(u"fpcalc"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"lame"_s).isEmpty() ||
            runPeer({u"compare"_s, u"AQAAAA"_s, u"AQAAAA"_s}).isEmpty())
            TARVEX_PEER_MISSING("fpcalc, lame ou python3-acoustid manque");
        struct Row
        {
            int rate, channels;
            double seconds;
            QStringList lame;
        };
        const Row rows[] = {{44100, 2, 30, {u"-b"_s, u"128"_s}},
                            {22050, 1, 20, {u"-b"_s, u"48"_s, u"-m"_s, u"m"_s}},
                            {48000, 2, 130, {u"-V"_s, u"4"_s, u"-m"_s, u"j"_s}},
                            {8000, 1, 15, {u"-b"_s, u"16"_s, u"-m"_s, u"m"_s}}};
        QTemporaryDir dir;
        QStringList paths;
        for (const Row &row : rows) {
            const QString base = dir.filePath(u"%1-%2"_s.arg(row.rate).arg(row.channels));
            QVERIFY(writeMelodyWav(base + u".wav"_s, row.rate, row.channels, row.seconds,
                                   quint32(row.rate)));
            QVERIFY(tonefiles::encodeMp3(base + u".wav"_s, base + u".mp3"_s, row.lame));
            paths.append(base + u".mp3"_s);
        }
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CACHE_HOME"_s, dir.filePath(u"cache"_s));
        cli.setProcessEnvironment(environment);
        cli.start(qEnvironmentVariable("TARVEX_CLI"), QStringList{u"empreinte"_s} + paths);
        QVERIFY(cli.waitForFinished(120000) && cli.exitCode() == 0);
        const QJsonArray ours = QJsonDocument::fromJson(cli.readAllStandardOutput()).array();
        QCOMPARE(ours.size(), paths.size());
        for (qsizetype i = 0; i < paths.size(); ++i) {
            QProcess fpcalc;
            fpcalc.start(u"fpcalc"_s, {u"-json"_s, paths[i]});
            QVERIFY(fpcalc.waitForFinished(60000));
            const QJsonObject peer =
                QJsonDocument::fromJson(fpcalc.readAllStandardOutput()).object();
            const QJsonObject mine = ours[i].toObject();
            QCOMPARE(mine.value(u"fichier"_s).toString(), paths[i]);
            QVERIFY2(std::abs(mine.value(u"duree"_s).toDouble() -
                              peer.value(u"duration"_s).toDouble()) < 1.5,
                     qPrintable(paths[i]));
            const QStringList compared =
                runPeer({u"compare"_s, mine.value(u"empreinte"_s).toString(),
                         peer.value(u"fingerprint"_s).toString()})
                    .split(u' ');
            QCOMPARE(compared.size(), 3);
            QVERIFY2(std::abs(compared[0].toInt() - compared[1].toInt()) <= 2,
                     qPrintable(compared.join(u' ')));
            QVERIFY2(compared[2].toDouble() >= 95, qPrintable(compared.join(u' ')));
        }

        // The cache: nothing decoded the second time, a file touched since decoded again.
        const QString cache = dir.filePath(u"cache/tarvex/empreintes.json"_s);
        int computed = -1;
        const QList<online::Fingerprint> cached = online::fingerprintFiles(paths, cache, &computed);
        QCOMPARE(computed, 0);
        QCOMPARE(cached[1].fingerprint, ours[1].toObject().value(u"empreinte"_s).toString());
        QFile touched(paths[0]);
        QVERIFY(touched.open(QIODevice::ReadWrite));
        QVERIFY(touched.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                    QFileDevice::FileModificationTime));
        touched.close();
        online::fingerprintFiles(paths, cache, &computed);
        QCOMPARE(computed, 1);
    }

    // --appliquer writes the best release's values and identifiers, and with --pochette its
    // front cover; every other frame of a tag another program wrote stays as it was, the genre
    // too (the same genre, spelled otherwise).
    void apply()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (int k = 1; k <= 2; ++k) {
            paths.append(dir.filePath(u"album/%1.mp3"_s.arg(k)));
            QDir().mkpath(dir.filePath(u"album"_s));
            writeFile(paths.last(), {{}, 4 + k, {}, {}});
            if (runPeer({u"write"_s, paths.last(), QString::number(k)}).isNull() ||
                runPeer({u"dump"_s, paths.last()}).isEmpty())
                TARVEX_PEER_MISSING("python3-mutagen manque");
        }
        const QJsonObject before =
            QJsonDocument::fromJson(runPeer({u"dump"_s, paths[1]}).toUtf8()).object();
        HttpServer server;
        QVERIFY(server.start());
        server.queue(searchPrefix(u"Album"_s), {200, searchJson({u"ap"_s})});
        server.queue(lookupPrefix(u"ap"_s),
                     {200, releaseJson(u"ap"_s, u"Bon album"_s, {twelve().mid(0, 2)})});
        server.queue("/release/ap/front-500", {200, "\xFF\xD8\xFF\xE0 recto"});
        QProcess cli;
        cli.start(qEnvironmentVariable("TARVEX_CLI"),
                  QStringList{u"identifier"_s, u"--serveur="_s + server.url(), u"--appliquer"_s,
                              u"--pochette"_s, u"--pochettes="_s + server.url()} +
                      paths);
        // The server answers from this thread's event loop.
        QTRY_VERIFY_WITH_TIMEOUT(cli.state() == QProcess::NotRunning, 60000);
        const QJsonObject out = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        QVERIFY2(out.value(u"ecrits"_s).toInt() == 2, cli.readAllStandardError().constData());

        QJsonObject after =
            QJsonDocument::fromJson(runPeer({u"dump"_s, paths[1]}).toUtf8()).object();
        const QString cover = after.take(u"APIC:"_s).toString();
        QVERIFY2(cover.contains(u"COVER_FRONT"_s) && cover.contains(u"image/jpeg"_s) &&
                     cover.contains(u" recto"_s),
                 qPrintable(cover));
        const QJsonObject changed{{u"TIT2"_s, u"Chanson 2"_s},
                                  {u"TPE1"_s, u"Artiste"_s},
                                  {u"TALB"_s, u"Bon album"_s},
                                  {u"TYER"_s, u"2001"_s},
                                  {u"TRCK"_s, u"2/2"_s},
                                  {u"TPE2"_s, u"Artiste"_s},
                                  {u"TPOS"_s, u"1/1"_s},
                                  {u"TXXX:MusicBrainz Album Id"_s, u"ap"_s},
                                  {u"TXXX:MusicBrainz Artist Id"_s, u"artiste-1"_s},
                                  {u"TXXX:MusicBrainz Release Group Id"_s, u"groupe-ap"_s},
                                  {u"UFID:http://musicbrainz.org"_s, u"rec-2"_s}};
        QJsonObject expected = before;
        expected.remove(u"APIC:"_s); // the file's own front cover gives way to the release's
        for (auto it = changed.begin(); it != changed.end(); ++it)
            expected.insert(it.key(), it.value());
        QCOMPARE(after, expected);
    }
};

QTEST_GUILESS_MAIN(TestIdentify)
#include "tst_identify.moc"
