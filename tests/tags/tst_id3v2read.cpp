#include "tags/id3v2reader.h"

#include "tagtestutil.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace tagtest;

namespace {

QByteArray latin(const QByteArray &text)
{
    return '\0' + text;
}

} // namespace

class TestId3v2Read : public QObject
{
    Q_OBJECT
private slots:
    void field_data();
    void field();
    void notATag_data();
    void notATag();
    void picture();
    void pictureOfVersion22();
    void hostileSizes_data();
    void hostileSizes();
    void readsOnlyTheTag();
    void fileFailures();
};

void TestId3v2Read::field_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    QTest::newRow("latin title") << tag(3, frame(3, "TIT2", latin("Titre"))) << "Titre"
                                 << "Titre";
    QTest::newRow("windows-1252 euro in encoding 0")
        << tag(3, frame(3, "TIT2", latin("5 \x80"))) << "Titre"
        << "5 €";
    QTest::newRow("trailing nul keeps the title")
        << tag(3, frame(3, "TIT2", latin(QByteArray("Titre\0", 6)))) << "Titre"
        << "Titre";
    QTest::newRow("bytes after the terminator ignored")
        << tag(3, frame(3, "TIT2", latin(QByteArray("ab\0cd", 5)))) << "Titre"
        << "ab";
    QTest::newRow("utf-16 with bom") << tag(3, frame(3, "TIT2", '\x01' + utf16le("Ti"))) << "Titre"
                                     << "Ti";
    QTest::newRow("utf-16 with terminator")
        << tag(3, frame(3, "TIT2", '\x01' + utf16le("Bach") + QByteArray(2, '\0'))) << "Titre"
        << "Bach";
    QTest::newRow("utf-16 big-endian bom")
        << tag(3, frame(3, "TIT2", QByteArray("\x01\xFE\xFF", 3) + utf16be("Été"))) << "Titre"
        << "Été";
    QTest::newRow("utf-16 outside windows-1252")
        << tag(3, frame(3, "TPE1", '\x01' + utf16le("Чайковский"))) << "Artiste"
        << "Чайковский";
    QTest::newRow("utf-16 nul byte inside a character")
        << tag(3, frame(3, "TIT2", '\x01' + utf16le("\u0100A"))) << "Titre"
        << "\u0100A";
    QTest::newRow("v2.4 utf-8") << tag(4, frame(4, "TIT2", "\x03" + QString("Élan 日本").toUtf8()))
                                << "Titre"
                                << "Élan 日本";
    QTest::newRow("v2.4 utf-16be") << tag(4, frame(4, "TALB", '\x02' + utf16be("Öl"))) << "Album"
                                   << "Öl";
    QTest::newRow("v2.4 second value ignored")
        << tag(4, frame(4, "TPE1", latin(QByteArray("Un\0Deux", 7)))) << "Artiste"
        << "Un";
    QTest::newRow("control characters filtered")
        << tag(3, frame(3, "TIT2", latin("a\tb"))) << "Titre"
        << "ab";
    QTest::newRow("comment without description")
        << tag(3, frame(3, "COMM", latin(QByteArray("eng\0Bonjour", 11)))) << "Commentaire"
        << "Bonjour";
    QTest::newRow("comment with description")
        << tag(3, frame(3, "COMM", latin(QByteArray("fradesc\0Salut", 13)))) << "Commentaire"
        << "Salut";
    QTest::newRow("comment utf-16")
        << tag(3, frame(3, "COMM",
                        "\x01"
                        "eng" +
                            utf16le("d") + QByteArray(2, '\0') + utf16le("Crème")))
        << "Commentaire"
        << "Crème";
    QTest::newRow("comment without description wins")
        << tag(3, frame(3, "COMM", latin(QByteArray("eng\0Vrai", 8))) +
                      frame(3, "COMM", latin(QByteArray("engiTunNORM\0 000", 16))))
        << "Commentaire"
        << "Vrai";
    QTest::newRow("url after its description")
        << tag(3, frame(3, "WXXX", latin(QByteArray("site\0http://a.fr", 16)))) << "Url"
        << "http://a.fr";
    QTest::newRow("url with utf-16 description")
        << tag(3, frame(3, "WXXX", '\x01' + utf16le("d") + QByteArray(2, '\0') + "http://b.fr"))
        << "Url"
        << "http://b.fr";
    QTest::newRow("year cut to six") << tag(3, frame(3, "TYER", latin("2004-05-06"))) << "Annee"
                                     << "2004-0";
    QTest::newRow("v2.4 recording date") << tag(4, frame(4, "TDRC", latin("2004-05-06"))) << "Annee"
                                         << "2004";
    QTest::newRow("track trimmed") << tag(3, frame(3, "TRCK", latin(" 7/12 "))) << "Piste"
                                   << "7/12";
    QTest::newRow("composer") << tag(3, frame(3, "TCOM", latin("Ravel"))) << "Compositeur"
                              << "Ravel";
    QTest::newRow("original artist") << tag(3, frame(3, "TOPE", latin("Orig"))) << "Original"
                                     << "Orig";
    QTest::newRow("copyright") << tag(3, frame(3, "TCOP", latin("(c) X"))) << "Copyright"
                               << "(c) X";
    QTest::newRow("encoder") << tag(3, frame(3, "TENC", latin("LAME"))) << "Encode"
                             << "LAME";
    QTest::newRow("first of two frames wins")
        << tag(3, frame(3, "TIT2", latin("A")) + frame(3, "TIT2", latin("B"))) << "Titre"
        << "A";
    QTest::newRow("year of the first date frame")
        << tag(3, frame(3, "TDRC", latin("2010-01")) + frame(3, "TYER", latin("1999"))) << "Annee"
        << "2010";
    QTest::newRow("unknown frame skipped by its size")
        << tag(3, frame(3, "TXXX", latin("x")) + frame(3, "TIT2", latin("Apres"))) << "Titre"
        << "Apres";
    QTest::newRow("lower-case header letters")
        << QByteArray("id3") + tag(3, frame(3, "TIT2", latin("bas"))).mid(3) << "Titre"
        << "bas";
    QTest::newRow("padding ends the walk")
        << tag(3,
               frame(3, "TIT2", latin("T")) + QByteArray(20, '\0') + frame(3, "TPE1", latin("X")))
        << "Artiste"
        << "";
    QTest::newRow("v2.2 title") << tag(2, frame(2, "TT2", latin("Deux"))) << "Titre"
                                << "Deux";
    QTest::newRow("v2.2 comment") << tag(2, frame(2, "COM", latin(QByteArray("eng\0c22", 7))))
                                  << "Commentaire"
                                  << "c22";
    QTest::newRow("v2.3 extended header")
        << tag(3, bigEndian(6, 4) + QByteArray(6, '\0') + frame(3, "TIT2", latin("Druids")), 0x40)
        << "Titre"
        << "Druids";
    QTest::newRow("v2.4 extended header")
        << tag(4, synchsafe(6) + QByteArray("\x01\x00", 2) + frame(4, "TIT2", latin("Ext")), 0x40)
        << "Titre"
        << "Ext";
    QTest::newRow("v2.3 unsynchronised tag")
        << tag(3, frame(3, "TIT2", QByteArray("\0\xFF\0\xE9t\xFF\0", 7)), 0x80) << "Titre"
        << "ét";
    QTest::newRow("v2.4 unsynchronised frame with data length")
        << tag(4, frame(4, "TIT2", bigEndian(3, 4) + QByteArray("\0\xFF\0\xE9", 4), 0x0003))
        << "Titre"
        << "é";
    QTest::newRow("v2.3 compressed frame skipped")
        << tag(3, frame(3, "TIT2", bigEndian(10, 4) + "xyz", 0x0080)) << "Titre"
        << "";
    QTest::newRow("v2.4 plain frame sizes")
        << tag(4, "TIT2" + bigEndian(200, 4) + QByteArray(2, '\0') + latin(QByteArray(199, 'a')) +
                      frame(4, "TPE1", latin("Art")))
        << "Artiste"
        << "Art";
    QTest::newRow("genre number") << tag(3, frame(3, "TCON", latin("(17)"))) << "Genre"
                                  << "17";
    QTest::newRow("genre number and name") << tag(3, frame(3, "TCON", latin("(17)Rock"))) << "Genre"
                                           << "17";
    QTest::newRow("genre name") << tag(3, frame(3, "TCON", latin("Rock"))) << "Genre"
                                << "17";
    QTest::newRow("v2.4 bare genre number") << tag(4, frame(4, "TCON", latin("9"))) << "Genre"
                                            << "9";
    QTest::newRow("no genre frame") << tag(3, frame(3, "TIT2", latin("x"))) << "Genre"
                                    << "255";
    QTest::newRow("unknown genre name") << tag(3, frame(3, "TCON", latin("Zouk"))) << "Genre"
                                        << "255";
}

