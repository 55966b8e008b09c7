#include "tags/id3v1.h"

#include "tagtestutil.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using tagtest::readAll;
using tagtest::writeAll;

namespace {

// A block with the given title, every other field empty.
QByteArray blockWithTitle(const QByteArray &title)
{
    QByteArray block("TAG");
    block += title.leftJustified(30, '\0', true);
    block += QByteArray(30 + 30 + 4 + 28, '\0');
    block += '\0'; // ID3v1.1 marker
    block += '\0'; // track
    block += char(255);
    return block;
}

} // namespace

class TestId3v1 : public QObject
{
    Q_OBJECT
private slots:
    void parseFields();
    void parseTitle_data();
    void parseTitle();
    void trackAndGenre_data();
    void trackAndGenre();
    void notATag_data();
    void notATag();
    void renderLayout();
    void renderTextEncoding_data();
    void renderTextEncoding();
    void writeAppendsThenReplaces();
    void writeRefused_data();
    void writeRefused();
    void invalidRecordChangesNothing();
    void readFailures_data();
    void readFailures();
    void removeBlock();
    void mutagenReadsWhatWeWrite();
    void corpusReadsWithoutCrash();
};

void TestId3v1::parseFields()
{
    QByteArray block("TAG");
    block += QByteArray("Silence").leftJustified(30, '\0');
    block += QByteArray("piman").leftJustified(30, '\0');
    block += QByteArray("Quod Libet").leftJustified(30, '\0');
    block += "2004";
    block += QByteArray("un commentaire").leftJustified(28, '\0');
    block += '\0';
    block += char(2);
    block += char(50);
    const tags::TypeTagV1 tag = tags::parseId3v1(block);
    QVERIFY(tag.Valide());
    QCOMPARE(tag.Titre(), QStringLiteral("Silence"));
    QCOMPARE(tag.Artiste(), QStringLiteral("piman"));
    QCOMPARE(tag.Album(), QStringLiteral("Quod Libet"));
    QCOMPARE(tag.Annee(), QStringLiteral("2004"));
    QCOMPARE(tag.Commentaire(), QStringLiteral("un commentaire"));
    QCOMPARE(tag.Piste(), qint16(2));
    QCOMPARE(tag.Genre(), 50);
}

void TestId3v1::parseTitle_data()
{
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QString>("expected");
    QTest::newRow("five letters then zeros") << QByteArray("Abcde") << "Abcde";
    QTest::newRow("padded with spaces keeps them")
        << QByteArray("Abc").leftJustified(30, ' ') << "Abc" + QString(27, u' ');
    QTest::newRow("full 30 characters") << QByteArray(30, 'x') << QString(30, u'x');
    QTest::newRow("windows-1252 accents and euro") << QByteArray("\xC9t\xE9 \x80") << "Été €";
    QTest::newRow("text after first nul ignored") << QByteArray("ab\0cd", 5) << "ab";
    QTest::newRow("control characters filtered") << QByteArray("a\tb\x01") << "ab";
    QTest::newRow("y diaeresis filtered") << QByteArray("\xFFok") << "ok";
}

void TestId3v1::parseTitle()
{
    QFETCH(QByteArray, title);
    QFETCH(QString, expected);
    QCOMPARE(tags::parseId3v1(blockWithTitle(title)).Titre(), expected);
}

void TestId3v1::trackAndGenre_data()
{
    QTest::addColumn<int>("byte125");
    QTest::addColumn<int>("byte126");
    QTest::addColumn<int>("byte127");
    QTest::addColumn<int>("piste");
    QTest::addColumn<int>("genre");
    QTest::newRow("v1.1 track") << 0 << 5 << 17 << 5 << 17;
    QTest::newRow("track 255") << 0 << 255 << 0 << 255 << 0;
    QTest::newRow("v1.0 comment gives its last character")
        << int('x') << int('y') << 17 << int('y') << 17;
    QTest::newRow("last listed genre") << 0 << 0 << 147 << 0 << 147;
    QTest::newRow("first unlisted genre") << 0 << 0 << 148 << 0 << 255;
    QTest::newRow("high genre byte") << 0 << 0 << 200 << 0 << 255;
    QTest::newRow("no genre") << 0 << 0 << 255 << 0 << 255;
}

void TestId3v1::trackAndGenre()
{
    QFETCH(int, byte125);
    QFETCH(int, byte126);
    QFETCH(int, byte127);
    QFETCH(int, piste);
    QFETCH(int, genre);
    QByteArray block = blockWithTitle("x");
    block[125] = char(byte125);
    block[126] = char(byte126);
    block[127] = char(byte127);
    const tags::TypeTagV1 tag = tags::parseId3v1(block);
    QCOMPARE(int(tag.Piste()), piste);
    QCOMPARE(tag.Genre(), genre);
}

