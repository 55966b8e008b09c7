#include "cd/accuraterip.h"
#include "cd/accurateripdb.h"
#include "cd/cddevice.h"
#include "cd/httpfetch.h"
#include "cd/ripper.h"

#include "accuratereference.h"
#include "discimage.h"
#include "httpserver.h"
#include "mpegstream.h"

#include <QTemporaryDir>
#include <QTest>

using namespace cd;

namespace {

// A table of contents from the sector of each track start (lead-in included) and the lead-out.
CdToc tocOf(const QList<int> &lba, bool lastTrackIsData = false)
{
    CdToc toc{1, int(lba.size() - 1), {}, {}};
    if (lastTrackIsData)
        toc.dataTracks = {int(lba.size()) - 2};
    for (int at : lba)
        toc.starts.append({at / 4500, at / 75 % 60, at % 75});
    return toc;
}

// The published table of contents of "Liquid" (Recoil), its ten audio tracks.
const QList<int> liquid{150,    12767,  40487,  63225,  93410, 118115,
                        151865, 184340, 215260, 247455, 270335};

// An enhanced CD as a cue/bin image: three audio tracks, the gap of 11400 sectors between the
// sessions, then a MODE1 data track. The audio is a tone with noise, the gap loud bytes.
struct EnhancedImage
{
    QList<int> starts{0, 40, 75};
    int dataStart = 75 + 30 + 11400;
    int leadOut = dataStart + 200;
    QByteArray bin;

    bool write(const QString &folder)
    {
        bin = testsupport::tonePcm16(105 * 588, 2, 44100) +
              QByteArray((dataStart - 105) * 2352, 0x7f);
        for (int s = dataStart; s < leadOut; ++s)
            bin += QByteArray(2352, char(s));
        QByteArray cue = "FILE \"disc.bin\" BINARY\n";
        for (int k = 0; k <= starts.size(); ++k) {
            const int at = k < starts.size() ? starts.at(k) : dataStart;
            cue += QString::asprintf("  TRACK %02d %s\n    INDEX 01 %02d:%02d:%02d\n", k + 1,
                                     k < starts.size() ? "AUDIO" : "MODE1/2352", at / 4500,
                                     at / 75 % 60, at % 75)
                       .toUtf8();
        }
        return mpegstream::writeFile(folder + "/disc.bin", bin) &&
               mpegstream::writeFile(folder + "/disc.cue", cue);
    }
};

// The disc identifiers as the AccurateRip description gives them for an enhanced CD: the audio
// tracks are counted; id1 sums their starts and the disc's lead-out (after the data track), id2
// weighs each by its number; the FreeDB id is taken over every track, the data track included.
QString describedName(const QList<int> &audioStarts, int dataStart, int leadOut)
{
    const qsizetype n = audioStarts.size();
    quint32 id1 = leadOut, id2 = quint32(leadOut) * quint32(n + 1), digits = 0;
    for (qsizetype k = 0; k < n; ++k) {
        id1 += audioStarts.at(k);
        id2 += quint32(std::max(audioStarts.at(k), 1)) * quint32(k + 1);
    }
    for (int start : audioStarts + QList<int>{dataStart}) {
        for (int seconds = (start + 150) / 75; seconds > 0; seconds /= 10)
            digits += seconds % 10;
    }
    const quint32 seconds = (leadOut + 150) / 75 - (audioStarts.first() + 150) / 75;
    const quint32 freedb = (digits % 255) << 24 | seconds << 8 | quint32(n + 1);
    return QString::asprintf("dBAR-%03d-%08x-%08x-%08x", int(n), id1, id2, freedb);
}

} // namespace

