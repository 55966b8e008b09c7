#include "tags/id3v1.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"

#include "tagtestutil.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tagtest;

namespace {

QByteArray latin(const QByteArray &text)
{
    return '\0' + text;
}

QByteArray jpegBytes(int width = 8)
{
    QImage image(width, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

tags::TypeTagV2 fullRecord()
{
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setTitre("Titre");
    t.setArtiste("Artiste");
    t.setAlbum("Album");
    t.setAnnee("2001");
    t.setCommentaire("Comm");
    t.setPiste("3/9");
    t.setGenre(17);
    t.setCompositeur("Comp");
    t.setOriginal("Orig");
    t.setCopyright("Copy");
    t.setUrl("http://u");
    t.setEncode("Enc");
    return t;
}

// The identifiers of the frames of a tag, in order.
QList<QByteArray> frameIds(const QByteArray &tagBytes)
{
    QList<QByteArray> ids;
    for (const tags::Id3v2Frame &f : tags::walkId3v2(tagBytes).frames)
        ids.append(f.id);
    return ids;
}

// Size of the tag that opens the bytes (0 without one).
qsizetype tagLength(const QByteArray &bytes)
{
    return qsizetype(tags::id3v2DeclaredSize(bytes));
}

} // namespace

class TestId3v2Write : public QObject
{
    Q_OBJECT
private slots:
    void titleOnlyTag();
    void genreFrame_data();
    void genreFrame();
    void frameOrder();
    void textEncoding_data();
    void textEncoding();
    void urlBytes_data();
    void urlBytes();
    void blankTrackWritesNoFrame();
    void tagTooLarge();
    void writeIntoFile();
    void writeTwiceIsIdentical();
    void removeTag();
    void noFrameSync();
    void xingByteCount_data();
    void xingByteCount();
    void shortXingFrameKept();
    void audioKept_data();
    void audioKept();
    void keepsUnknownFramesAndPicture();
    void newPictureReplacesOld();
    void version24FramesConverted();
    void permissionsAndLinks();
};

void TestId3v2Write::titleOnlyTag()
{
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(255);
    t.setTitre("Silence");
    QByteArray expected("ID3\x03\x00\x00", 6);
    expected += synchsafe(11 + 10 + 1 + 7);
    expected += "TIT2";
    expected += bigEndian(8, 4);
    expected += QByteArray(2, '\0');
    expected += QByteArray("\0Silence", 8);
    expected += QByteArray(11, '\0');
    QCOMPARE(tags::renderId3v2(t).value(), expected);
}

void TestId3v2Write::genreFrame_data()
{
    QTest::addColumn<int>("genre");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("listed genre") << 17 << QByteArray("\0(17)Rock", 9);
    QTest::newRow("fresh record genre 0") << 0 << QByteArray("\0(0)Blues", 9);
    QTest::newRow("unlisted number") << 200 << QByteArray("\0(200)", 6);
    QTest::newRow("no genre") << 255 << QByteArray();
}

void TestId3v2Write::genreFrame()
{
    QFETCH(int, genre);
    QFETCH(QByteArray, body);
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(genre);
    const tags::Id3v2Tag parsed = tags::walkId3v2(tags::renderId3v2(t).value());
    if (body.isEmpty()) {
        QVERIFY(parsed.frames.isEmpty());
    } else {
        QCOMPARE(parsed.frames.size(), 1);
        QCOMPARE(parsed.frames[0].id, QByteArray("TCON"));
        QCOMPARE(parsed.frames[0].body, body);
        QCOMPARE(tags::parseId3v2(tags::renderId3v2(t).value()).Genre(), genre);
    }
}

void TestId3v2Write::frameOrder()
{
    QTemporaryDir dir;
    const QString jpeg = dir.filePath("p.jpg");
    QVERIFY(writeAll(jpeg, jpegBytes()));
    const QByteArray bytes = tags::renderId3v2(fullRecord(), readAll(jpeg)).value();
    QCOMPARE(frameIds(bytes),
             (QList<QByteArray>{"TIT2", "TPE1", "TALB", "TYER", "COMM", "TRCK", "TCON", "TCOM",
                                "TOPE", "TCOP", "WXXX", "TENC", "APIC"}));
    QVERIFY(bytes.endsWith(QByteArray(11, '\0')));
    const tags::Id3v2Tag parsed = tags::walkId3v2(bytes);
    QCOMPARE(parsed.frames[4].body, QByteArray("\0\0\0\0\0Comm", 9));
    QCOMPARE(parsed.frames[10].body, QByteArray("\0\0http://u", 10));
    QCOMPARE(parsed.frames[12].body, QByteArray("\0image/jpg\0\0\0", 13) + readAll(jpeg));
    // The header's size counts every byte after it.
    QCOMPARE(tagLength(bytes), bytes.size());
}

void TestId3v2Write::textEncoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("ascii keeps encoding 0") << "Abc" << QByteArray("\0Abc", 4);
    QTest::newRow("accents keep encoding 0") << "Été" << QByteArray("\0\xC9t\xE9", 4);
    QTest::newRow("euro uses encoding 1 (not in ISO-8859-1)") << "€"
                                                              << "\x01" + utf16le("€");
    QTest::newRow("oe ligature uses encoding 1") << "sœur"
                                                 << "\x01" + utf16le("sœur");
    QTest::newRow("cyrillic uses encoding 1") << "Бах"
                                              << "\x01" + utf16le("Бах");
    QTest::newRow("beyond 16 bits uses encoding 1") << "a😀"
                                                    << "\x01" + utf16le("a😀");
}

void TestId3v2Write::textEncoding()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, body);
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(255);
    t.setArtiste(text);
    t.setCommentaire(text);
    const QByteArray bytes = tags::renderId3v2(t).value();
    const tags::Id3v2Tag parsed = tags::walkId3v2(bytes);
    QCOMPARE(parsed.frames[0].body, body);
    const tags::TypeTagV2 back = tags::parseId3v2(bytes);
    QCOMPARE(back.Artiste(), text);
    QCOMPARE(back.Commentaire(), text);
}