void TestId3v1::notATag_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<bool>("valid");
    QTest::newRow("lower-case tag letters") << "tag" + blockWithTitle("x").mid(3) << true;
    QTest::newRow("mixed case") << "TaG" + blockWithTitle("x").mid(3) << true;
    QTest::newRow("other letters") << "TAB" + blockWithTitle("x").mid(3) << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("one byte short") << blockWithTitle("x").left(127) << false;
    QTest::newRow("one byte long") << blockWithTitle("x") + 'x' << false;
}

void TestId3v1::notATag()
{
    QFETCH(QByteArray, block);
    QFETCH(bool, valid);
    const tags::TypeTagV1 tag = tags::parseId3v1(block);
    QCOMPARE(tag.Valide(), valid);
    if (!valid) {
        QCOMPARE(tag.Genre(), 255);
        QVERIFY(tag.Titre().isEmpty());
    }
}

void TestId3v1::renderLayout()
{
    tags::TypeTagV1 tag;
    tag.setValide(true);
    tag.setTitre("Titre");
    tag.setArtiste("Artiste");
    tag.setAlbum("Album");
    tag.setAnnee("1999");
    tag.setCommentaire(QString(28, u'c'));
    tag.setPiste(12);
    tag.setGenre(147);
    QByteArray expected;
    expected += "TAG";
    expected += QByteArray("Titre").leftJustified(30, '\0');
    expected += QByteArray("Artiste").leftJustified(30, '\0');
    expected += QByteArray("Album").leftJustified(30, '\0');
    expected += "1999";
    expected += QByteArray(28, 'c');
    expected += '\0';
    expected += char(12);
    expected += char(147);
    QCOMPARE(tags::renderId3v1(tag).value(), expected);
    QCOMPARE(tags::parseId3v1(expected), tag);
}

void TestId3v1::renderTextEncoding_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("french accents") << "Été à Paris" << QByteArray("\xC9t\xE9 \xE0 Paris");
    QTest::newRow("euro sign") << "10 €" << QByteArray("10 \x80");
    QTest::newRow("outside windows-1252 becomes ?") << "Чайковский" << QByteArray(10, '?');
    QTest::newRow("beyond 16 bits is one ?") << "a😀b" << QByteArray("a?b");
}

void TestId3v1::renderTextEncoding()
{
    QFETCH(QString, title);
    QFETCH(QByteArray, bytes);
    tags::TypeTagV1 tag;
    tag.setValide(true);
    tag.setTitre(title);
    QCOMPARE(tags::renderId3v1(tag).value().mid(3, 30), bytes.leftJustified(30, '\0'));
}

void TestId3v1::writeAppendsThenReplaces()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray audio = tagtest::mpegFrames(3);
    QVERIFY(writeAll(path, audio));
    tags::TypeTagV1 tag;
    tag.setValide(true);
    tag.setTitre("Premier");
    tag.setPiste(1);
    QVERIFY(tags::writeTagV1(path, tag));
    QByteArray bytes = readAll(path);
    QCOMPARE(bytes.size(), audio.size() + 128);
    QCOMPARE(bytes.left(audio.size()), audio);
    QCOMPARE(bytes.mid(audio.size()), tags::renderId3v1(tag).value());

    tag.setTitre("Second");
    tag.setGenre(255);
    QVERIFY(tags::writeTagV1(path, tag));
    bytes = readAll(path);
    QCOMPARE(bytes.size(), audio.size() + 128);
    QCOMPARE(bytes.left(audio.size()), audio);
    QCOMPARE(tags::readTagV1(path), tag);
}

void TestId3v1::writeRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("piste");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("file of 100 bytes") << QByteArray(100, 'a') << 1 << false;
    QTest::newRow("empty file") << QByteArray() << 1 << false;
    QTest::newRow("track 256") << tagtest::mpegFrames(1) << 256 << false;
    QTest::newRow("negative track") << tagtest::mpegFrames(1) << -1 << false;
    QTest::newRow("track 256 over a block")
        << tagtest::mpegFrames(1) + blockWithTitle("old") << 256 << false;
    QTest::newRow("read-only file") << tagtest::mpegFrames(1) << 1 << true;
    QTest::newRow("read-only file with a block")
        << tagtest::mpegFrames(1) + blockWithTitle("old") << 1 << true;
}

void TestId3v1::writeRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(int, piste);
    QFETCH(bool, readOnly);
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    QVERIFY(writeAll(path, content));
    if (readOnly)
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    tags::TypeTagV1 tag;
    tag.setValide(true);
    tag.setTitre("Nouveau");
    tag.setPiste(qint16(piste));
    QVERIFY(!tags::writeTagV1(path, tag));
    QCOMPARE(readAll(path), content);
}