class TestAccurateRip : public QObject
{
    Q_OBJECT

private slots:
    void checksums_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("last");
        QTest::addColumn<int>("piece"); // bytes per add(), to split frames across calls
        QTest::newRow("middle track") << 20000 << false << false << 63504;
        QTest::newRow("first track") << 20000 << true << false << 4001;
        QTest::newRow("last track") << 20000 << false << true << 7;
        QTest::newRow("only track shorter than the skipped ends") << 5000 << true << true << 2352;
    }

    void checksums()
    {
        QFETCH(int, frames);
        QFETCH(bool, first);
        QFETCH(bool, last);
        QFETCH(int, piece);
        const QByteArray pcm = testsupport::tonePcm16(frames, 2, 44100);
        TrackChecksums sums(frames, first, last);
        for (qsizetype at = 0; at < pcm.size(); at += piece)
            sums.add(pcm.constData() + at, std::min<qsizetype>(piece, pcm.size() - at));
        const auto expected = testsupport::referenceAccurateRip(pcm, first, last);
        QCOMPARE(hex8(sums.accurateRipV1()), hex8(expected.v1));
        QCOMPARE(hex8(sums.accurateRipV2()), hex8(expected.v2));

        // The CRC32 check value of the standard: "123456789" gives cbf43926.
        TrackChecksums text(2, false, false);
        text.add("123456789", 9);
        QCOMPARE(hex8(text.crc32()), QStringLiteral("cbf43926"));
    }

    void discIdOfPublishedToc_data()
    {
        QTest::addColumn<CdToc>("toc");
        QTest::addColumn<QString>("entry");
        QTest::newRow("ten audio tracks")
            << tocOf(liquid) << "f/2/c/dBAR-010-00154c2f-00af4fd4-890e120a.bin";
        // As a drive reads the enhanced CD: the data track after the audio session; the
        // identifiers are those its AccurateRip entry is filed under.
        QTest::newRow("ten audio tracks and the data track")
            << tocOf(liquid.first(10) + QList<int>{281735, 333801}, true)
            << "9/1/4/dBAR-010-00164419-00b9f6e2-9e11600b.bin";
    }

    void discIdOfPublishedToc()
    {
        QFETCH(CdToc, toc);
        const auto id = accurateRipDiscId(toc);
        QVERIFY(id);
        QTEST(id->entryPath(), "entry");
    }

    // On an enhanced CD the last audio track counts as the disc's last track and the data track
    // holds no audio. The audio stops where its session does: on a drive, which reports the data
    // session, 11400 sectors before the data track; an image has one session, and its last audio
    // track runs up to the data track.
    void enhancedCdLastAudioTrack()
    {
        QTemporaryDir dir;
        EnhancedImage image;
        QVERIFY(image.write(dir.path()));
        const QString cue = dir.filePath("disc.cue");
        const auto device = CdDevice::open(cue);
        QVERIFY(device);
        const auto toc = device->readToc();
        QVERIFY(toc);
        const auto id = accurateRipDiscId(*toc);
        QVERIFY(id);
        QCOMPARE(id->name(), describedName(image.starts, image.dataStart, image.leadOut));

        CdToc drive = *toc;
        drive.lastSessionStart = image.dataStart;
        QCOMPARE(drive.trackEnd(2), 105);
        QCOMPARE(drive.trackEnd(1), 75);

        const RipResult r = ripTrackToWav(cue, 2, dir.filePath("3.wav"), {}, {}, {true, 0});
        QVERIFY(r.ok());
        const QByteArray expected = image.bin.mid(75 * 2352, (image.dataStart - 75) * 2352);
        QCOMPARE(mpegstream::readFile(dir.filePath("3.wav")).mid(44), expected);
        const auto sums = testsupport::referenceAccurateRip(expected, false, true);
        QCOMPARE(hex8(r.accurateRipV1), hex8(sums.v1));
        QCOMPARE(hex8(r.accurateRipV2), hex8(sums.v2));
        QCOMPARE(ripTrackToWav(cue, 3, dir.filePath("4.wav")).status, RipStatus::BadTrackIndex);
    }

    void lookUp_data()
    {
        const AccurateRipDiscId id = *accurateRipDiscId(tocOf(liquid));
        AccurateRipDiscId other = id;
        other.id2 += 1;
        QList<std::pair<int, quint32>> tracks(10, {3, 0x11111111});
        QList<std::pair<int, quint32>> matching = tracks;
        matching[1] = {7, 0xabcdef01};
        QTest::addColumn<QByteArray>("entry"); // empty: no entry on the server
        QTest::addColumn<QString>("text");
        QTest::newRow("matching v2, second pressing")
            << testsupport::accurateRipPressing(id, tracks) +
                   testsupport::accurateRipPressing(id, matching)
            << "AccurateRip : exact (confiance 7)";
        QTest::newRow("different")
            << testsupport::accurateRipPressing(id, tracks) << "AccurateRip : différent";
        QTest::newRow("pressing of another disc")
            << testsupport::accurateRipPressing(other, matching) << "AccurateRip : disque inconnu";
        QTest::newRow("unknown") << QByteArray() << "AccurateRip : disque inconnu";
        QTest::newRow("malformed: cut inside a track")
            << testsupport::accurateRipPressing(id, matching).chopped(1)
            << "AccurateRip : non vérifié";
        QByteArray huge;
        while (huge.size() <= accurateRipMaxEntryBytes)
            huge += testsupport::accurateRipPressing(id, matching);
        QTest::newRow("too large") << huge << "AccurateRip : non vérifié";
    }

    void lookUp()
    {
        QFETCH(QByteArray, entry);
        const AccurateRipDiscId id = *accurateRipDiscId(tocOf(liquid));
        const QByteArray path = '/' + id.entryPath().toUtf8();
        testsupport::HttpServer server;
        QVERIFY(server.start());
        if (!entry.isEmpty())
            server.queue(path, {200, entry});
        HttpFetch fetch;
        const AccurateRipLookup lookup = lookUpAccurateRip(fetch, server.url() + u'/', id);
        QCOMPARE(server.requests().size(), 1);
        QCOMPARE(server.requests().first().target, path);
        QTEST(accurateRipText(lookup.verdict(id, 2, 0x12345678, 0xabcdef01)), "text");
    }
};

QTEST_GUILESS_MAIN(TestAccurateRip)
#include "tst_accuraterip.moc"
