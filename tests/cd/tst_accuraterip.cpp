#include "cd/accuraterip.h"
#include "cd/accurateripdb.h"
#include "cd/httpfetch.h"

#include "accuratereference.h"
#include "discimage.h"
#include "httpserver.h"

#include <QtEndian>
#include <QTest>

using namespace cd;

namespace {

// The published table of contents of "Liquid" (Recoil), its ten audio tracks.
CdToc liquidToc()
{
    CdToc toc;
    toc.firstTrack = 1;
    toc.lastTrack = 10;
    for (int lba :
         {150, 12767, 40487, 63225, 93410, 118115, 151865, 184340, 215260, 247455, 270335})
        toc.starts.append({lba / 4500, lba / 75 % 60, lba % 75});
    return toc;
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

    void discIdOfPublishedToc()
    {
        const auto id = accurateRipDiscId(liquidToc());
        QVERIFY(id);
        QCOMPARE(id->name(), QStringLiteral("dBAR-010-00154c2f-00af4fd4-890e120a"));
        QCOMPARE(id->entryPath(), QStringLiteral("f/2/c/dBAR-010-00154c2f-00af4fd4-890e120a.bin"));
    }

    void lookUp_data()
    {
        const AccurateRipDiscId id = *accurateRipDiscId(liquidToc());
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
        const AccurateRipDiscId id = *accurateRipDiscId(liquidToc());
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