static QString fieldOf(const tags::TypeTagV2 &t, const QString &field)
{
    if (field == "Titre")
        return t.Titre();
    if (field == "Artiste")
        return t.Artiste();
    if (field == "Album")
        return t.Album();
    if (field == "Annee")
        return t.Annee();
    if (field == "Piste")
        return t.Piste();
    if (field == "Commentaire")
        return t.Commentaire();
    if (field == "Compositeur")
        return t.Compositeur();
    if (field == "Original")
        return t.Original();
    if (field == "Copyright")
        return t.Copyright();
    if (field == "Url")
        return t.Url();
    if (field == "Encode")
        return t.Encode();
    if (field == "Genre")
        return QString::number(t.Genre());
    return QStringLiteral("?");
}

void TestId3v2Read::field()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    const tags::TypeTagV2 t = tags::parseId3v2(bytes + mpegFrame());
    QVERIFY(t.Valide());
    QCOMPARE(fieldOf(t, field), expected);
}

void TestId3v2Read::notATag_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header one byte short") << tag(3, {}).left(9);
    QTest::newRow("version 5") << tag(5, frame(3, "TIT2", latin("x")));
    QTest::newRow("version 1") << tag(1, frame(3, "TIT2", latin("x")));
    QTest::newRow("other letters")
        << QByteArray("ID4") + tag(3, frame(3, "TIT2", latin("x"))).mid(3);
    QTest::newRow("audio only") << mpegFrames(2);
}

