#include "mpeg/fileinfo.h"

#include "mpegstream.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace mpegstream;
using mpeg::FileInfo;

Q_DECLARE_METATYPE(FrameHeader)

class TestFileInfo : public QObject
{
    Q_OBJECT

private slots:
    void workedExample();
    void headerTexts_data();
    void headerTexts();
    void durationRounding_data();
    void durationRounding();
    void xingHeader_data();
    void xingHeader();
    void id3v23Frames();
    void searchStartsAfterAnyTag_data();
    void searchStartsAfterAnyTag();
    void id3v1Block();
    void noFrameHeader();
    void missingFileLeavesRecord();
    void sizeText_data();
    void sizeText();
    void durationText_data();
    void durationText();
    void labelTexts();
    void fileOfThreeGigabytes();
};

static const QLocale French(QLocale::French, QLocale::France);

static FileInfo infoOf(const QByteArray &bytes, FileInfo info = FileInfo())
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    mpeg::readFileInfo(buffer, info, French);
    return info;
}

void TestFileInfo::workedExample()
{
    const FileInfo info = infoOf(streamOfSize(FrameHeader(), 5000000));
    QVERIFY(info.mpeg);
    QCOMPARE(info.headerPosition, 1);
    QCOMPARE(info.size, QStringLiteral("4,77Mo"));
    QCOMPARE(info.duration, QStringLiteral("05:12"));
    QCOMPARE(info.bitRate, 128);
    QCOMPARE(info.frequency, 44100);
    QCOMPARE(info.version, QStringLiteral("1.0"));
    QCOMPARE(info.layer, QStringLiteral("III"));
    QCOMPARE(info.crc, QStringLiteral("Non"));
    QCOMPARE(info.mode, QStringLiteral("Stereo"));
    QCOMPARE(info.modeExtension, QStringLiteral("Stereo : OFF - MS Stereo : OFF"));
    QCOMPARE(info.emphasis, QStringLiteral("Sans"));
    QCOMPARE(info.xing, QStringLiteral("Faux"));
    QCOMPARE(info.padding, QStringLiteral("Non"));
    QVERIFY(!info.id3v1 && !info.id3v2);
}

void TestFileInfo::headerTexts_data()
{
    QTest::addColumn<FrameHeader>("header");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("layer");
    QTest::addColumn<int>("bitRate");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("modeExt");
    QTest::addColumn<QString>("emphasis");
    QTest::addColumn<QString>("crc");

    QTest::newRow("bit-rate field 15 shows 999") << FrameHeader{3, 1, true, 15} << "1.0"
                                                 << "III" << 999 << 44100 << "Stereo"
                                                 << "Stereo : OFF - MS Stereo : OFF"
                                                 << "Sans"
                                                 << "Non";
    QTest::newRow("MPEG 2.5 at 11025 Hz")
        << FrameHeader{0, 1, true, 8, 0, false, false, 3, 3} << "2.5"
        << "III" << 64 << 11025 << "Mono"
        << "Stereo : ON - MS Stereo : ON"
        << "Sans"
        << "Non";
    QTest::newRow("MPEG 2 joint stereo MS")
        << FrameHeader{2, 1, false, 14, 1, false, false, 1, 2} << "2.0"
        << "III" << 160 << 24000 << "Joint St"
        << "Stereo : OFF - MS Stereo : ON"
        << "Sans"
        << "Oui";
    QTest::newRow("MPEG 1 Layer II dual channel")
        << FrameHeader{3, 2, true, 14, 1, false, false, 2, 0, false, false, 1} << "1.0"
        << "II" << 384 << 48000 << "Double Ch"
        << "Bandes 4 à 31"
        << "50/15 ms"
        << "Non";
    QTest::newRow("MPEG 1 Layer I bands 16")
        << FrameHeader{3, 3, true, 14, 2, false, false, 0, 3, false, false, 3} << "1.0"
        << "I" << 448 << 32000 << "Stereo"
        << "Bandes 16 à 31"
        << "CCITT j. 17"
        << "Non";
    QTest::newRow("MPEG 2 Layer I")
        << FrameHeader{2, 3, true, 14, 2, false, false, 1, 1, false, false, 2} << "2.0"
        << "I" << 256 << 16000 << "Joint St"
        << "Bandes 8 à 31"
        << "Réservé"
        << "Non";
    QTest::newRow("MPEG 2 Layer II") << FrameHeader{2, 2, true, 1, 0} << "2.0"
                                     << "II" << 8 << 22050 << "Stereo"
                                     << "Bandes 4 à 31"
                                     << "Sans"
                                     << "Non";
    QTest::newRow("reserved version") << FrameHeader{1, 1, true, 9} << "Réservé"
                                      << "III" << 999 << 0 << "Stereo"
                                      << "Stereo : OFF - MS Stereo : OFF"
                                      << "Sans"
                                      << "Non";
    QTest::newRow("reserved layer") << FrameHeader{3, 0, true, 9} << "1.0"
                                    << "Réservé" << 0 << 44100 << "Stereo"
                                    << "Erreur"
                                    << "Sans"
                                    << "Non";
    QTest::newRow("reserved frequency") << FrameHeader{3, 1, true, 9, 3} << "1.0"
                                        << "III" << 128 << 0 << "Stereo"
                                        << "Stereo : OFF - MS Stereo : OFF"
                                        << "Sans"
                                        << "Non";
}