void TestId3v2Write::urlBytes_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("ascii as it stands") << "http://a.fr" << QByteArray("\0\0http://a.fr", 13);
    // Read from a file as Windows-1252: it must be written back as the same byte.
    QTest::newRow("windows-1252 only letter keeps its byte") << "htt\u017D" << QByteArray("\0\0htt\x8E", 6);
    QTest::newRow("outside windows-1252 is percent-encoded") << "a\u0411" << QByteArray("\0\0a%D0%91", 9);
}

void TestId3v2Write::urlBytes()
{
    QFETCH(QString, url);
    QFETCH(QByteArray, body);
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(255);
    t.setUrl(url);
    const QByteArray bytes = tags::renderId3v2(t).value();
    const tags::Id3v2Tag parsed = tags::walkId3v2(bytes);
    QCOMPARE(parsed.frames[0].id, QByteArray("WXXX"));
    QCOMPARE(parsed.frames[0].body, body);
}

void TestId3v2Write::blankTrackWritesNoFrame()
{
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(255);
    t.setPiste("   ");
    QCOMPARE(tags::renderId3v2(t).value().size(), 10 + 11);
}

void TestId3v2Write::tagTooLarge()
{
    tags::TypeTagV2 t;
    t.setValide(true);
    const QByteArray picture((1 << 28) - 20, 'p');
    const tags::Result<QByteArray> rendered = tags::renderId3v2(t, picture);
    QVERIFY(!rendered.ok());
    QVERIFY(!rendered.error().isEmpty());
}

void TestId3v2Write::writeIntoFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray audio = mpegFrames(5);
    QVERIFY(writeAll(path, audio));
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(255);
    t.setTitre("Silence");
    const tags::Result<bool> written = tags::writeTagV2(path, t);
    QVERIFY2(written.ok(), qPrintable(written.error()));
    QVERIFY(*written);
    QCOMPARE(readAll(path), tags::renderId3v2(t).value() + audio);
    QCOMPARE(tags::readTagV2(path)->Titre(), QStringLiteral("Silence"));
}

void TestId3v2Write::writeTwiceIsIdentical()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QString jpeg = dir.filePath("p.jpg");
    QVERIFY(writeAll(jpeg, jpegBytes()));
    const QByteArray old = tag(3, frame(3, "TXXX", latin(QByteArray("cle\0valeur", 10))) +
                                      frame(3, "TIT2", latin("x")));
    QVERIFY(writeAll(path, old + tagtest::xingStream(4) + mpegFrames(3)));
    tags::TypeTagV2 t = fullRecord();
    t.SetPicFromFile(jpeg);
    QVERIFY(*tags::writeTagV2(path, t));
    const QByteArray first = readAll(path);
    QVERIFY(*tags::writeTagV2(path, t));
    QCOMPARE(readAll(path), first);
}