void TestId3v1::invalidRecordChangesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray content = tagtest::mpegFrames(1) + blockWithTitle("garde");
    QVERIFY(writeAll(path, content));
    tags::TypeTagV1 tag;
    tag.setTitre("jamais");
    QVERIFY(tags::writeTagV1(path, tag));
    QCOMPARE(readAll(path), content);
    // Even a file too short for a block: nothing to write, so nothing fails.
    const QString shortPath = dir.filePath("court.mp3");
    QVERIFY(writeAll(shortPath, "abc"));
    QVERIFY(tags::writeTagV1(shortPath, tag));
    QCOMPARE(readAll(shortPath), QByteArray("abc"));
}

void TestId3v1::readFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing file") << "missing";
    QTest::newRow("directory") << "directory";
    QTest::newRow("127 bytes") << "short";
    QTest::newRow("block at the start only") << "start";
}

void TestId3v1::readFailures()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = dir.filePath("a.mp3");
    if (kind == "directory")
        path = dir.path();
    else if (kind == "short")
        QVERIFY(writeAll(path, blockWithTitle("x").left(127)));
    else if (kind == "start")
        QVERIFY(writeAll(path, blockWithTitle("x") + tagtest::mpegFrames(1)));
    const tags::TypeTagV1 tag = tags::readTagV1(path);
    QVERIFY(!tag.Valide());
    QCOMPARE(tag.Genre(), 255);
    QCOMPARE(tag.Piste(), qint16(0));
    QVERIFY(tag.Titre().isEmpty());
}

void TestId3v1::removeBlock()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray audio = tagtest::mpegFrames(2);
    QVERIFY(writeAll(path, audio + blockWithTitle("x")));
    QVERIFY(tags::removeTagV1(path));
    QCOMPARE(readAll(path), audio);
    QVERIFY(tags::removeTagV1(path)); // nothing left to remove
    QCOMPARE(readAll(path), audio);
}

void TestId3v1::mutagenReadsWhatWeWrite()
{
    if (!tagtest::haveMutagen())
        QSKIP("mutagen (python3-mutagen) n'est pas installé");
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    QVERIFY(writeAll(path, tagtest::mpegFrames(4)));
    tags::TypeTagV1 tag;
    tag.setValide(true);
    tag.setTitre("Élégie à la française");
    tag.setArtiste("Gabriel Fauré");
    tag.setAlbum("Mélodies, volume 1");
    tag.setAnnee("1887");
    tag.setCommentaire("Crème brûlée");
    tag.setPiste(7);
    tag.setGenre(32);
    QVERIFY(tags::writeTagV1(path, tag));

    const QString script = QStringLiteral(R"(
import json, sys
from mutagen.id3._id3v1 import ParseID3v1
with open(sys.argv[1], 'rb') as f:
    f.seek(-128, 2)
    frames = ParseID3v1(f.read())
out = {k: str(v.text[0]) for k, v in frames.items() if k != 'TCON'}
out['TCON'] = frames['TCON'].genres[0]
print(json.dumps(out))
)");
    const QByteArray output = tagtest::runMutagen(script, {path});
    QVERIFY(!output.isNull());
    const QJsonObject read = QJsonDocument::fromJson(output).object();
    QCOMPARE(read.value("TIT2").toString(), tag.Titre());
    QCOMPARE(read.value("TPE1").toString(), tag.Artiste());
    QCOMPARE(read.value("TALB").toString(), tag.Album());
    QCOMPARE(read.value("TDRC").toString(), tag.Annee());
    QCOMPARE(read.value("COMM").toString(), tag.Commentaire());
    QCOMPARE(read.value("TRCK").toString(), QStringLiteral("7"));
    QCOMPARE(read.value("TCON").toString(), QStringLiteral("Classical"));
}

void TestId3v1::corpusReadsWithoutCrash()
{
    const QStringList files = tagtest::corpusFiles();
    if (files.isEmpty())
        QSKIP("corpus extérieur absent (TARVEX_CORPUS)");
    int tagged = 0;
    for (const QString &file : files) {
        const QByteArray bytes = readAll(file);
        const tags::TypeTagV1 tag = tags::readTagV1(file);
        const bool hasBlock = bytes.size() >= 128 && tags::isId3v1Block(bytes.right(128));
        QCOMPARE(tag.Valide(), hasBlock);
        tagged += tag.Valide();
        if (file.endsWith("silence-44-s-v1.mp3")) {
            QCOMPARE(tag.Titre(), QStringLiteral("Silence"));
            QCOMPARE(tag.Artiste(), QStringLiteral("piman"));
            QCOMPARE(tag.Piste(), qint16(2));
            QCOMPARE(tag.Genre(), 50);
        }
    }
    QVERIFY(tagged > 0);
}

QTEST_GUILESS_MAIN(TestId3v1)
#include "tst_id3v1.moc"