void TestFileInfo::headerTexts()
{
    QFETCH(FrameHeader, header);
    QFETCH(QString, version);
    QFETCH(QString, layer);
    QFETCH(int, bitRate);
    QFETCH(int, frequency);
    QFETCH(QString, mode);
    QFETCH(QString, modeExt);
    QFETCH(QString, emphasis);
    QFETCH(QString, crc);

    // A header is never rejected: it is decoded at its first sync, followed by anything.
    const FileInfo info = infoOf(header.bytes() + QByteArray(2000, '\x55'));
    QVERIFY(info.mpeg);
    QCOMPARE(info.headerPosition, 1);
    QCOMPARE(info.version, version);
    QCOMPARE(info.layer, layer);
    QCOMPARE(info.bitRate, bitRate);
    QCOMPARE(info.frequency, frequency);
    QCOMPARE(info.mode, mode);
    QCOMPARE(info.modeExtension, modeExt);
    QCOMPARE(info.emphasis, emphasis);
    QCOMPARE(info.crc, crc);
    QCOMPARE(info.duration.isEmpty(), bitRate == 0);

    FrameHeader flagged = header;
    flagged.padding = flagged.privateBit = flagged.copyright = flagged.original = true;
    const FileInfo f = infoOf(flagged.bytes() + QByteArray(2000, '\x55'));
    for (const QString &flag : {f.padding, f.privateBit, f.copyright, f.original})
        QCOMPARE(flag, QStringLiteral("Oui"));
}

void TestFileInfo::durationRounding_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("duration");
    // At 128 kbit/s: whole kilobits after the header's first byte, over 128, halves to even.
    QTest::newRow("half rounds down to even 0") << 8001 << "00";
    QTest::newRow("one and a half rounds up to 2") << 24001 << "02";
    QTest::newRow("two and a half rounds down to 2") << 40001 << "02";
    QTest::newRow("three and a half rounds up to 4") << 56001 << "04";
    QTest::newRow("just over a half rounds up") << 8126 << "01";
    QTest::newRow("kilobits are truncated first") << 8125 << "00";
}

void TestFileInfo::durationRounding()
{
    QFETCH(int, size);
    QFETCH(QString, duration);
    QCOMPARE(infoOf(streamOfSize(FrameHeader(), size)).duration, duration);
}

void TestFileInfo::xingHeader_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<quint32>("frames");
    QTest::addColumn<QString>("xing");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<int>("bitRate");

    // 5 000 000 bytes: constant-rate figures 05:12 at 128 kbit/s.
    QTest::newRow("Xing, 5000 frames") << QByteArray("Xing") << 5000u << "Avec"
                                       << "02:10" << 307;
    QTest::newRow("only the low three bytes of the count")
        << QByteArray("Xing") << 0x01001388u << "Avec"
        << "02:10" << 307;
    QTest::newRow("XING in capitals is not seen") << QByteArray("XING") << 5000u << "Faux"
                                                  << "05:12" << 128;
    QTest::newRow("xing in lower case is not seen") << QByteArray("xing") << 5000u << "Faux"
                                                    << "05:12" << 128;
    QTest::newRow("75 frames keep the constant-rate figures") << QByteArray("Xing") << 75u << "Avec"
                                                              << "05:12" << 128;
    QTest::newRow("no frames keep the constant-rate figures") << QByteArray("Xing") << 0u << "Avec"
                                                              << "05:12" << 128;
    QTest::newRow("76 frames give one second") << QByteArray("Xing") << 76u << "Avec"
                                               << "01" << 39999;
}

