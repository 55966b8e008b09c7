#include "mpeg/typetagmpeg.h"

#include "mpegstream.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace mpegstream;
using mpeg::TypeTagMpeg;

Q_DECLARE_METATYPE(FrameHeader)

class TestTypeTagMpeg : public QObject
{
    Q_OBJECT

private slots:
    void workedExamples();
    void headerFields_data();
    void headerFields();
    void xingPlace_data();
    void xingPlace();
    void xingHeader();
    void xingWithoutFrameCount();
    void shortXingFallsBackToConstantRate();
    void vbriHeader();
    void syncTest_data();
    void syncTest();
    void layersIIandIIIOnly();
    void falseSyncsInTagAreSkipped();
    void riffDataChunk_data();
    void riffDataChunk();
    void hostileInput_data();
    void hostileInput();
    void fileOfTwoGigabytesAndMore();
    void analyseMpegFillsItself();
};

static FrameHeader mpeg1Layer3At128()
{
    return FrameHeader(); // MPEG 1 Layer III, 128 kbit/s, 44100 Hz, stereo, no padding
}

void TestTypeTagMpeg::workedExamples()
{
    const QByteArray stream = streamOfSize(mpeg1Layer3At128(), 1000000);
    TypeTagMpeg r = mpeg::analyseMpeg(stream);
    QVERIFY(r.Valide());
    QCOMPARE(r.EntetePos(), 0);
    QCOMPARE(r.Taille(), 1000000);
    QCOMPARE(r.Frames(), 2398);
    QCOMPARE(r.Duree(), 62);
    QCOMPARE(r.BitRate(), 128);
    QCOMPARE(r.Frequence(), 44100);
    QCOMPARE(r.Vbr(), QString());

    // Behind a 4096-byte tag the duration leaves the tag out, the frame count does not.
    const QByteArray tag = id3v2Tag(3, {id3v2TextFrame(3, "TIT2", "Titre")}, 4096 - 26);
    QCOMPARE(tag.size(), 4096);
    r = mpeg::analyseMpeg(tag + stream);
    QVERIFY(r.Valide());
    QCOMPARE(r.EntetePos(), 4096);
    QCOMPARE(r.Taille(), 1004096);
    QCOMPARE(r.Duree(), 62);
    QCOMPARE(r.Frames(), 2407);
}

