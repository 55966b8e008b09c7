#include "cd/extractionjob.h"
#include "mpeg/audiostart.h"

#include "discimage.h"
#include "mpegstream.h"
#include "peers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

using namespace cd;
using mpegstream::readFile;
using mpegstream::writeFile;

namespace {

// The bytes of a front cover: players and the tools below take them as they are.
const QByteArray cover = QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000") +
                         QByteArray(300, 'c') + QByteArray::fromHex("ffd9");

// Standard output of a peer tool, or nothing when it failed.
std::optional<QByteArray> run(const QString &program, const QStringList &args)
{
    QProcess process;
    // metaflac writes "?" for what the locale cannot show.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C.UTF-8");
    process.setProcessEnvironment(environment);
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

// The files below folder, relative to it, sorted.
QStringList tree(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

ExtractionSettings discSettings(const testsupport::DiscImage &image, const QString &folder)
{
    ExtractionSettings s{image.cuePath(), folder, ArtistTitle, false, "Les Amis",
                         "Été",           "1999", "Rock",      18,    TagOption::V2};
    s.albumArtist = "Divers";
    s.discNumber = "1";
    s.musicBrainzAlbumId = "0f6c7ad0-1111-4a4a-9b9b-2222aaaa3333";
    s.isrc = {"", "FRZ039800212", ""};
    return s;
}

const QList<TrackRow> discRows = {
    {"Un", true}, {"Deux", true, "a1b2c3d4-0000-4000-8000-123456789abc"}, {"Trois", true}};

// The comments every FLAC file of the disc above holds, the ReplayGain aside.
QStringList expectedComments(int track)
{
    QStringList c{"TITLE=" + discRows.at(track - 1).text,
                  "ARTIST=Les Amis",
                  "ALBUM=Été",
                  "ALBUMARTIST=Divers",
                  "DATE=1999",
                  "GENRE=Rock",
                  QStringLiteral("TRACKNUMBER=%1").arg(track),
                  "TRACKTOTAL=3",
                  "DISCNUMBER=1"};
    if (track == 2)
        c << "ISRC=FRZ039800212";
    c << "MUSICBRAINZ_ALBUMID=0f6c7ad0-1111-4a4a-9b9b-2222aaaa3333";
    if (track == 2)
        c << "MUSICBRAINZ_TRACKID=a1b2c3d4-0000-4000-8000-123456789abc";
    return c;
}

} // namespace

class TestFlacRip : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::optional<testsupport::DiscImage> m_image;
    QList<TrackOutcome> m_flac, m_wav;

private slots:
    // One FLAC rip and one WAV rip of the same disc serve every check below.
    void initTestCase()
    {
        m_image.emplace(m_dir.path(), QStringLiteral("disc"), QList<int>{40, 300, 33});
        QVERIFY(writeFile(m_dir.filePath("cover.jpg"), cover));
        for (const auto &[kind, outcomes] :
             {std::pair{ExtractionJob::Flac, &m_flac}, {ExtractionJob::Wav, &m_wav}}) {
            ExtractionJob job;
            job.trackFinished = [list = outcomes](const TrackOutcome &o) { *list << o; };
            ExtractionSettings s = discSettings(*m_image, m_dir.filePath(QString::number(kind)));
            s.coverFile = m_dir.filePath("cover.jpg");
            QVERIFY(QDir().mkpath(s.folder));
            const auto summary = job.run(kind, s, discRows);
            QVERIFY(summary.failed == 0 && summary.gainFailures.isEmpty());
            QCOMPARE(outcomes->size(), 3);
        }
    }

    void flacRip_data()
    {
        QTest::addColumn<QString>("check");
        QTest::newRow("flac -t verifies every file") << "test";
        QTest::newRow("flac -d gives the disc's samples") << "decode";
        QTest::newRow("metaflac lists the comments and the front cover") << "metaflac";
        QTest::newRow("mutagen reads the comments and the front cover") << "mutagen";
        QTest::newRow("CRC32 and AccurateRip are the WAV rip's") << "sums";
    }

    // A FLAC rip holds the samples read, exactly, with the disc's comments, the ReplayGain and
    // the cover, as the reference tools and mutagen read them.
    void flacRip()
    {
        QFETCH(QString, check);
        const QString tool = check == "test" || check == "decode" ? "flac"
                             : check == "metaflac"                ? "metaflac"
                             : check == "mutagen"                 ? "/usr/bin/python3"
                                                                  : QString();
        if (!tool.isEmpty() && QStandardPaths::findExecutable(tool).isEmpty())
            TARVEX_PEER_MISSING("flac, metaflac or python3-mutagen is not installed");
        QString albumGain;
        for (int track = 1; track <= 3; ++track) {
            const TrackOutcome &o = m_flac.at(track - 1);
            QVERIFY2(o.mark == markOk && o.path.endsWith(".flac"), qPrintable(o.path));
            QStringList comments, pictures;
            if (check == "test") {
                QVERIFY2(run(tool, {"-t", "-s", o.path}), qPrintable(o.path));
            } else if (check == "decode") {
                const auto pcm = run(tool, {"-d", "-s", "-c", "--force-raw-format",
                                            "--endian=little", "--sign=signed", o.path});
                QVERIFY(pcm && *pcm == m_image->trackPcm(track - 1));
            } else if (check == "metaflac") {
                // The stream information, completed once the samples were encoded.
                const QByteArray pcm = m_image->trackPcm(track - 1);
                QCOMPARE(run(tool, {"--show-total-samples", "--show-md5sum", o.path}),
                         QByteArray::number(pcm.size() / 4) + '\n' +
                             QCryptographicHash::hash(pcm, QCryptographicHash::Md5).toHex() + '\n');
                const auto listed = run(tool, {"--list", o.path});
                QVERIFY(listed);
                for (const QString &line : QString::fromUtf8(*listed).split(u'\n')) {
                    const qsizetype at = line.indexOf("]: ");
                    if (line.trimmed().startsWith("comment[") && at > 0)
                        comments << line.mid(at + 3);
                    else if (line.startsWith("  type: 3") || line.startsWith("  MIME type") ||
                             line.startsWith("  data length"))
                        pictures << line.trimmed();
                }
            } else if (check == "mutagen") {
                const auto read = run(tool, {"-c",
                                             "import sys, mutagen.flac\n"
                                             "f = mutagen.flac.FLAC(sys.argv[1])\n"
                                             "for k, v in f.tags: print('%s=%s' % (k, v))\n"
                                             "for p in f.pictures:\n"
                                             "    print('picture', p.type, p.mime, len(p.data))",
                                             o.path});
                QVERIFY(read);
                comments = QString::fromUtf8(*read).split(u'\n', Qt::SkipEmptyParts);
                pictures = comments.filter(QRegularExpression("^picture "));
                comments.removeIf([](const QString &c) { return c.startsWith("picture "); });
            } else {
                const RipResult &flac = o.result, &wav = m_wav.at(track - 1).result;
                QVERIFY(flac.crc32 != 0 && flac.accurateRipV1 != 0);
                QCOMPARE(flac.crc32, wav.crc32);
                QCOMPARE(flac.accurateRipV1, wav.accurateRipV1);
                QCOMPARE(flac.accurateRipV2, wav.accurateRipV2);
            }
            if (check != "metaflac" && check != "mutagen")
                continue;
            // The ReplayGain comes last, written once the disc's value is known.
            const QStringList gains = comments.filter(QRegularExpression("^REPLAYGAIN_"));
            QCOMPARE(comments.mid(0, comments.size() - gains.size()), expectedComments(track));
            QCOMPARE(gains.size(), 4);
            QVERIFY2(gains.at(0).startsWith("REPLAYGAIN_TRACK_GAIN=") &&
                         gains.at(2).startsWith("REPLAYGAIN_ALBUM_GAIN=") &&
                         gains.at(0).endsWith(" dB"),
                     qPrintable(gains.join(", ")));
            QVERIFY(albumGain.isEmpty() || albumGain == gains.at(2));
            albumGain = gains.at(2);
            const QStringList picture =
                check == "mutagen"
                    ? QStringList{QStringLiteral("picture 3 image/jpeg %1").arg(cover.size())}
                    : QStringList{"type: 3 (Cover (front))", "MIME type: image/jpeg",
                                  QStringLiteral("data length: %1").arg(cover.size())};
            QCOMPARE(pictures, picture);
        }
    }

    void severalFormats_data()
    {
        QTest::addColumn<bool>("wav");
        QTest::addColumn<QList<int>>("sectors");
        QTest::addColumn<QStringList>("files");
        const QStringList flac{"FLAC/Les Amis/Été/Les Amis - Deux.flac",
                               "FLAC/Les Amis/Été/Les Amis - Trois.flac",
                               "FLAC/Les Amis/Été/Les Amis - Un.flac"};
        const QStringList mp3{"MP3/Les Amis - Deux.mp3", "MP3/Les Amis - Trois.mp3",
                              "MP3/Les Amis - Un.mp3"};
        QTest::newRow("FLAC and MP3") << false << QList<int>{40, 300, 33} << flac + mp3;
        // Longer than a writer's queue: the reader takes turns between two tracks.
        QTest::newRow("FLAC, MP3 and WAV, long tracks read in turns")
            << true << QList<int>{4000, 3000, 40}
            << QStringList{"Deux.wav", "Trois.wav", "Un.wav"} + flac + mp3;
    }

    // Several formats come from one reading of each sector, each into the folder its pattern
    // gives (the folder itself without one); the MP3 files are those of an MP3 rip alone, and
    // their audio that of lame given each track whole.
    void severalFormats()
    {
        QFETCH(bool, wav);
        QFETCH(QList<int>, sectors);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        const testsupport::DiscImage image(dir.path(), QStringLiteral("disque"), sectors);
        ExtractionSettings s = discSettings(image, dir.filePath("tout"));
        QVERIFY(QDir().mkpath(s.folder) && QDir().mkpath(dir.filePath("mp3")));
        s.folderPatterns = {{AudioFormat::Flac, "FLAC/%artiste%/%album%"},
                            {AudioFormat::Mp3, "MP3"}};
        ExtractionJob job;
        qint64 read = 0;
        job.options.samplesRead = [&read](const char *, int bytes) { read += bytes; };
        QList<ExtractionJob::Kind> kinds{ExtractionJob::Flac, ExtractionJob::Mp3};
        if (wav)
            kinds << ExtractionJob::Wav;
        QVERIFY(job.run(kinds, s, discRows).failed == 0);
        QCOMPARE(read, qint64(std::accumulate(sectors.cbegin(), sectors.cend(), 0)) * 2352);
        files.sort();
        QCOMPARE(tree(s.folder), files);

        ExtractionJob alone;
        s.folder = dir.filePath("mp3");
        s.folderPatterns.clear();
        QVERIFY(alone.run(ExtractionJob::Mp3, s, discRows).failed == 0);
        for (const QString &name : tree(s.folder))
            QVERIFY2(readFile(dir.filePath("mp3/" + name)) ==
                         readFile(dir.filePath("tout/MP3/" + name)),
                     qPrintable(name));
        // Encoded while read, the audio is that of lame given the whole track at once.
        if (QStandardPaths::findExecutable("lame").isEmpty())
            TARVEX_PEER_MISSING("lame is not installed");
        for (int track = 1; track <= 3; ++track) {
            const QString raw = dir.filePath("piste.raw"), peer = dir.filePath("lame.mp3");
            QVERIFY(writeFile(raw, image.trackPcm(track - 1)));
            QVERIFY(run("lame", {"--quiet", "-r", "-s", "44.1", "--bitwidth", "16", "--signed",
                                 "--little-endian", "-b", "128", "--cbr", "-m", "s", "-t",
                                 "--nores", raw, peer}));
            const QString ripped =
                dir.filePath("tout/MP3/Les Amis - " + discRows.at(track - 1).text + ".mp3");
            QVERIFY2(readFile(ripped).mid(mpeg::audioStart(ripped)) == readFile(peer),
                     qPrintable(ripped));
        }
    }

    void playlist_data()
    {
        QTest::addColumn<QString>("existing"); // the playlist's earlier text, if any
        QTest::addColumn<ReplaceAnswer>("answer");
        QTest::addColumn<bool>("written");
        QTest::newRow("new") << "" << ReplaceAnswer::Skip << true;
        QTest::newRow("an existing one is kept") << "#EXTM3U\nancienne.flac\n"
                                                 << ReplaceAnswer::Skip << false;
        QTest::newRow("an existing one replaced when asked") << "#EXTM3U\nancienne.flac\n"
                                                             << ReplaceAnswer::Replace << true;
    }

    // Each format's folder gets a playlist of the tracks ripped, by their paths from there; an
    // existing one is replaced only on the user's word.
    void playlist()
    {
        QFETCH(QString, existing);
        QFETCH(ReplaceAnswer, answer);
        QFETCH(bool, written);
        QTemporaryDir dir;
        ExtractionSettings s = discSettings(*m_image, dir.path());
        s.folderPatterns = {{AudioFormat::Flac, "FLAC/%album%"}};
        const QString path = dir.filePath("FLAC/Été/Été.m3u8");
        QVERIFY(existing.isEmpty() ||
                (QDir().mkpath(dir.filePath("FLAC/Été")) && writeFile(path, existing.toUtf8())));
        ExtractionJob job;
        job.playlists = true;
        QStringList asked;
        job.askReplace = [&](const QString &p) {
            asked << p;
            return answer;
        };
        const auto summary = job.run({ExtractionJob::Flac, ExtractionJob::Wav}, s,
                                     {{"Un", false}, {"Deux", true}, {"Trois", true}});
        QVERIFY(summary.playlistFailures.isEmpty());
        QCOMPARE(asked, existing.isEmpty() ? QStringList() : QStringList{path});
        QCOMPARE(readFile(path), written ? QByteArray("#EXTM3U\n"
                                                      "#EXTINF:4,Les Amis - Deux\n"
                                                      "Les Amis - Deux.flac\n"
                                                      "#EXTINF:0,Les Amis - Trois\n"
                                                      "Les Amis - Trois.flac\n")
                                         : existing.toUtf8());
        QCOMPARE(readFile(dir.filePath("Été.m3u8")), QByteArray("#EXTM3U\n"
                                                                "#EXTINF:4,Les Amis - Deux\n"
                                                                "Deux.wav\n"
                                                                "#EXTINF:0,Les Amis - Trois\n"
                                                                "Trois.wav\n"));
    }

    // Formats ripped into one folder each get their playlist, named after the format.
    void playlistsSharingAFolder()
    {
        QTemporaryDir dir;
        ExtractionSettings s = discSettings(*m_image, dir.path());
        ExtractionJob job;
        job.playlists = true;
        QVERIFY(job.run({ExtractionJob::Flac, ExtractionJob::Wav}, s, {{"Un", true}})
                    .playlistFailures.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList({"*.m3u8"}).join(u'|'),
                 "Été (FLAC).m3u8|Été (WAV).m3u8");
        QVERIFY(readFile(dir.filePath("Été (FLAC).m3u8")).endsWith("\nLes Amis - Un.flac\n"));
        QVERIFY(readFile(dir.filePath("Été (WAV).m3u8")).endsWith("\nUn.wav\n"));
    }
};

QTEST_GUILESS_MAIN(TestFlacRip)
#include "tst_flacrip.moc"
