#include "mpeg/audiostart.h"

#include "mpegstream.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace mpegstream;

class TestAudioStart : public QObject
{
    Q_OBJECT

private slots:
    void audioStart_data();
    void audioStart();
    void missingFile();
};

static qint64 startOf(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return mpeg::audioStart(buffer);
}

void TestAudioStart::audioStart_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("start");

    const QByteArray audio = frames(FrameHeader(), 3);
    const QByteArray title3 = id3v2TextFrame(3, "TIT2", "Titre");
    QTest::newRow("no tag") << audio << qint64(0);
    QTest::newRow("empty file") << QByteArray() << qint64(0);
    QTest::newRow("v2.2") << id3v2Tag(2, {id3v2TextFrame(2, "TT2", "Titre")}) + audio
                          << qint64(10 + 6 + 6);
    QTest::newRow("v2.3 with padding")
        << id3v2Tag(3, {title3}, 100) + audio << qint64(10 + 16 + 100);
    QTest::newRow("v2.4 with footer")
        << id3v2Tag(4, {id3v2TextFrame(4, "TIT2", "Titre")}, 0, true) + audio
        << qint64(10 + 16 + 10);
    QTest::newRow("two tags in a row")
        << id3v2Tag(3, {title3}) + id3v2Tag(4, {}, 20) + audio << qint64(26 + 30);
    QTest::newRow("synchsafe size over 127")
        << id3v2Tag(3, {id3v2PictureFrame(3, 5000)}) + audio << qint64(10 + 10 + 1 + 11 + 2 + 5000);
    QTest::newRow("size past the end")
        << QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) << qint64(10);
    QTest::newRow("header cut short") << QByteArray("ID3\x03\x00\x00\x00", 7) << qint64(0);
    QTest::newRow("v2.5 is no tag")
        << QByteArray("ID3\x05\x00\x00\x00\x00\x00\x10", 10) + audio << qint64(0);
    QTest::newRow("size byte with high bit")
        << QByteArray("ID3\x03\x00\x00\x00\x00\x80\x10", 10) + audio << qint64(0);
    QTest::newRow("footer flag ignored in v2.3")
        << QByteArray("ID3\x03\x00\x10\x00\x00\x00\x04", 10) + "abcd" + audio << qint64(14);
}

void TestAudioStart::audioStart()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, start);
    QCOMPARE(startOf(bytes), start);
    QCOMPARE(mpeg::id3v2TagSize(bytes) != 0, start != 0);
}

void TestAudioStart::missingFile()
{
    QTemporaryDir dir;
    QCOMPARE(mpeg::audioStart(dir.filePath("absent.mp3")), qint64(0));
    const QString path = dir.filePath("tagged.mp3");
    QVERIFY(writeFile(path, id3v2Tag(3, {}, 40) + frames(FrameHeader(), 2)));
    QCOMPARE(mpeg::audioStart(path), qint64(50));
}

QTEST_GUILESS_MAIN(TestAudioStart)
#include "tst_audiostart.moc"
