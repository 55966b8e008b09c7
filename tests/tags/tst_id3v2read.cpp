#include "tags/id3v2reader.h"

#include "tagtestutil.h"

#include <QTemporaryDir>

using namespace tagtest;

namespace {

// A tag of one frame, followed by audio that the reader must leave alone.
QByteArray t3(const QByteArray &id, const QByteArray &body)
{
    return tag(3, frame(3, id, body)) + mpegFrames(1);
}

QByteArray t4(const QByteArray &id, const QByteArray &body)
{
    return tag(4, frame(4, id, body)) + mpegFrames(1);
}

// The value of one field of a record, by name.
QString field(const tags::TypeTagV2 &t, const QString &name)
{
    const QStringList names{"Valide", "Titre", "Artiste", "Commentaire", "Genre", "Url"};
    const QStringList values{t.Valide() ? "oui" : "non", t.Titre(), t.Artiste(),
                             t.Commentaire(), QString::number(t.Genre()), t.Url()};
    return values.value(names.indexOf(name), "?");
}

} // namespace

class TestId3v2Read : public QObject
{
    Q_OBJECT
private slots:
    void fields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        const QByteArray plainSize200 = "TIT2" + bigEndian(200, 4) + QByteArray(2, '\0');
        QTest::newRow("windows-1252 euro in encoding 0") << t3("TIT2", latin("5 \x80")) << "Titre" << "5 €";
        QTest::newRow("trailing nul keeps the title")
            << t3("TIT2", latin(QByteArray("Titre\0", 6))) << "Titre" << "Titre";
        QTest::newRow("bytes after the terminator ignored")
            << t3("TIT2", latin(QByteArray("ab\0cd", 5))) << "Titre" << "ab";
        QTest::newRow("utf-16 with bom") << t3("TPE1", '\1' + utf16le("Бах")) << "Artiste" << "Бах";
        QTest::newRow("utf-16 big-endian bom")
            << t3("TIT2", "\1\xFE\xFF" + utf16be("Été")) << "Titre" << "Été";
        QTest::newRow("utf-16 nul byte inside a character")
            << t3("TIT2", '\1' + utf16le("\u0100A")) << "Titre" << "\u0100A";
        QTest::newRow("v2.4 utf-8") << t4("TIT2", "\3" + QString("Élan 日本").toUtf8()) << "Titre" << "Élan 日本";
        QTest::newRow("comment utf-16")
            << t3("COMM", "\1eng" + utf16le("d") + QByteArray(2, '\0') + utf16le("Crème"))
            << "Commentaire" << "Crème";
        QTest::newRow("comment without description wins")
            << tag(3, frame(3, "COMM", latin(QByteArray("engiTunNORM\0 000", 16))) +
                          frame(3, "COMM", latin(QByteArray("eng\0Vrai", 8))))
            << "Commentaire" << "Vrai";
        QTest::newRow("url with utf-16 description")
            << t3("WXXX", '\1' + utf16le("d") + QByteArray(2, '\0') + "http://b.fr") << "Url"
            << "http://b.fr";
        QTest::newRow("first of two frames wins")
            << tag(3, frame(3, "TIT2", latin("A")) + frame(3, "TIT2", latin("B"))) << "Titre" << "A";
        QTest::newRow("unknown frame skipped by its size")
            << tag(3, frame(3, "TXXX", latin("x")) + frame(3, "TIT2", latin("Apres"))) << "Titre"
            << "Apres";
        QTest::newRow("padding ends the walk")
            << tag(3, frame(3, "TIT2", latin("T")) + QByteArray(20, '\0') + frame(3, "TPE1", latin("X")))
            << "Artiste" << "";
        QTest::newRow("v2.2 title") << tag(2, frame(2, "TT2", latin("Deux"))) << "Titre" << "Deux";
        QTest::newRow("v2.3 extended header")
            << tag(3, bigEndian(6, 4) + QByteArray(6, '\0') + frame(3, "TIT2", latin("Druids")), 0x40)
            << "Titre" << "Druids";
        QTest::newRow("v2.4 extended header")
            << tag(4, synchsafe(6) + QByteArray("\1\0", 2) + frame(4, "TIT2", latin("Ext")), 0x40)
            << "Titre" << "Ext";
        QTest::newRow("v2.3 unsynchronised tag")
            << tag(3, frame(3, "TIT2", QByteArray("\0\xFF\0\xE9t\xFF\0", 7)), 0x80) << "Titre" << "ét";
        QTest::newRow("v2.4 unsynchronised frame with data length")
            << tag(4, frame(4, "TIT2", bigEndian(3, 4) + QByteArray("\0\xFF\0\xE9", 4), 0x0003))
            << "Titre" << "é";
        QTest::newRow("v2.3 compressed frame skipped")
            << tag(3, frame(3, "TIT2", bigEndian(10, 4) + "xyz", 0x0080)) << "Titre" << "";
        QTest::newRow("v2.4 frame sizes written without synchsafe")
            << tag(4, plainSize200 + latin(QByteArray(199, 'a')) + frame(4, "TPE1", latin("Art")))
            << "Artiste" << "Art";
        QTest::newRow("genre number and name") << t3("TCON", latin("(17)Rock")) << "Genre" << "17";
        // Not a tag: an invalid record.
        QTest::newRow("empty") << QByteArray() << "Valide" << "non";
        QTest::newRow("header one byte short") << tag(3, {}).left(9) << "Valide" << "non";
        QTest::newRow("other letters") << "ID4" + t3("TIT2", latin("x")).mid(3) << "Valide" << "non";
        // Sizes that lie: only what exists is read.
        QTest::newRow("frame larger than the tag")
            << tag(3, "TIT2" + bigEndian(1000, 4) + QByteArray(2, '\0') + latin("court")) << "Titre"
            << "court";
        QTest::newRow("frame size of 0xFFFFFFFF")
            << tag(3, "TIT2" + bigEndian(0xFFFFFFFF, 4) + QByteArray(2, '\0') + latin("max"))
            << "Titre" << "max";
        QTest::newRow("tag larger than the bytes")
            << QByteArray("ID3\3\0\0\x7F\x7F\x7F\x7F", 10) + frame(3, "TIT2", latin("grand"))
            << "Titre" << "grand";
        QTest::newRow("extended header larger than the tag")
            << tag(3, bigEndian(0xFFFFFFF0, 4) + frame(3, "TIT2", latin("a")), 0x40) << "Titre"
            << "";
        QTest::newRow("picture without terminators")
            << tag(3, frame(3, "APIC", QByteArray("\0image", 6)) + frame(3, "TIT2", latin("p"))) << "Titre" << "p";
        QTest::newRow("empty frame bodies")
            << tag(3, frame(3, "TIT2", {}) + frame(3, "COMM", {}) + frame(3, "APIC", {}) +
                          frame(3, "TPE1", latin("z")))
            << "Artiste" << "z";
        QTest::newRow("v2.2 size beyond the tag") << tag(2, "TT2\xFF\xFF\xFF" + latin("v22")) << "Titre" << "v22";
    }

    void fields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        QCOMPARE(::field(tags::parseId3v2(bytes), field), expected);
    }

    void picture_data()
    {
        const QByteArray jpeg = jpegBytes();
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("binary");
        QTest::addColumn<bool>("decoded");
        QTest::newRow("jpeg") << t3("APIC", QByteArray("\0image/jpg\0\3\0", 13) + jpeg) << jpeg << true;
        QTest::newRow("utf-16 description ends on an even double zero")
            << t3("APIC", QByteArray("\1image/jpeg\0\3", 13) + utf16le("d") + QByteArray(2, '\0') + jpeg)
            << jpeg << true;
        QTest::newRow("v2.2") << tag(2, frame(2, "PIC", QByteArray("\0JPG\3\0", 6) + jpeg)) << jpeg << true;
        QTest::newRow("undecodable bytes are kept")
            << t3("APIC", QByteArray("\0image/jpg\0\3\0garbage", 20)) << QByteArray("garbage") << false;
    }

    void picture()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, binary);
        QFETCH(bool, decoded);
        const tags::TypeTagV2 t = tags::parseId3v2(bytes);
        QCOMPARE(t.PictureBinary(), binary);
        QCOMPARE(t.Pic().size(), decoded ? QSize(8, 6) : QSize(0, 0));
    }

    void fileReads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.mp3");
        // A header announcing more than the file holds: the read stops at the file's end.
        const QByteArray big = QByteArray("ID3\3\0\0\x7F\x7F\x7F\x7F", 10) + frame(3, "TIT2", latin("x"));
        QVERIFY(writeAll(path, big));
        QCOMPARE(tags::readId3v2Bytes(path).value(), big);
        // A tag followed by audio: only the tag is read.
        const QByteArray tagged = tag(3, frame(3, "TIT2", latin("y")));
        QVERIFY(writeAll(path, tagged + mpegFrames(3)));
        QCOMPARE(tags::readId3v2Bytes(path).value(), tagged);
        QCOMPARE(tags::readTagV2(path)->Titre(), QStringLiteral("y"));
        // A file too short for a tag is no failure; a missing file or a folder is one.
        QVERIFY(writeAll(path, "ID3"));
        QVERIFY(!tags::readTagV2(path).value().Valide());
        const tags::Result<tags::TypeTagV2> missing = tags::readTagV2(dir.filePath("absent.mp3"));
        QVERIFY2(!missing.ok() && missing.error().contains("introuvable"), qPrintable(missing.error()));
        QVERIFY(!tags::readTagV2(dir.path()).ok());
    }
};

QTEST_GUILESS_MAIN(TestId3v2Read)
#include "tst_id3v2read.moc"