void TestFileInfo::xingHeader()
{
    QFETCH(QByteArray, tag);
    QFETCH(quint32, frames);
    QFETCH(QString, xing);
    QFETCH(QString, duration);
    QFETCH(int, bitRate);
    QByteArray bytes = streamOfSize(FrameHeader(), 5000000);
    const QByteArray first = xingFrame(FrameHeader(), {tag, frames, 4000000});
    bytes.replace(0, first.size(), first);
    const FileInfo info = infoOf(bytes);
    QCOMPARE(info.xing, xing);
    QCOMPARE(info.duration, duration);
    QCOMPARE(info.bitRate, bitRate);
}

void TestFileInfo::id3v23Frames()
{
    const QList<QByteArray> frames3 = {
        id3v2TextFrame(3, "TIT2", "  Le Titre  "),
        id3v2TextFrame(3, "TPE1", QStringLiteral("Artiste\u00e9")),
        id3v2Frame(3, "COMM", QByteArray("\0fra\0desc\0Un commentaire", 24)),
        id3v2TextFrame(3, "TCON", "(17)Rock"),
        id3v2Frame(3, "TRCK",
                   QByteArray("\0"
                              "3\0/\x80",
                              5)),
        id3v2TextFrame(3, "TXXX", "ignored"),
        QByteArray(10, '\0'), // a zero header inside the frames is stepped over
        id3v2TextFrame(3, "TENC", "Encodeur"),
    };
    const QByteArray tag = id3v2Tag(3, frames3, 30);
    const FileInfo info = infoOf(tag + frames(FrameHeader(), 5));
    QVERIFY(info.id3v2);
    QCOMPARE(info.v2Texts[0], QStringLiteral("Le Titre"));
    QCOMPARE(info.v2Texts[1], QStringLiteral("Artiste\u00e9"));
    QCOMPARE(info.v2Texts[4], QStringLiteral("Un commentaire"));
    QCOMPARE(info.v2Texts[5], QStringLiteral("3/\u20ac"));
    QCOMPARE(info.v2Texts[6], QStringLiteral("Rock"));
    QCOMPARE(info.v2Texts[11], QStringLiteral("Encodeur"));
    QCOMPARE(info.v2Texts[2], QString());
    QCOMPARE(info.headerPosition, tag.size() + 1);

    // A frame larger than the tag is read only up to the tag's end.
    QByteArray big = id3v2Tag(3, {id3v2TextFrame(3, "TIT2", "Titre")});
    big[10 + 4] = char(0x7F);
    const FileInfo cut = infoOf(big + frames(FrameHeader(), 2));
    QCOMPARE(cut.v2Texts[0], QStringLiteral("Titre"));
    QCOMPARE(cut.headerPosition, big.size() + 1);
}

void TestFileInfo::searchStartsAfterAnyTag_data()
{
    QTest::addColumn<QByteArray>("tag");
    for (int version : {2, 3, 4}) {
        const QByteArray picture = id3v2PictureFrame(version, 30000);
        QTest::addRow("v2.%d with a picture", version) << id3v2Tag(version, {picture});
        // The last frame of the tag holds false syncs: they must not be taken for audio.
        QTest::addRow("v2.%d picture then padding", version)
            << id3v2Tag(version, {picture}, 64, version == 4);
    }
}

void TestFileInfo::searchStartsAfterAnyTag()
{
    QFETCH(QByteArray, tag);
    FrameHeader h;
    h.bitRateIndex = 5; // 64 kbit/s, unlike the false syncs of the picture
    const FileInfo info = infoOf(tag + frames(h, 5));
    QCOMPARE(info.headerPosition, tag.size() + 1);
    QCOMPARE(info.bitRate, 64);
}

void TestFileInfo::id3v1Block()
{
    QByteArray block = mpegstream::id3v1Block("Silence", "piman", "Album", "2004", "Comm", 2, 147);
    block[3 + 7] = char(0x80);
    FileInfo info = infoOf(frames(FrameHeader(), 3) + block);
    QVERIFY(info.id3v1);
    QCOMPARE(info.v1Title, QStringLiteral("Silence\u20ac") + QString(22, QChar(0)));
    QCOMPARE(info.v1Artist.left(5), QStringLiteral("piman"));
    QCOMPARE(info.v1Artist.size(), 30);
    QCOMPARE(info.v1Year, QStringLiteral("2004"));
    QCOMPARE(info.v1Comment.size(), 28);
    QCOMPARE(info.v1Track, 2);
    QCOMPARE(info.v1Genre, 147);

    block.replace(0, 3, "tAg");
    QVERIFY(infoOf(frames(FrameHeader(), 3) + block).id3v1);
    QVERIFY(!infoOf(block.mid(1)).id3v1);
}

