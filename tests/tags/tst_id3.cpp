// The foundation of tagging: Windows-1252 text, genres, the ID3v1 codec, the ID3v2 reader and
// writer.
#include "base/windows1252.h"
#include "tags/genres.h"
#include "tags/id3v1.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"
#include "tags/picture/picture.h"

#include "tagtestutil.h"

#include <QTemporaryDir>

using namespace tagtest;
using namespace Qt::StringLiterals;

namespace {

// A block with the given title, the bytes 125 and 126 (track) and the genre byte.
QByteArray block(const QByteArray &title, char b125 = 0, char b126 = 0, char genre = char(255))
{
    return "TAG" + title.leftJustified(30, '\0', true) + QByteArray(92, '\0') + b125 + b126 + genre;
}

// A tag of one frame, followed by audio that the reader must leave alone.
QByteArray t3(const QByteArray &id, const QByteArray &body, quint16 flags = 0)
{
    return tag(3, frame(3, id, body, flags)) + mpegFrames(1);
}

// The value of one field of a record, by name; "Image" gives the size of the decoded picture
// and its bytes in Base64.
QString field(const tags::TypeTagV2 &t, const QString &name)
{
    const QSize pic = t.Pic().size();
    const QStringList names{"Valide", "Titre", "Artiste", "Commentaire", "Genre", "Url", "Image"};
    const QStringList values{t.Valide() ? "oui" : "non",
                             t.Titre(),
                             t.Artiste(),
                             t.Commentaire(),
                             QString::number(t.Genre()),
                             t.Url(),
                             QString("%1x%2 ").arg(pic.width()).arg(pic.height()) +
                                 t.PictureBinary().toBase64()};
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

const QByteArray apicHead("\0image/jpeg\0\3\0", 14);

} // namespace

class TestId3 : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("a.mp3");

private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QVERIFY(base::fitsWindows1252(base::fromWindows1252(all)));
        QCOMPARE(base::toWindows1252(base::fromWindows1252(all)), all);
    }

    void genreFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("genre");
        QTest::newRow("listed name, any case") << "rOCK" << 17;
        QTest::newRow("punk is not punk rock") << "Punk" << 43;
        QTest::newRow("full name of the cut genre") << "Contemporary Christian" << 255;
        QTest::newRow("cut name itself") << "contemporary c" << 140;
        QTest::newRow("digits then text") << "17 Rock" << 17;
        QTest::newRow("half rounds to even up") << "17.5" << 18;
        QTest::newRow("first unlisted number") << "148" << 255;
        QTest::newRow("leading blank is not a digit") << " 17" << 255;
        QTest::newRow("parenthesised number and name") << "(17)Rock" << 17;
        QTest::newRow("parenthesised number out of list") << "(200)" << 200;
        QTest::newRow("escaped parenthesis") << "((Rock" << 255;
        QTest::newRow("remix refinement") << "(RX)" << 255;
        QTest::newRow("beyond 16 bits") << "(40000)" << 255;
    }

    void genreFromText()
    {
        QFETCH(QString, text);
        QTEST(int(tags::genreFromText(text)), "genre");
    }

    void parseV1_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // valid|title|track|genre
        QTest::newRow("v1.1 track") << block("abc", 0, 5, 17) << "1|abc|5|17";
        QTest::newRow("v1.0 comment gives its last character")
            << block("abc", 'x', 'y', 17) << "1|abc|121|17";
        QTest::newRow("first unlisted genre") << block("a", 0, 0, char(148)) << "1|a|0|255";
        QTest::newRow("windows-1252 text, spaces kept")
            << block("\xC9t\xE9 \x80  ") << "1|Été €  |0|255";
        QTest::newRow("text after the first nul ignored")
            << block(QByteArray("ab\0cd", 5)) << "1|ab|0|255";
        QTest::newRow("control characters filtered") << block("a\tb\x01\xFF") << "1|ab|0|255";
        QTest::newRow("lower-case letters are no block") << "tag" + block("x").mid(3) << "0||0|255";
        QTest::newRow("other letters") << "TAB" + block("x").mid(3) << "0||0|255";
        QTest::newRow("one byte short") << block("x").left(127) << "0||0|255";
        QTest::newRow("empty") << QByteArray() << "0||0|255";
    }

    void parseV1()
    {
        QFETCH(QByteArray, bytes);
        const tags::TypeTagV1 t = tags::parseId3v1(bytes);
        QTEST(QStringList({QString::number(t.Valide()), t.Titre(), QString::number(t.Piste()),
                           QString::number(t.Genre())})
                  .join('|'),
              "expected");
    }

    // The block written after the audio or over the old block, or refused with the file unchanged.
    void writeV1_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("piste");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QByteArray>("after"); // empty: refused
        const QByteArray audio = mpegFrames(3), old = audio + block("old");
        const QByteArray written = audio + "TAG" + QByteArray("\xC9t\xE9").leftJustified(30, '\0') +
                                   QByteArray(10, '?').leftJustified(30, '\0') +
                                   QByteArray("Album ?").leftJustified(30, '\0') + "1999" +
                                   QByteArray(28, 'c') + '\0' + char(12) + char(147);
        QTest::newRow("block added") << audio << 12 << false << written;
        QTest::newRow("block replaced") << old << 12 << false << written;
        // Audio that happens to end with "tag" is no block: a block goes after it.
        const QByteArray lower = audio + "tag" + block("old").mid(3);
        QTest::newRow("lower-case tag is audio")
            << lower << 12 << false << lower + written.right(128);
        QTest::newRow("empty file") << QByteArray() << 1 << false << QByteArray();
        QTest::newRow("negative track") << audio << -1 << false << QByteArray();
        QTest::newRow("track 256 over a block") << old << 256 << false << QByteArray();
        QTest::newRow("read-only file with a block") << old << 1 << true << QByteArray();
    }

    void writeV1()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, piste);
        QFETCH(bool, readOnly);
        QFETCH(QByteArray, after);
        QVERIFY(writeFile(m_path, content));
        if (readOnly)
            QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup));
        tags::TypeTagV1 t;
        t.setValide(true);
        t.setTitre("Été");
        t.setArtiste("Чайковский");
        t.setAlbum("Album 🎵");
        t.setAnnee("1999");
        t.setCommentaire(QString(28, u'c'));
        t.setPiste(qint16(piste));
        t.setGenre(147);
        QCOMPARE(tags::writeTagV1(m_path, t), !after.isEmpty());
        QCOMPARE(readFile(m_path), after.isEmpty() ? content : after);
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner));
    }

    // An edit writes the field it changes; the other fields keep their bytes, even those the
    // reader shows otherwise.
    void v1FieldsKept_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QString>("edit"); // field=value
        QTest::addColumn<QByteArray>("after");
        const auto artist = [](QByteArray b) {
            return b.replace(33, 30, QByteArray("Nouveau").leftJustified(30, '\0'));
        };
        // An ID3v1.0 comment fills 30 bytes: its last character is read as the track.
        QByteArray full = block("t");
        full.replace(97, 30, QByteArray(29, 'c') + 'y');
        const QByteArray odd = block(QByteArray("Caf\xFF\0xyz", 8), 0, 7, char(200));
        QTest::newRow("genre beyond the list, ÿ, bytes after a NUL")
            << odd << "Artiste=Nouveau" << artist(odd);
        QTest::newRow("full ID3v1.0 comment") << full << "Artiste=Nouveau" << artist(full);
        QTest::newRow("new comment in an ID3v1.0 block: no track")
            << full << "Commentaire=neuf"
            << QByteArray(full).replace(97, 30, QByteArray("neuf").leftJustified(30, '\0'));
        QTest::newRow("track in an ID3v1.0 block")
            << full << "Piste=3" << QByteArray(full).replace(125, 2, QByteArray("\0\3", 2));
    }

    void v1FieldsKept()
    {
        QFETCH(QByteArray, old);
        QFETCH(QString, edit);
        QVERIFY(writeFile(m_path, mpegFrames(2) + old));
        tags::TypeTagV1 t = tags::readTagV1(m_path);
        const QString value = edit.section('=', 1);
        if (edit.startsWith("Artiste"))
            t.setArtiste(value);
        else if (edit.startsWith("Piste"))
            t.setPiste(qint16(value.toInt()));
        else
            t.setCommentaire(value);
        QVERIFY(tags::writeTagV1(m_path, t));
        QTEST(readFile(m_path).right(128), "after");
    }

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
        row("utf-16 surrogates, paired and alone",
            t3("TIT2", QByteArray("\1\xFF\xFE\x3D\xD8\x00\xDE"
                                  "a\0\x20\xDB",
                                  11)),
            "Titre=\U0001F600a\uFFFD");
        row("v2.4 utf-8", tag(4, frame(4, "TIT2", "\3" + QString("Élan 日本").toUtf8())),
            "Titre=Élan 日本");
        row("comment utf-16", t3("COMM", "\1eng" + utf16le("") + nul2 + utf16le("Crème")),
            "Commentaire=Crème");
        row("comment without description wins",
            tag(3, frame(3, "COMM", latin(QByteArray("engiTunNORM\0 000", 16))) +
                       frame(3, "COMM", latin(QByteArray("eng\0Vrai", 8)))),
            "Commentaire=Vrai");
        // Described comments and URLs belong to other programs: they are not the field.
        row("described comment alone", t3("COMM", latin("deuNotiz\0Hallo"_ba)), "Commentaire=");
        row("url without description wins",
            tag(3, frame(3, "WXXX", latin("shop\0http://a"_ba)) +
                       frame(3, "WXXX", '\1' + utf16le("") + nul2 + "http://b.fr")),
            "Url=http://b.fr");
        row("first of two frames wins", tag(3, title(3, "A") + title(3, "B")), "Titre=A");
        // A frame after zeros and one after a malformed identifier: tst_tagsave's edit table.
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
        row("v2.3 compressed comment", t3("COMM", qCompress(latin("fra\0Zipp\xE9"_ba)), 0x0080),
            "Commentaire=Zippé");
        row("v2.4 compressed and grouped title with data length",
            tag(4,
                frame(4, "TIT2", "\7" + synchsafe(7) + qCompress(latin("Quatre")).mid(4), 0x0049)),
            "Titre=Quatre");
        row("compressed bytes that do not inflate skipped",
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
        const QByteArray jpeg = jpegBytes();
        const QString shown = "Image=8x6 " + jpeg.toBase64();
        row("jpeg picture", t3("APIC", QByteArray("\0image/jpg\0\3\0", 13) + jpeg), shown);
        row("utf-16 picture description ends on an even double zero",
            t3("APIC", QByteArray("\1image/jpeg\0\3", 13) + utf16le("d") + nul2 + jpeg), shown);
        row("v2.2 picture", tag(2, frame(2, "PIC", QByteArray("\0JPG\3\0", 6) + jpeg)), shown);
        row("undecodable picture bytes are kept",
            t3("APIC", QByteArray("\0image/jpg\0\3\0garbage", 20)), "Image=0x0 Z2FyYmFnZQ==");
    }

    void fields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const QString name = expected.section('=', 0, 0);
        QCOMPARE(name + '=' + field(tags::parseId3v2(bytes), name), expected);
    }

    void fileReads()
    {
        // A header announcing more than the file holds: the read stops at the file's end.
        const QByteArray big =
            QByteArray("ID3\3\0\0\x7F\x7F\x7F\x7F", 10) + frame(3, "TIT2", latin("x"));
        QVERIFY(writeFile(m_path, big));
        QCOMPARE(tags::readId3v2Bytes(m_path).value(), big);
        // A tag followed by audio: the tag alone is read.
        const QByteArray tagged = tag(3, frame(3, "TIT2", latin("y")));
        QVERIFY(writeFile(m_path, tagged + mpegFrames(3)));
        QCOMPARE(tags::readId3v2Bytes(m_path).value(), tagged);
        // A file too short for a tag is no failure; a folder is one.
        QVERIFY(writeFile(m_path, "ID3"));
        QVERIFY(!tags::readTagV2(m_path).value().Valide());
        QVERIFY(!tags::readTagV2(m_dir.path()).ok());
        // Only the last 128 bytes count: a block at the start of a file is not read.
        const QString shortFile = m_dir.filePath("court.mp3"), start = m_dir.filePath("debut.mp3");
        QVERIFY(writeFile(shortFile, block("x").left(127)));
        QVERIFY(writeFile(start, block("x") + mpegFrames(1)));
        for (const QString &file : {m_dir.filePath("absent.mp3"), m_dir.path(), shortFile, start}) {
            const tags::TypeTagV1 t = tags::readTagV1(file);
            QVERIFY2(!t.Valide() && t.Titre().isEmpty(), qPrintable(file));
            QCOMPARE(t.Genre(), 255);
        }
    }

    void workedExample()
    {
        QVERIFY(writeFile(m_path, mpegFrames(5)));
        QVERIFY(saved(tags::writeTagV2(m_path, record("Silence"))));
        QCOMPARE(readFile(m_path), QByteArray("ID3\3\0\0", 6) + synchsafe(11 + 10 + 1 + 7) +
                                       "TIT2" + bigEndian(8) + QByteArray(2, '\0') +
                                       latin("Silence") + QByteArray(11, '\0') + mpegFrames(5));
    }

    void frameOrder()
    {
        const QByteArray jpeg = jpegBytes();
        const QByteArray bytes = tags::renderId3v2(fullRecord(), jpeg).value();
        QList<QByteArray> ids;
        for (const tags::Id3v2Frame &f : tags::walkId3v2(bytes).frames)
            ids.append(f.id);
        QCOMPARE(ids, (QList<QByteArray>{"TIT2", "TPE1", "TALB", "TYER", "COMM", "TRCK", "TCON",
                                         "TCOM", "TOPE", "TCOP", "WXXX", "TENC", "APIC"}));
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
        QTest::newRow("comment: French, no description")
            << "Commentaire=Comm" << QByteArray("\0fra\0Comm", 9);
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
        QVERIFY(writeFile(m_path, old + QByteArray(7, '\x11') + audio));
        QVERIFY(saved(tags::writeTagV2(m_path, tags::TypeTagV2())));
        QCOMPARE(readFile(m_path), audio);
    }

    void audioKept_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("following"); // ID3v2 tags kept after the new one
        QTest::addColumn<QByteArray>("audio");     // kept byte for byte
        // Picture bytes full of false frame syncs: a search inside the tag would stop there.
        const QByteArray syncs = QByteArray("\xFF\xFB\x90\x00", 4).repeated(64);
        const QByteArray v1 = "TAG" + QByteArray(125, '\0');
        const QByteArray none;
        QTest::newRow("no tag, id3v1") << none << none << mpegFrames(8) + v1;
        QTest::newRow("unsynchronised v2.3")
            << tag(3, frame(3, "TIT2", latin("\xFF\0x")), 0x80) << none << mpegFrames(8);
        const QByteArray second = tag(4, frame(4, "APIC", apicHead + syncs));
        QTest::newRow("two tags in a row")
            << tag(3, frame(3, "TIT2", latin("a"))) + second << second << mpegFrames(8) + v1;
        // The byte count of a Xing header is that of the audio from its frame on: it stays.
        QTest::newRow("xing, no tag") << none << none << xingStream(6);
        QTest::newRow("xing after v2.4 with footer")
            << tag(4, frame(4, "TIT2", latin("v24")), 0x10) + QByteArray("3DI\4\0\x10", 6) +
                   synchsafe(11)
            << none << xingStream(6);
        // Under 76 frames the analysis passes over the Xing frame, yet it is audio.
        QTest::newRow("xing of a short file")
            << tag(3, frame(3, "TIT2", latin("x"))) << none << xingStream(6, 6);
        // Free format: the bit rate is not in the headers, the frame length is the distance
        // between them (653 bytes at 200 kbit/s and 44.1 kHz, padding from the second frame).
        QByteArray free;
        for (int f = 0; f < 6; ++f)
            free += QByteArray(f ? "\xFF\xFB\x02\x44" : "\xFF\xFB\x00\x44", 4) +
                    QByteArray(f ? 650 : 649, char(f + 1));
        QTest::newRow("free format") << none << none << free;
    }

    void audioKept()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, following);
        QFETCH(QByteArray, audio);
        QVERIFY(writeFile(m_path, before + audio));
        QVERIFY(saved(tags::writeTagV2(m_path, fullRecord())));
        const QByteArray after = readFile(m_path);
        QCOMPARE(after.mid(qsizetype(tags::id3v2DeclaredSize(after))), following + audio);
        QCOMPARE(tags::readTagV2(m_path).value().Titre(), fullRecord().Titre());
        // Writing the same record again gives the same bytes.
        QVERIFY(saved(tags::writeTagV2(m_path, fullRecord())));
        QCOMPARE(readFile(m_path), after);
    }
};

QTEST_GUILESS_MAIN(TestId3)
#include "tst_id3.moc"
