#include "tags/cleantagtext.h"
#include "tags/tagtype.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void cleanText_data();
    void cleanText();
    void v1TextLimits_data();
    void v1TextLimits();
    void v1Genre_data();
    void v1Genre();
    void v2TextsUnfiltered();
    void freshRecords();
    void picFromFile_data();
    void picFromFile();
};

void TestRecords::cleanText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clean");
    QTest::newRow("plain") << "Bonjour"
                           << "Bonjour";
    QTest::newRow("after the last nul") << QString::fromUtf8("ab\0cd", 5) << "cd";
    QTest::newRow("trailing nul empties") << QString::fromUtf8("abc\0", 4) << "";
    QTest::newRow("tab removed") << "a\tb"
                                 << "ab";
    QTest::newRow("crlf kept") << "a\r\nb"
                               << "a\r\nb";
    QTest::newRow("lone lf removed") << "a\nb"
                                     << "ab";
    QTest::newRow("lone cr removed") << "a\rb"
                                     << "ab";
    QTest::newRow("cr at the end removed") << "ab\r"
                                           << "ab";
    QTest::newRow("cr cr lf keeps one pair") << "a\r\r\nb"
                                             << "a\r\nb";
    QTest::newRow("del removed") << "a\x7F"
                                    "b"
                                 << "ab";
    QTest::newRow("y diaeresis removed") << "aÿb"
                                         << "ab";
    QTest::newRow("accents kept") << "éàç€"
                                  << "éàç€";
    QTest::newRow("outside windows-1252 kept") << "Бах 日本"
                                               << "Бах 日本";
    QTest::newRow("trailing spaces kept") << "ab  "
                                          << "ab  ";
}

void TestRecords::cleanText()
{
    QFETCH(QString, text);
    QFETCH(QString, clean);
    QCOMPARE(tags::cleanTagText(text), clean);
}

void TestRecords::v1TextLimits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("stored");
    const QString forty = QString(40, u'x');
    QTest::newRow("title cut to 30") << "Titre" << forty << QString(30, u'x');
    QTest::newRow("artist cut to 30") << "Artiste" << forty << QString(30, u'x');
    QTest::newRow("album cut to 30") << "Album" << forty << QString(30, u'x');
    QTest::newRow("year cut to 4") << "Annee"
                                   << "2001-05"
                                   << "2001";
    QTest::newRow("comment cut to 28") << "Commentaire" << forty << QString(28, u'x');
    QTest::newRow("filter before the cut") << "Titre"
                                           << "\t\t" + QString(30, u'y') << QString(30, u'y');
    QTest::newRow("title after nul") << "Titre" << QString::fromUtf8("ab\0cd", 5) << "cd";
    QTest::newRow("comment crlf kept") << "Commentaire"
                                       << "un\r\ndeux"
                                       << "un\r\ndeux";
    QTest::newRow("comment lone lf joined") << "Commentaire"
                                            << "un\ndeux"
                                            << "undeux";
}

void TestRecords::v1TextLimits()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, stored);
    tags::TypeTagV1 tag;
    if (field == "Titre") {
        tag.setTitre(value);
        QCOMPARE(tag.Titre(), stored);
    } else if (field == "Artiste") {
        tag.setArtiste(value);
        QCOMPARE(tag.Artiste(), stored);
    } else if (field == "Album") {
        tag.setAlbum(value);
        QCOMPARE(tag.Album(), stored);
    } else if (field == "Annee") {
        tag.setAnnee(value);
        QCOMPARE(tag.Annee(), stored);
    } else {
        tag.setCommentaire(value);
        QCOMPARE(tag.Commentaire(), stored);
    }
}

void TestRecords::v1Genre_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("stored");
    QTest::newRow("last listed") << 147 << 147;
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("first unlisted") << 148 << 255;
    QTest::newRow("negative") << -1 << 255;
    QTest::newRow("none") << 255 << 255;
    QTest::newRow("254") << 254 << 255;
    QTest::newRow("above a byte") << 256 << 255;
}

void TestRecords::v1Genre()
{
    QFETCH(int, value);
    QFETCH(int, stored);
    tags::TypeTagV1 tag;
    tag.setGenre(value);
    QCOMPARE(tag.Genre(), stored);
}

void TestRecords::v2TextsUnfiltered()
{
    tags::TypeTagV2 tag;
    const QString long300 = QString(300, u'z');
    tag.setTitre(long300);
    tag.setPiste("  7/12  ");
    tag.setCommentaire("a\tb\nc");
    tag.setGenre(1000);
    QCOMPARE(tag.Titre(), long300);
    QCOMPARE(tag.Piste(), QStringLiteral("7/12"));
    QCOMPARE(tag.Commentaire(), QStringLiteral("a\tb\nc"));
    QCOMPARE(tag.Genre(), 1000);
}

void TestRecords::freshRecords()
{
    const tags::TagType tag;
    QVERIFY(!tag.TagV1.Valide());
    QVERIFY(!tag.TagV2.Valide());
    QCOMPARE(tag.TagV1.Genre(), 0);
    QCOMPARE(tag.TagV2.Genre(), 0);
    QCOMPARE(tag.TagV1.Piste(), qint16(0));
    QVERIFY(tag.TagV2.Pic().isNull());
    QVERIFY(tag.TagV2.picturePath().isEmpty());
}

void TestRecords::picFromFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("create");
    QTest::addColumn<bool>("taken");
    QTest::newRow("jpg") << "pochette.jpg" << true << true;
    QTest::newRow("JPG in capitals") << "POCHETTE.JPG" << true << true;
    QTest::newRow("jpeg extension") << "pochette.jpeg" << true << false;
    QTest::newRow("png") << "pochette.png" << true << false;
    QTest::newRow("missing file") << "absente.jpg" << false << false;
}

void TestRecords::picFromFile()
{
    QFETCH(QString, name);
    QFETCH(bool, create);
    QFETCH(bool, taken);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (create) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xD8\xFF");
    }
    tags::TypeTagV2 tag;
    tag.SetPicFromFile(path);
    QCOMPARE(tag.picturePath(), taken ? path : QString());
    // A refused path leaves an earlier choice alone.
    tag.SetPicFromFile(dir.path());
    QCOMPARE(tag.picturePath(), taken ? path : QString());
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