void TestTypeTagMpeg::headerFields_data()
{
    QTest::addColumn<FrameHeader>("header");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("layer");
    QTest::addColumn<int>("bitRate");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("modeExt");
    QTest::addColumn<QString>("emphasis");
    QTest::addColumn<bool>("crc");

    FrameHeader h;
    QTest::newRow("MPEG 1 Layer III stereo") << h << "1.0"
                                             << "III" << 128 << 44100 << "Stereo"
                                             << ""
                                             << "Aucun" << false;
    h = FrameHeader{2, 1, true, 8, 0, false, false, 1, 2};
    QTest::newRow("MPEG 2 Layer III joint MS") << h << "2.0"
                                               << "III" << 64 << 22050 << "Joint Stereo"
                                               << "Stereo : OFF - MS Stereo : ON"
                                               << "Aucun" << false;
    h = FrameHeader{2, 1, true, 8, 0, false, false, 1, 1};
    QTest::newRow("MPEG 2 Layer III joint intensity") << h << "2.0"
                                                      << "III" << 64 << 22050 << "Joint Stereo"
                                                      << "Stereo : ON - MS Stereo : OFF"
                                                      << "Aucun" << false;
    h = FrameHeader{0, 1, true, 1, 2, false, false, 3};
    QTest::newRow("MPEG 2.5 Layer III mono 8000 Hz") << h << "2.5"
                                                     << "III" << 8 << 8000 << "Mono"
                                                     << ""
                                                     << "Aucun" << false;
    h = FrameHeader{0, 1, true, 14, 1};
    QTest::newRow("MPEG 2.5 Layer III 12000 Hz") << h << "2.5"
                                                 << "III" << 160 << 12000 << "Stereo"
                                                 << ""
                                                 << "Aucun" << false;
    h = FrameHeader{3, 1, true, 14, 2, false, false, 1, 3};
    QTest::newRow("MPEG 1 Layer III 320k both stereo") << h << "1.0"
                                                       << "III" << 320 << 32000 << "Joint Stereo"
                                                       << "Stereo : ON - MS Stereo : ON"
                                                       << "Aucun" << false;
    h = FrameHeader{3, 2, true, 14, 1, false, false, 1, 3};
    QTest::newRow("MPEG 1 Layer II joint bands 16") << h << "1.0"
                                                    << "II" << 384 << 48000 << "Joint Stereo"
                                                    << "Bands 16 to 31"
                                                    << "Aucun" << false;
    h = FrameHeader{2, 2, false, 14, 2, false, false, 2};
    QTest::newRow("MPEG 2 Layer II dual channel with CRC") << h << "2.0"
                                                           << "II" << 160 << 16000 << "Double Cha"
                                                           << ""
                                                           << "Aucun" << true;
    h = FrameHeader{3, 3, false, 14, 2, false, false, 0, 0, false, false, 1};
    QTest::newRow("MPEG 1 Layer I 448k") << h << "1.0"
                                         << "I" << 448 << 32000 << "Stereo"
                                         << ""
                                         << "50/15 ms" << true;
    h = FrameHeader{2, 3, true, 14, 1, false, false, 1, 0, false, false, 2};
    QTest::newRow("MPEG 2 Layer I joint bands 4") << h << "2.0"
                                                  << "I" << 256 << 24000 << "Joint Stereo"
                                                  << "Bands 4 to 31"
                                                  << "Réservé" << false;
    h = FrameHeader{3, 2, true, 1, 0, false, false, 1, 1, false, false, 3};
    QTest::newRow("MPEG 1 Layer II bands 8, CCIT") << h << "1.0"
                                                   << "II" << 32 << 44100 << "Joint Stereo"
                                                   << "Bands 8 to 31"
                                                   << "CCIT J.17" << false;
}

void TestTypeTagMpeg::headerFields()
{
    QFETCH(FrameHeader, header);
    QFETCH(QString, version);
    QFETCH(QString, layer);
    QFETCH(int, bitRate);
    QFETCH(int, frequency);
    QFETCH(QString, mode);
    QFETCH(QString, modeExt);
    QFETCH(QString, emphasis);
    QFETCH(bool, crc);

    const TypeTagMpeg r = mpeg::analyseMpeg(frames(header, 20));
    QVERIFY(r.Valide());
    QCOMPARE(r.Mpeg(), version);
    QCOMPARE(r.Layer(), layer);
    QCOMPARE(r.BitRate(), bitRate);
    QCOMPARE(r.Frequence(), frequency);
    QCOMPARE(r.Mode(), mode);
    QCOMPARE(r.ModeExt(), modeExt);
    QCOMPARE(r.Emphasis(), emphasis);
    QCOMPARE(r.CRC(), crc);
    QVERIFY(!r.Padded() && !r.PrivateBit() && !r.Copyright() && !r.Original());

    FrameHeader flagged = header;
    flagged.padding = flagged.privateBit = flagged.copyright = flagged.original = true;
    const TypeTagMpeg f = mpeg::analyseMpeg(frames(flagged, 20));
    QVERIFY(f.Padded() && f.PrivateBit() && f.Copyright() && f.Original());
}

