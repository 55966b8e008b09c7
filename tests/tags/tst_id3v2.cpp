// The ID3v2 reader and writer.
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"
#include "tags/picture/picture.h"

#include "tagtestutil.h"

#include <QTemporaryDir>

using namespace tagtest;

namespace {
// A tag of one frame, followed by audio that the reader must leave alone.
QByteArray t3(const QByteArray &id, const QByteArray &body)
{
    return tag(3, frame(3, id, body)) + mpegFrames(1);
}

// The value of one field of a record, by name.
QString field(const tags::TypeTagV2 &t, const QString &name)
{
    const QStringList names{"Valide", "Titre", "Artiste", "Commentaire", "Genre", "Url"};
    const QStringList values{t.Valide() ? "oui" : "non", t.Titre(), t.Artiste(), t.Commentaire(),
                             QString::number(t.Genre()), t.Url()};
    return values.value(names.indexOf(name), "?");
}

tags::TypeTagV2 record(const QString &titre)
{
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(255);
    t.setTitre(titre);
    return t;
}

QList<QByteArray> frameIds(const QByteArray &bytes)
{
    QList<QByteArray> ids;
    for (const tags::Id3v2Frame &f : tags::walkId3v2(bytes).frames)
        ids.append(f.id);
    return ids;
}

const QByteArray apicHead("\0image/jpeg\0\3\0", 14);

} // namespace

class TestId3v2 : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("a.mp3");