void TestId3v2Read::notATag()
{
    QFETCH(QByteArray, bytes);
    const tags::TypeTagV2 t = tags::parseId3v2(bytes);
    QVERIFY(!t.Valide());
    QCOMPARE(t.Genre(), 255);
    QVERIFY(t.Titre().isEmpty());
}

static QByteArray jpegBytes()
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

void TestId3v2Read::picture()
{
    const QByteArray jpeg = jpegBytes();
    QVERIFY(!jpeg.isEmpty());
    const QByteArray body = QByteArray("\0image/jpg\0\x03\0", 13) + jpeg;
    const tags::TypeTagV2 t =
        tags::parseId3v2(tag(3, frame(3, "APIC", body) + frame(3, "TIT2", latin("x"))));
    QCOMPARE(t.PictureBinary(), jpeg);
    QVERIFY(!t.Pic().isNull());
    QCOMPARE(t.Pic().size(), QSize(8, 6));
    QCOMPARE(t.Titre(), QStringLiteral("x"));

    // Undecodable bytes: no picture, the bytes still there.
    const tags::TypeTagV2 broken =
        tags::parseId3v2(tag(3, frame(3, "APIC", QByteArray("\0image/jpg\0\x03\0garbage", 20))));
    QVERIFY(broken.Pic().isNull());
    QCOMPARE(broken.PictureBinary(), QByteArray("garbage"));

    // A UTF-16 description ends at a double zero on an even offset.
    const QByteArray wide =
        QByteArray("\x01image/jpeg\0\x03", 13) + utf16le("d") + QByteArray(2, '\0') + jpeg;
    QCOMPARE(tags::parseId3v2(tag(3, frame(3, "APIC", wide))).PictureBinary(), jpeg);
}