void TestTypeTagMpeg::xingPlace_data()
{
    QTest::addColumn<FrameHeader>("header");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("found");

    FrameHeader mono;
    mono.mode = 3;
    FrameHeader mpeg2;
    mpeg2.version = 2;
    mpeg2.bitRateIndex = 8;
    FrameHeader mpeg2mono = mpeg2;
    mpeg2mono.mode = 3;
    FrameHeader mpeg25 = mpeg2;
    mpeg25.version = 0;
    QTest::newRow("MPEG 1 stereo at 36") << FrameHeader() << 36 << true;
    QTest::newRow("MPEG 1 mono at 21") << mono << 21 << true;
    QTest::newRow("MPEG 2 stereo at 21") << mpeg2 << 21 << true;
    QTest::newRow("MPEG 2 mono at 13") << mpeg2mono << 13 << true;
    QTest::newRow("MPEG 2.5 stereo at 21") << mpeg25 << 21 << true;
    QTest::newRow("MPEG 1 stereo not at 21") << FrameHeader() << 21 << false;
    QTest::newRow("MPEG 2 stereo not at 36") << mpeg2 << 36 << false;
}

void TestTypeTagMpeg::xingPlace()
{
    QFETCH(FrameHeader, header);
    QFETCH(int, offset);
    QFETCH(bool, found);
    QByteArray first = frame(header);
    first.replace(offset, 16, QByteArray("Xing\0\0\0\x03\0\0\x13\x88\0\x2d\xc6\xc0", 16));
    const TypeTagMpeg r = mpeg::analyseMpeg(first + frames(header, 10));
    QVERIFY(r.Valide());
    QCOMPARE(r.Vbr(), found ? QStringLiteral("VBR") : QString());
    if (found)
        QCOMPARE(r.Frames(), 5000);
}

void TestTypeTagMpeg::xingHeader()
{
    for (const QByteArray &tag : {QByteArray("Xing"), QByteArray("xing"), QByteArray("XING")}) {
        XingFields fields{tag, 5000, 3000000};
        const TypeTagMpeg r =
            mpeg::analyseMpeg(xingFrame(FrameHeader(), fields) + frames(FrameHeader(), 50));
        QVERIFY2(r.Valide(), tag.constData());
        QCOMPARE(r.Vbr(), QStringLiteral("VBR"));
        QCOMPARE(r.Frames(), 5000);
        QCOMPARE(r.BitRate(), 184);
        QCOMPARE(r.Duree(), 130);
        QCOMPARE(r.Frequence(), 44100);
    }
    // Without a byte count the file size stands in for it: 417 × 60 bytes here.
    XingFields noBytes{"Xing", 5000, std::nullopt};
    const TypeTagMpeg r =
        mpeg::analyseMpeg(xingFrame(FrameHeader(), noBytes) + frames(FrameHeader(), 59));
    QCOMPARE(r.Taille(), 25020);
    QCOMPARE(r.BitRate(), 1); // 200.16 kbit over 130 s
    QCOMPARE(r.Duree(), 200);
}

void TestTypeTagMpeg::xingWithoutFrameCount()
{
    XingFields fields{"Xing", std::nullopt, 3000000};
    const TypeTagMpeg r =
        mpeg::analyseMpeg(xingFrame(FrameHeader(), fields) + frames(FrameHeader(), 9));
    QVERIFY(!r.Valide());
    QCOMPARE(r.Vbr(), QStringLiteral("VBR"));
    QCOMPARE(r.EntetePos(), 0);
    QCOMPARE(r.Mpeg(), QStringLiteral("1.0"));
    QCOMPARE(r.BitRate(), 128);
    QCOMPARE(r.Taille(), 4170);
    QCOMPARE(r.Frames(), 10);
}

void TestTypeTagMpeg::shortXingFallsBackToConstantRate()
{
    // 75 frames give 0 seconds: the Xing frame is rejected and the next header is analysed.
    XingFields fields{"Xing", 75, 30000};
    const TypeTagMpeg r =
        mpeg::analyseMpeg(xingFrame(FrameHeader(), fields) + frames(FrameHeader(), 9));
    QVERIFY(r.Valide());
    QCOMPARE(r.EntetePos(), 417);
    QCOMPARE(r.Vbr(), QString());
    QCOMPARE(r.BitRate(), 128);
    QCOMPARE(r.Frames(), 10);

    // No frames at all (a zero count, or a Xing tag at the very end) is no duration either.
    const QByteArray cut = xingFrame(FrameHeader(), {"Xing", 0, 0}).left(36 + 8);
    QVERIFY(!mpeg::analyseMpeg(cut).Valide());
}