void TestId3v2Write::removeTag()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray audio = mpegFrames(3);
    QByteArray v1 = tags::renderId3v1([] {
                        tags::TypeTagV1 t;
                        t.setValide(true);
                        t.setTitre("v1");
                        return t;
                    }())
                        .value();
    // Junk between the tag and the first frame goes too.
    QVERIFY(writeAll(path, tag(3, frame(3, "TIT2", latin("x")) + QByteArray(30, '\0')) +
                               QByteArray(7, '\x11') + audio + v1));
    const tags::Result<bool> removed = tags::writeTagV2(path, tags::TypeTagV2());
    QVERIFY(removed.ok() && *removed);
    QCOMPARE(readAll(path), audio + v1);
    QVERIFY(!tags::readTagV2(path)->Valide());
    QCOMPARE(tags::readTagV1(path).Titre(), QStringLiteral("v1"));
}

void TestId3v2Write::noFrameSync()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray content =
        tag(3, frame(3, "APIC", QByteArray("\0image/jpg\0\0\0\xFF\xFB\x90", 16))) +
        QByteArray(500, '\x22') + "\xFF";
    QVERIFY(writeAll(path, content));
    const tags::Result<bool> written = tags::writeTagV2(path, fullRecord());
    QVERIFY(written.ok());
    QVERIFY(!*written);
    QCOMPARE(readAll(path), content);
}

void TestId3v2Write::xingByteCount_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no tag") << QByteArray();
    QTest::newRow("v2.3 tag") << tag(3, frame(3, "TIT2", latin("ancien")) + QByteArray(100, '\0'));
    QTest::newRow("v2.4 tag with footer") << tag(4, frame(4, "TIT2", latin("v24")), 0x10) +
                                                 QByteArray("3DI\x04\0\x10", 6) + synchsafe(11);
}

void TestId3v2Write::xingByteCount()
{
    QFETCH(QByteArray, before);
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray audio = xingStream(6);
    QVERIFY(writeAll(path, before + audio));
    const tags::TypeTagV2 t = fullRecord();
    QVERIFY(*tags::writeTagV2(path, t));
    const QByteArray after = readAll(path);
    const qsizetype q = tagLength(after);
    QCOMPARE(after.mid(q + 36, 4), QByteArray("Xing"));
    QCOMPARE(after.mid(q + 36 + 12, 4), bigEndian(quint32(after.size()), 4));
    // Everything else of the audio is as it was.
    QByteArray expected = audio;
    expected.replace(36 + 12, 4, bigEndian(quint32(after.size()), 4));
    QCOMPARE(after.mid(q), expected);
}

void TestId3v2Write::shortXingFrameKept()
{
    // A Xing header announcing 6 frames: the analysis passes over it (under 76 frames), yet it
    // is a real frame of the file.
    QByteArray audio = xingStream(6);
    audio.replace(36 + 8, 4, bigEndian(6, 4));
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    QVERIFY(writeAll(path, tag(3, frame(3, "TIT2", latin("x"))) + audio));
    QVERIFY(*tags::writeTagV2(path, fullRecord()));
    const QByteArray saved = readAll(path);
    audio.replace(36 + 12, 4, bigEndian(quint32(saved.size()), 4));
    QCOMPARE(saved.mid(tagLength(saved)), audio);
}

void TestId3v2Write::audioKept_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    // Picture bytes full of false frame syncs, so that a search inside the tag would stop there.
    const QByteArray syncs = QByteArray("\xFF\xFB\x90\x00", 4).repeated(64);
    const QByteArray v1 = tags::renderId3v1([] {
                              tags::TypeTagV1 t;
                              t.setValide(true);
                              return t;
                          }())
                              .value();
    QTest::newRow("no tag") << QByteArray() << QByteArray();
    QTest::newRow("id3v1 only") << QByteArray() << v1;
    QTest::newRow("v2.2 with picture")
        << tag(2, frame(2, "PIC", QByteArray("\0JPG\0\0", 6) + syncs)) << v1;
    QTest::newRow("v2.3 with picture")
        << tag(3, frame(3, "APIC", QByteArray("\0image/jpg\0\0\0", 13) + syncs)) << v1;
    QTest::newRow("v2.4 with picture")
        << tag(4, frame(4, "APIC", QByteArray("\0image/jpg\0\0\0", 13) + syncs)) << QByteArray();
    QTest::newRow("unsynchronised v2.3")
        << tag(3, frame(3, "TIT2", latin("\xFF\0x")), 0x80) << QByteArray();
    QTest::newRow("two tags in a row")
        << tag(3, frame(3, "TIT2", latin("a"))) +
               tag(4, frame(4, "APIC", QByteArray("\0image/jpg\0\0\0", 13) + syncs))
        << v1;
}

void TestId3v2Write::audioKept()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray audio = mpegFrames(8) + after;
    QVERIFY(writeAll(path, before + audio));
    QVERIFY(*tags::writeTagV2(path, fullRecord()));
    const QByteArray saved = readAll(path);
    QCOMPARE(saved.mid(tagLength(saved)), audio);
    QCOMPARE(tags::readTagV2(path)->Titre(), QStringLiteral("Titre"));
}