void TestFileInfo::noFrameHeader()
{
    const QByteArray block = mpegstream::id3v1Block("T", "A", "B", "1999", "C", 1, 3);
    const FileInfo info = infoOf(QByteArray(500, '\x7f') + QByteArray("\xff\x00", 2) + block);
    QVERIFY(info.id3v1);
    QCOMPARE(info.v1Genre, 3);
    FileInfo expected;
    expected.id3v1 = true;
    expected.v1Title = info.v1Title;
    expected.v1Artist = info.v1Artist;
    expected.v1Album = info.v1Album;
    expected.v1Year = info.v1Year;
    expected.v1Comment = info.v1Comment;
    expected.v1Track = 1;
    expected.v1Genre = 3;
    QCOMPARE(info, expected);

    QCOMPARE(infoOf(QByteArray()), FileInfo());
    QCOMPARE(infoOf(QByteArray(1 << 20, char(0xFF))).headerPosition, 1);
}

void TestFileInfo::missingFileLeavesRecord()
{
    QTemporaryDir dir;
    FileInfo info;
    info.size = QStringLiteral("avant");
    mpeg::readFileInfo(dir.filePath("absent.mp3"), info, French);
    QCOMPARE(info.size, QStringLiteral("avant"));

    const QString path = dir.filePath("a.mp3");
    QVERIFY(writeFile(path, streamOfSize(FrameHeader(), 5000000)));
    mpeg::readFileInfo(path, info, French);
    QCOMPARE(info.size, QStringLiteral("4,77Mo"));
}

void TestFileInfo::sizeText_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");

    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("zero is empty") << qint64(0) << French << "";
    QTest::newRow("one byte") << qint64(1) << French << "1,00O";
    QTest::newRow("thousand bytes without a group separator")
        << qint64(1000) << French << "1000,00O";
    QTest::newRow("last bytes") << qint64(1023) << French << "1023,00O";
    QTest::newRow("one kilobyte") << qint64(1024) << French << "1,00Ko";
    QTest::newRow("five million") << qint64(5000000) << French << "4,77Mo";
    QTest::newRow("five million, English") << qint64(5000000) << english << "4.77Mo";
    QTest::newRow("rounds to two decimals") << qint64(1024 * 1024 - 1) << French << "1024,00Ko";
    QTest::newRow("three gigabytes") << qint64(3) * 1024 * 1024 * 1024 << French << "3,00Go";
    QTest::newRow("one terabyte stays in Go") << (qint64(1) << 40) << French << "1024,00Go";
}

void TestFileInfo::sizeText()
{
    QFETCH(qint64, bytes);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(mpeg::sizeText(bytes, locale), text);
}

void TestFileInfo::durationText_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "00";
    QTest::newRow("five seconds") << qint64(5) << "05";
    QTest::newRow("one minute") << qint64(60) << "01:00";
    QTest::newRow("three minutes five") << qint64(185) << "03:05";
    QTest::newRow("one hour") << qint64(3600) << "01:00:00";
    QTest::newRow("one hour five seconds") << qint64(3605) << "01:00:05";
    QTest::newRow("hundred hours") << qint64(360000 + 61) << "100:01:01";
}

void TestFileInfo::durationText()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(mpeg::durationText(seconds), text);
}

void TestFileInfo::labelTexts()
{
    const auto labels = mpeg::labelTexts(infoOf(streamOfSize(FrameHeader(), 5000000)));
    QCOMPARE(labels.size(), 15);
    QCOMPARE(labels.at(0),
             std::make_pair(QStringLiteral("Mpeg_Taille_Fichier"), QStringLiteral("4,77Mo")));
    QCOMPARE(labels.at(2),
             std::make_pair(QStringLiteral("Mpeg_BitRate"), QStringLiteral("128 Kbt")));
    QCOMPARE(labels.at(7),
             std::make_pair(QStringLiteral("Mpeg_Frequence"), QStringLiteral("44100 Hz")));
    QCOMPARE(labels.at(14), std::make_pair(QStringLiteral("Mpeg_VRB"), QStringLiteral("Faux")));
}

void TestFileInfo::fileOfThreeGigabytes()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("grand.mp3"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(frames(FrameHeader(), 4)) > 0);
    if (!file.resize(qint64(3) << 30))
        QSKIP("this file system cannot hold a 3 GiB sparse file");
    file.close();
    FileInfo info;
    mpeg::readFileInfo(file.fileName(), info, French);
    QCOMPARE(info.size, QStringLiteral("3,00Go"));
    QCOMPARE(info.duration, QStringLiteral("55:55:27"));
}

QTEST_GUILESS_MAIN(TestFileInfo)
#include "tst_fileinfo.moc"