void TestTypeTagMpeg::vbriHeader()
{
    FrameHeader h;
    const TypeTagMpeg r = mpeg::analyseMpeg(vbriFrame(h, 576, 3000576, 5000) + frames(h, 10));
    QVERIFY(r.Valide());
    QCOMPARE(r.Vbr(), QStringLiteral("VBRI"));
    QCOMPARE(r.Frames(), 5000);
    QCOMPARE(r.BitRate(), 184);
    QCOMPARE(r.Duree(), 130);

    // A VBRI header cut short reads its missing bytes as zero: no frames, candidate rejected,
    // and nothing follows it.
    QVERIFY(!mpeg::analyseMpeg(vbriFrame(h, 576, 3000576, 5000).left(48)).Valide());
}

void TestTypeTagMpeg::syncTest_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("layer");

    const QByteArray tail = frames(FrameHeader(), 4);
    QTest::newRow("FF 00 is never a candidate")
        << QByteArray("\xff\x00\x00\x00\x00", 5) + tail << true << qint64(5) << "III";
    // Version 3, layer 1: MPEG 1 Layer III with CRC, although three sync bits are clear.
    QTest::newRow("FF 1A is a candidate")
        << QByteArray("\xff\x1a\x90\x00", 4) + QByteArray(413, '\0') << true << qint64(0) << "III";
    QTest::newRow("reserved version is rejected")
        << QByteArray("\xff\xea\x90\x00", 4) + tail << true << qint64(4) << "III";
    QTest::newRow("reserved layer is rejected")
        << QByteArray("\xff\xf9\x90\x00", 4) + tail << true << qint64(4) << "III";
    QTest::newRow("free bit rate is rejected")
        << QByteArray("\xff\xfb\x00\x00", 4) + tail << true << qint64(4) << "III";
    QTest::newRow("reserved frequency is rejected")
        << QByteArray("\xff\xfb\x9c\x00", 4) + tail << true << qint64(4) << "III";
    QTest::newRow("nothing but false syncs")
        << QByteArray("\xff\xea\x90\x00\xff\x00\xff", 7) << false << qint64(0) << "";
}

void TestTypeTagMpeg::syncTest()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QFETCH(qint64, position);
    QFETCH(QString, layer);
    const TypeTagMpeg r = mpeg::analyseMpeg(bytes);
    QCOMPARE(r.Valide(), valid);
    QCOMPARE(r.EntetePos(), position);
    QCOMPARE(r.Layer(), layer);
}

void TestTypeTagMpeg::layersIIandIIIOnly()
{
    FrameHeader layer1;
    layer1.layer = 3;
    const QByteArray bytes = frames(layer1, 2) + frames(FrameHeader(), 5);
    QCOMPARE(mpeg::analyseMpeg(bytes).Layer(), QStringLiteral("I"));
    const TypeTagMpeg r = mpeg::analyseMpeg(bytes, true);
    QCOMPARE(r.Layer(), QStringLiteral("III"));
    QCOMPARE(r.EntetePos(), qint64(layer1.frameLength() * 2));
}

void TestTypeTagMpeg::falseSyncsInTagAreSkipped()
{
    for (int version : {2, 3, 4}) {
        const QByteArray tag =
            id3v2Tag(version, {id3v2PictureFrame(version, 20000)}, 0, version == 4);
        const TypeTagMpeg r = mpeg::analyseMpeg(tag + frames(FrameHeader(), 10));
        QVERIFY(r.Valide());
        QCOMPARE(r.EntetePos(), tag.size());
        QCOMPARE(r.BitRate(), 128);
    }
}