void TestId3v2Write::keepsUnknownFramesAndPicture()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray jpeg = jpegBytes();
    const QByteArray apic = frame(3, "APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + jpeg);
    const QByteArray txxx = frame(3, "TXXX", latin(QByteArray("REPLAYGAIN\0-3 dB", 16)));
    const QByteArray priv = frame(3, "PRIV", QByteArray("owner\0\x01\x02", 8));
    const QByteArray dropped =
        frame(3, "TIT2", latin("ancien")) + frame(3, "COMM", latin(QByteArray("eng\0vieux", 9)));
    QVERIFY(writeAll(path,
                     tag(3, txxx + dropped + apic + priv + QByteArray(40, '\0')) + mpegFrames(3)));

    tags::TypeTagV2 t;
    t.setValide(true);
    t.setGenre(255);
    t.setTitre("nouveau");
    QVERIFY(*tags::writeTagV2(path, t));
    const QByteArray saved = readAll(path);
    const QByteArray expectedTag =
        tags::renderId3v2(t, {}, tags::walkId3v2(tag(3, txxx + apic + priv)).frames).value();
    QCOMPARE(saved.left(expectedTag.size()), expectedTag);
    QCOMPARE(frameIds(saved), (QList<QByteArray>{"TIT2", "TXXX", "APIC", "PRIV"}));
    const tags::TypeTagV2 back = *tags::readTagV2(path);
    QCOMPARE(back.Titre(), QStringLiteral("nouveau"));
    QVERIFY(back.Commentaire().isEmpty());
    QCOMPARE(back.PictureBinary(), jpeg);

    // Removing the tag removes everything.
    QVERIFY(*tags::writeTagV2(path, tags::TypeTagV2()));
    QCOMPARE(readAll(path), mpegFrames(3));
}

void TestId3v2Write::newPictureReplacesOld()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QString file = dir.filePath("neuf.JPG");
    const QByteArray newJpeg = jpegBytes(16);
    QVERIFY(writeAll(file, newJpeg));
    QVERIFY(writeAll(
        path, tag(3, frame(3, "APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + jpegBytes(4))) +
                  mpegFrames(2)));
    tags::TypeTagV2 t = *tags::readTagV2(path);
    t.SetPicFromFile(file);
    QVERIFY(*tags::writeTagV2(path, t));
    const QByteArray saved = readAll(path);
    QCOMPARE(frameIds(saved), QList<QByteArray>({"APIC"}));
    QCOMPARE(tags::parseId3v2(saved).PictureBinary(), newJpeg);
}

void TestId3v2Write::version24FramesConverted()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray v24 = frame(4, "TDRC", latin("2010")) + frame(4, "TSOP", latin("Sort")) +
                           frame(4, "TXXX", "\x03" + QByteArray("clé\0Ωmega", 11)) +
                           frame(4, "TPE2", "\x03" + QString("Groupe").toUtf8()) +
                           frame(4, "TIT2", latin("t"));
    QVERIFY(writeAll(path, tag(4, v24) + mpegFrames(2)));
    const tags::TypeTagV2 read = *tags::readTagV2(path);
    QCOMPARE(read.Annee(), QStringLiteral("2010"));
    QVERIFY(*tags::writeTagV2(path, read));
    const QByteArray saved = readAll(path);
    QCOMPARE(saved[3], '\x03');
    const tags::Id3v2Tag parsed = tags::walkId3v2(saved);
    QList<QByteArray> ids;
    for (const tags::Id3v2Frame &f : parsed.frames)
        ids.append(f.id);
    QCOMPARE(ids, (QList<QByteArray>{"TIT2", "TYER", "TXXX", "TPE2"}));
    QCOMPARE(parsed.frames[2].body,
             "\x01" + utf16le("clé") + QByteArray(2, '\0') + utf16le("Ωmega"));
    QCOMPARE(parsed.frames[3].body, "\x01" + utf16le("Groupe"));
}

void TestId3v2Write::permissionsAndLinks()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    QVERIFY(writeAll(path, mpegFrames(2)));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    const QString link = dir.filePath("lien.mp3");
    QVERIFY(QFile::link(path, link));
    QVERIFY(*tags::writeTagV2(link, fullRecord()));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFile::permissions(path) & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    QCOMPARE(tags::readTagV2(path)->Titre(), QStringLiteral("Titre"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

QTEST_GUILESS_MAIN(TestId3v2Write)
#include "tst_id3v2write.moc"