private slots:
    void fields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // field=value
        const auto row = [](const char *name, const QByteArray &bytes, const QString &expected) {
            QTest::newRow(name) << bytes << expected;
        };
        const QByteArray nul2(2, '\0');
        const auto title = [](int version, const QByteArray &text) {
            return frame(version, version == 2 ? "TT2" : "TIT2", latin(text));
        };
        row("windows-1252 in encoding 0", t3("TIT2", latin("5 \x80")), "Titre=5 €");
        row("bytes after the terminator", t3("TIT2", latin(QByteArray("ab\0cd", 5))), "Titre=ab");
        row("utf-16 with bom", t3("TPE1", '\1' + utf16le("Бах")), "Artiste=Бах");
        row("utf-16 big-endian bom", t3("TIT2", QByteArray("\1\xFE\xFF\0\xC9\0t\0\xE9", 9)),
            "Titre=Été");
        row("utf-16 nul byte inside a character", t3("TIT2", '\1' + utf16le("\u0100A")),
            "Titre=\u0100A");
        row("v2.4 utf-8", tag(4, frame(4, "TIT2", "\3" + QString("Élan 日本").toUtf8())),
            "Titre=Élan 日本");
        row("comment utf-16", t3("COMM", "\1eng" + utf16le("d") + nul2 + utf16le("Crème")),
            "Commentaire=Crème");
        row("comment without description wins",
            tag(3, frame(3, "COMM", latin(QByteArray("engiTunNORM\0 000", 16))) +
                       frame(3, "COMM", latin(QByteArray("eng\0Vrai", 8)))),
            "Commentaire=Vrai");
        row("url with utf-16 description", t3("WXXX", '\1' + utf16le("d") + nul2 + "http://b.fr"),
            "Url=http://b.fr");
        row("first of two frames wins", tag(3, title(3, "A") + title(3, "B")), "Titre=A");
        row("a frame after zero bytes is read",
            tag(3, title(3, "T") + QByteArray(20, '\0') + frame(3, "TPE1", latin("X"))),
            "Artiste=X");
        row("a malformed identifier is skipped by its size",
            tag(3, frame(3, "Xyz1", "abc") + frame(3, "TPE1", latin("Y"))), "Artiste=Y");
        row("v2.2 title", tag(2, title(2, "Deux")), "Titre=Deux");
        row("v2.3 extended header",
            tag(3, bigEndian(6) + QByteArray(6, '\0') + title(3, "Dru"), 0x40), "Titre=Dru");
        row("v2.4 extended header",
            tag(4, synchsafe(6) + QByteArray("\1\0", 2) + title(4, "Ext"), 0x40), "Titre=Ext");
        row("v2.3 unsynchronised tag",
            tag(3, frame(3, "TIT2", QByteArray("\0\xFF\0\xE9t\xFF\0", 7)), 0x80), "Titre=ét");
        row("v2.4 unsynchronised frame with data length",
            tag(4, frame(4, "TIT2", bigEndian(3) + QByteArray("\0\xFF\0\xE9", 4), 0x0003)),
            "Titre=é");
        row("v2.3 compressed frame skipped",
            tag(3, frame(3, "TIT2", bigEndian(10) + "xyz", 0x0080)), "Titre=");
        row("v2.4 frame sizes without synchsafe",
            tag(4, "TIT2" + bigEndian(200) + nul2 + latin(QByteArray(199, 'a')) +
                       frame(4, "TPE1", latin("Art"))),
            "Artiste=Art");
        row("genre number and name", t3("TCON", latin("(17)Rock")), "Genre=17");
        // Not a tag: an invalid record.
        row("header one byte short", tag(3, {}).left(9), "Valide=non");
        row("other letters", "ID4" + t3("TIT2", latin("x")).mid(3), "Valide=non");
        // Sizes that lie: only what exists is read.
        row("frame larger than the tag", tag(3, "TIT2" + bigEndian(1000) + nul2 + latin("court")),
            "Titre=court");
        row("frame size of 0xFFFFFFFF", tag(3, "TIT2" + bigEndian(0xFFFFFFFF) + nul2 + latin("m")),
            "Titre=m");
        row("tag larger than the bytes",
            QByteArray("ID3\3\0\0\x7F\x7F\x7F\x7F", 10) + title(3, "grand"), "Titre=grand");
        row("extended header larger than the tag",
            tag(3, bigEndian(0xFFFFFFF0) + title(3, "a"), 0x40), "Titre=");
        row("picture without terminators",
            tag(3, frame(3, "APIC", QByteArray("\0image", 6)) + title(3, "p")), "Titre=p");
        row("empty frame bodies",
            tag(3, frame(3, "TIT2", {}) + frame(3, "COMM", {}) + frame(3, "APIC", {}) +
                       frame(3, "TPE1", latin("z"))),
            "Artiste=z");
        row("v2.2 size beyond the tag", tag(2, "TT2\xFF\xFF\xFF" + latin("v22")), "Titre=v22");
    }

    void fields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const QString name = expected.section('=', 0, 0);
        QCOMPARE(name + '=' + field(tags::parseId3v2(bytes), name), expected);
    }

    void picture_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("binary"); // a JPEG is also decoded
        const QByteArray jpeg = jpegBytes(), utf16 = utf16le("d") + QByteArray(2, '\0');
        QTest::newRow("jpeg") << t3("APIC", QByteArray("\0image/jpg\0\3\0", 13) + jpeg) << jpeg;
        QTest::newRow("utf-16 description ends on an even double zero")
            << t3("APIC", QByteArray("\1image/jpeg\0\3", 13) + utf16 + jpeg) << jpeg;
        QTest::newRow("v2.2") << tag(2, frame(2, "PIC", QByteArray("\0JPG\3\0", 6) + jpeg)) << jpeg;
        QTest::newRow("undecodable bytes are kept")
            << t3("APIC", QByteArray("\0image/jpg\0\3\0garbage", 20)) << QByteArray("garbage");
    }

    void picture()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, binary);
        const tags::TypeTagV2 t = tags::parseId3v2(bytes);
        QCOMPARE(t.PictureBinary(), binary);
        QCOMPARE(t.Pic().size(), binary == jpegBytes() ? QSize(8, 6) : QSize(0, 0));
    }

    void fileReads()
    {
        // A header announcing more than the file holds: the read stops at the file's end.
        const QByteArray big =
            QByteArray("ID3\3\0\0\x7F\x7F\x7F\x7F", 10) + frame(3, "TIT2", latin("x"));
        QVERIFY(writeAll(m_path, big));
        QCOMPARE(tags::readId3v2Bytes(m_path).value(), big);
        // A tag followed by audio: the tag alone is read.
        const QByteArray tagged = tag(3, frame(3, "TIT2", latin("y")));
        QVERIFY(writeAll(m_path, tagged + mpegFrames(3)));
        QCOMPARE(tags::readId3v2Bytes(m_path).value(), tagged);
        // A file too short for a tag is no failure; a folder is one.
        QVERIFY(writeAll(m_path, "ID3"));
        QVERIFY(!tags::readTagV2(m_path).value().Valide());
        QVERIFY(!tags::readTagV2(m_dir.path()).ok());
    }

    void workedExample()
    {
        QVERIFY(writeAll(m_path, mpegFrames(5)));
        QVERIFY(saved(tags::writeTagV2(m_path, record("Silence"))));
        QCOMPARE(readAll(m_path), QByteArray("ID3\3\0\0", 6) + synchsafe(11 + 10 + 1 + 7) + "TIT2" +
                                      bigEndian(8) + QByteArray(2, '\0') + latin("Silence") +
                                      QByteArray(11, '\0') + mpegFrames(5));
    }

    void frameOrder()
    {
        const QByteArray jpeg = jpegBytes();
        const QByteArray bytes = tags::renderId3v2(fullRecord(), jpeg).value();
        QCOMPARE(frameIds(bytes),
                 (QList<QByteArray>{"TIT2", "TPE1", "TALB", "TYER", "COMM", "TRCK", "TCON", "TCOM",
                                    "TOPE", "TCOP", "WXXX", "TENC", "APIC"}));
        QCOMPARE(tags::walkId3v2(bytes).frames[12].body, apicHead + jpeg);
        QCOMPARE(qsizetype(tags::id3v2DeclaredSize(bytes)), bytes.size());
        // A tag of 2^28 bytes or more cannot be written.
        QVERIFY(!tags::renderId3v2(fullRecord(), QByteArray((1 << 28) - 20, 'p')).ok());
    }

    void frameBody_data()
    {
        QTest::addColumn<QString>("edit");    // field=value
        QTest::addColumn<QByteArray>("body"); // of the only frame; empty: no frame
        QTest::newRow("listed genre") << "Genre=17" << QByteArray("\0(17)Rock", 9);
        QTest::newRow("genre 0 of a fresh record") << "Genre=0" << QByteArray("\0(0)Blues", 9);
        QTest::newRow("unlisted genre") << "Genre=200" << QByteArray("\0(200)", 6);
        QTest::newRow("no genre") << "Genre=255" << QByteArray();
        QTest::newRow("blank track") << "Piste=   " << QByteArray();
        QTest::newRow("comment: no language, no description")
            << "Commentaire=Comm" << QByteArray("\0\0\0\0\0Comm", 9);
        QTest::newRow("accents keep encoding 0") << "Artiste=Été" << QByteArray("\0\xC9t\xE9", 4);
        // Bytes 80-9F of encoding 0 are control characters for other readers.
        QTest::newRow("euro uses encoding 1") << "Artiste=5 €" << '\1' + utf16le("5 €");
        // A URL read as Windows-1252 is written back as the same byte.
        QTest::newRow("url windows-1252 letter keeps its byte")
            << "Url=htt\u017D" << QByteArray("\0\0htt\x8E", 6);
        QTest::newRow("url outside windows-1252 is percent-encoded")
            << "Url=a\u0411" << QByteArray("\0\0a%D0%91", 9);
    }

    void frameBody()
    {
        QFETCH(QString, edit);
        QFETCH(QByteArray, body);
        const QString field = edit.section('=', 0, 0), value = edit.section('=', 1);
        tags::TypeTagV2 t = record("");
        setField(t, field, value);
        const QByteArray bytes = tags::renderId3v2(t).value();
        const QList<tags::Id3v2Frame> frames = tags::walkId3v2(bytes).frames;
        QCOMPARE(frames.size(), body.isEmpty() ? 0 : 1);
        if (!body.isEmpty())
            QCOMPARE(frames[0].body, body);
        if (field != "Url")
            QCOMPARE(tags::parseId3v2(bytes), t);
    }

    void removeTag()
    {
        // Everything before the first frame goes, kept frames too; the ID3v1 block stays.
        const QByteArray audio = mpegFrames(3) + "TAG" + QByteArray(125, '\0');
        const QByteArray old = tag(3, frame(3, "TXXX", latin("x")) + frame(3, "APIC", apicHead));
        QVERIFY(writeAll(m_path, old + QByteArray(7, '\x11') + audio));
        QVERIFY(saved(tags::writeTagV2(m_path, tags::TypeTagV2())));
        QCOMPARE(readAll(m_path), audio);
    }

    void audioKept_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("audio"); // a Xing header gets the new file's length
        // Picture bytes full of false frame syncs: a search inside the tag would stop there.
        const QByteArray syncs = QByteArray("\xFF\xFB\x90\x00", 4).repeated(64);
        const QByteArray v1 = "TAG" + QByteArray(125, '\0');
        QTest::newRow("no tag, id3v1") << QByteArray() << mpegFrames(8) + v1;
        QTest::newRow("unsynchronised v2.3")
            << tag(3, frame(3, "TIT2", latin("\xFF\0x")), 0x80) << mpegFrames(8);
        QTest::newRow("two tags in a row")
            << tag(3, frame(3, "TIT2", latin("a"))) + tag(4, frame(4, "APIC", apicHead + syncs))
            << mpegFrames(8) + v1;
        QTest::newRow("xing, no tag") << QByteArray() << xingStream(6);
        QTest::newRow("xing after v2.4 with footer")
            << tag(4, frame(4, "TIT2", latin("v24")), 0x10) + QByteArray("3DI\4\0\x10", 6) +
                   synchsafe(11)
            << xingStream(6);
        // Under 76 frames the analysis passes over the Xing frame, yet it is audio.
        QTest::newRow("xing of a short file")
            << tag(3, frame(3, "TIT2", latin("x"))) << xingStream(6, 6);
    }

    void audioKept()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, audio);
        QVERIFY(writeAll(m_path, before + audio));
        QVERIFY(saved(tags::writeTagV2(m_path, fullRecord())));
        const QByteArray after = readAll(m_path);
        if (audio.mid(36, 4) == "Xing")
            audio.replace(48, 4, bigEndian(quint32(after.size())));
        QCOMPARE(after.mid(qsizetype(tags::id3v2DeclaredSize(after))), audio);
        QCOMPARE(tags::readTagV2(m_path).value().Titre(), fullRecord().Titre());
        // Writing the same record again gives the same bytes, Xing byte count included.
        QVERIFY(saved(tags::writeTagV2(m_path, fullRecord())));
        QCOMPARE(readAll(m_path), after);
    }
};

QTEST_GUILESS_MAIN(TestId3v2)
#include "tst_id3v2.moc"