void TestTypeTagMpeg::riffDataChunk_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("position");

    const QByteArray audio = frames(FrameHeader(), 5);
    // A format chunk full of would-be syncs, then an odd-sized chunk and its pad byte.
    const QByteArray fmt = QByteArray("fmt \x10\0\0\0", 8) + QByteArray(16, char(0xFF));
    const QByteArray odd = QByteArray("LIST\x03\0\0\0abc\0", 12);
    const QByteArray head = QByteArray("RIFF\0\0\0\0WAVE", 12);
    QTest::newRow("data after fmt and an odd chunk")
        << head + fmt + odd + QByteArray("data\0\0\0\0", 8) + audio << true
        << qint64(12 + 24 + 12 + 8);
    QTest::newRow("upper-case DATA")
        << head + fmt + QByteArray("DATA\0\0\0\0", 8) + audio << true << qint64(12 + 24 + 8);
    QTest::newRow("no data chunk: the whole file is searched")
        << head + QByteArray("junk\x04\0\0\0", 8) + "abcd" + audio << true << qint64(24);
    QTest::newRow("chunk size past the end")
        << head + QByteArray("junk\xff\xff\xff\xff", 8) + QByteArray(1, char(0xFF)) + "\x01"
        << false << qint64(0);
    QTest::newRow("header only") << QByteArray("RIFF", 4) << false << qint64(0);
    QTest::newRow("chunks of size zero to the end")
        << head + QByteArray(4000, '\0') << false << qint64(0);
}

void TestTypeTagMpeg::riffDataChunk()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QFETCH(qint64, position);
    const TypeTagMpeg r = mpeg::analyseMpeg(bytes);
    QCOMPARE(r.Valide(), valid);
    QCOMPARE(r.EntetePos(), position);
}

void TestTypeTagMpeg::hostileInput_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray(1, char(0xFF));
    QTest::newRow("sync then end") << QByteArray("\xff\xfb", 2);
    // A million false syncs in a row: the search must not nest one call per candidate.
    QTest::newRow("a megabyte of FF") << QByteArray(1 << 20, char(0xFF));
    QTest::newRow("a megabyte of false syncs") << QByteArray("\xff\xea", 2).repeated(1 << 19);
    QTest::newRow("tag header only") << QByteArray("ID3\x03\0\0\0\0\0\0", 10);
    QTest::newRow("tag larger than the file")
        << QByteArray("ID3\x04\0\x10\x7f\x7f\x7f\x7f", 10) + frames(FrameHeader(), 3);
}

void TestTypeTagMpeg::hostileInput()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(mpeg::analyseMpeg(bytes), TypeTagMpeg());
}

void TestTypeTagMpeg::fileOfTwoGigabytesAndMore()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("grand.mp3"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(frames(FrameHeader(), 4)) > 0);
    // The rest is a hole: the analysis reads only the first frames.
    if (!file.resize(qint64(3) << 30))
        QSKIP("this file system cannot hold a 3 GiB sparse file");
    file.close();
    TypeTagMpeg r;
    r.AnalyseMpeg(file.fileName());
    QVERIFY(r.Valide());
    QCOMPARE(r.Taille(), Q_INT64_C(3221225472));
    QCOMPARE(r.Frames(), Q_INT64_C(7724761));
    QCOMPARE(r.Duree(), Q_INT64_C(201326));
}

void TestTypeTagMpeg::analyseMpegFillsItself()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    QVERIFY(writeFile(path, id3v2Tag(3, {}, 90) + frames(FrameHeader(), 10)));
    TypeTagMpeg r;
    const TypeTagMpeg returned = r.AnalyseMpeg(path);
    QCOMPARE(returned, r);
    QCOMPARE(r.EntetePos(), 100);
    QCOMPARE(r.AnalyseMpeg(dir.filePath("absent.mp3")), TypeTagMpeg());
    QCOMPARE(r, TypeTagMpeg());
    QCOMPARE(r.AnalyseMpeg(dir.path()), TypeTagMpeg());
}

QTEST_GUILESS_MAIN(TestTypeTagMpeg)
#include "tst_typetagmpeg.moc"
