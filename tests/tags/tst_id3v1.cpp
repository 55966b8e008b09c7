// The foundation of tagging: Windows-1252 text, genres, the records' rules and the ID3v1 codec.
#include "base/windows1252.h"
#include "tags/genres.h"
#include "tags/id3v1.h"

#include "tagtestutil.h"

#include <QTemporaryDir>

using namespace tagtest;

namespace {

// A block with the given title, the bytes 125 and 126 (track) and the genre byte.
QByteArray block(const QByteArray &title, char b125 = 0, char b126 = 0, char genre = char(255))
{
    return "TAG" + title.leftJustified(30, '\0', true) + QByteArray(92, '\0') + b125 + b126 + genre;
}

} // namespace

class TestId3v1 : public QObject
{
    Q_OBJECT
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

    void parse_data()
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
        QTest::newRow("lower-case letters") << "tag" + block("x").mid(3) << "1|x|0|255";
        QTest::newRow("other letters") << "TAB" + block("x").mid(3) << "0||0|255";
        QTest::newRow("one byte short") << block("x").left(127) << "0||0|255";
        QTest::newRow("empty") << QByteArray() << "0||0|255";
    }

    void parse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const tags::TypeTagV1 t = tags::parseId3v1(bytes);
        QCOMPARE(QStringList({QString::number(t.Valide()), t.Titre(), QString::number(t.Piste()),
                              QString::number(t.Genre())})
                     .join('|'),
                 expected);
    }

    void writeLayout()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.mp3");
        const QByteArray audio = mpegFrames(3);
        QVERIFY(writeAll(path, audio));
        tags::TypeTagV1 t;
        t.setValide(true);
        t.setTitre("Été");
        t.setArtiste("Чайковский");
        t.setAlbum("Album 🎵");
        t.setAnnee("1999");
        t.setCommentaire(QString(28, u'c'));
        t.setPiste(12);
        t.setGenre(147);
        QVERIFY(tags::writeTagV1(path, t));
        QCOMPARE(readAll(path), audio + "TAG" + QByteArray("\xC9t\xE9").leftJustified(30, '\0') +
                                    QByteArray(10, '?').leftJustified(30, '\0') +
                                    QByteArray("Album ?").leftJustified(30, '\0') + "1999" +
                                    QByteArray(28, 'c') + '\0' + char(12) + char(147));
        // A second write replaces the block.
        t.setArtiste("Second");
        t.setAlbum("Album ?");
        QVERIFY(tags::writeTagV1(path, t));
        QCOMPARE(readAll(path).size(), audio.size() + 128);
        QCOMPARE(tags::readTagV1(path), t);
    }

    void writeRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("piste");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("empty file") << QByteArray() << 1 << false;
        QTest::newRow("negative track") << mpegFrames(1) << -1 << false;
        QTest::newRow("track 256 over a block") << mpegFrames(1) + block("old") << 256 << false;
        QTest::newRow("read-only file with a block") << mpegFrames(1) + block("old") << 1 << true;
    }

    void writeRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, piste);
        QFETCH(bool, readOnly);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.mp3");
        QVERIFY(writeAll(path, content));
        if (readOnly)
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        tags::TypeTagV1 t;
        t.setValide(true);
        t.setTitre("Nouveau");
        t.setPiste(qint16(piste));
        QVERIFY(!tags::writeTagV1(path, t));
        QCOMPARE(readAll(path), content);
    }

    void readFailures()
    {
        // Only the last 128 bytes count: a block at the start of a file is not read.
        QTemporaryDir dir;
        const QString shortFile = dir.filePath("court.mp3"), start = dir.filePath("debut.mp3");
        QVERIFY(writeAll(shortFile, block("x").left(127)));
        QVERIFY(writeAll(start, block("x") + mpegFrames(1)));
        for (const QString &path : {dir.filePath("absent.mp3"), dir.path(), shortFile, start}) {
            const tags::TypeTagV1 t = tags::readTagV1(path);
            QVERIFY2(!t.Valide() && t.Titre().isEmpty(), qPrintable(path));
            QCOMPARE(t.Genre(), 255);
        }
    }
};

QTEST_GUILESS_MAIN(TestId3v1)
#include "tst_id3v1.moc"