void TestId3v2Read::pictureOfVersion22()
{
    const QByteArray jpeg = jpegBytes();
    const tags::TypeTagV2 t =
        tags::parseId3v2(tag(2, frame(2, "PIC", QByteArray("\0JPG\x03\0", 6) + jpeg)));
    QCOMPARE(t.PictureBinary(), jpeg);
    QVERIFY(!t.Pic().isNull());
}

void TestId3v2Read::hostileSizes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("titre");
    QTest::newRow("frame larger than the tag")
        << tag(3, "TIT2" + bigEndian(1000, 4) + QByteArray(2, '\0') + latin("court")) << "court";
    QTest::newRow("frame size of 0xFFFFFFFF")
        << tag(3, "TIT2" + bigEndian(0xFFFFFFFF, 4) + QByteArray(2, '\0') + latin("max")) << "max";
    QTest::newRow("tag larger than the bytes")
        << QByteArray("ID3\x03\0\0\x7F\x7F\x7F\x7F", 10) + frame(3, "TIT2", latin("grand"))
        << "grand";
    QTest::newRow("frame header cut short") << tag(3, frame(3, "TIT2", latin("a")) + "TPE") << "a";
    QTest::newRow("extended header larger than the tag")
        << tag(3, bigEndian(0xFFFFFFF0, 4) + frame(3, "TIT2", latin("a")), 0x40) << "";
    QTest::newRow("picture without terminators")
        << tag(3, frame(3, "APIC", QByteArray("\0image", 6)) + frame(3, "TIT2", latin("p"))) << "p";
    QTest::newRow("empty frame bodies")
        << tag(3, frame(3, "TIT2", {}) + frame(3, "COMM", {}) + frame(3, "APIC", {}) +
                      frame(3, "TPE1", latin("z")))
        << "";
    QTest::newRow("v2.2 size beyond the tag") << tag(2, "TT2\xFF\xFF\xFF" + latin("v22")) << "v22";
}

void TestId3v2Read::hostileSizes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, titre);
    const tags::TypeTagV2 t = tags::parseId3v2(bytes);
    QVERIFY(t.Valide());
    QCOMPARE(t.Titre(), titre);
}

void TestId3v2Read::readsOnlyTheTag()
{
    // A header announcing more than the file holds: the read stops at the file's end.
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray bytes =
        QByteArray("ID3\x03\0\0\x7F\x7F\x7F\x7F", 10) + frame(3, "TIT2", latin("x"));
    QVERIFY(writeAll(path, bytes));
    const tags::Result<QByteArray> read = tags::readId3v2Bytes(path);
    QVERIFY(read.ok());
    QCOMPARE(*read, bytes);
    // A tag followed by audio: only the tag is returned.
    const QByteArray tagged = tag(3, frame(3, "TIT2", latin("y")));
    QVERIFY(writeAll(path, tagged + mpegFrames(3)));
    QCOMPARE(*tags::readId3v2Bytes(path), tagged);
    QCOMPARE(tags::readTagV2(path)->Titre(), QStringLiteral("y"));
}

void TestId3v2Read::fileFailures()
{
    QTemporaryDir dir;
    const tags::Result<tags::TypeTagV2> missing = tags::readTagV2(dir.filePath("absent.mp3"));
    QVERIFY(!missing.ok());
    QVERIFY2(missing.error().contains("introuvable"), qPrintable(missing.error()));
    const tags::Result<tags::TypeTagV2> folder = tags::readTagV2(dir.path());
    QVERIFY(!folder.ok());
    // A short file or one without a tag is no failure: an invalid record.
    const QString path = dir.filePath("court.mp3");
    QVERIFY(writeAll(path, "ID3"));
    const tags::Result<tags::TypeTagV2> shortFile = tags::readTagV2(path);
    QVERIFY(shortFile.ok());
    QVERIFY(!shortFile->Valide());
    QCOMPARE(shortFile->Genre(), 255);
}

QTEST_GUILESS_MAIN(TestId3v2Read)
#include "tst_id3v2read.moc"
