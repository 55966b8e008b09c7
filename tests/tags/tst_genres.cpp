#include "tags/genres.h"

#include <QTest>

class TestGenres : public QObject
{
    Q_OBJECT
private slots:
    void fromText_data();
    void fromText();
    void name_data();
    void name();
    void choices();
};

void TestGenres::fromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("genre");
    QTest::newRow("listed name") << "Rock" << 17;
    QTest::newRow("lower case") << "rock" << 17;
    QTest::newRow("capitals") << "ROCK" << 17;
    QTest::newRow("soul") << "Soul" << 42;
    QTest::newRow("punk is not punk rock") << "Punk" << 43;
    QTest::newRow("eurodance") << "Eurodance" << 54;
    QTest::newRow("two words") << "Drum Solo" << 122;
    QTest::newRow("full name of the cut genre") << "Contemporary Christian" << 255;
    QTest::newRow("cut name itself") << "contemporary c" << 140;
    QTest::newRow("common spelling not listed") << "Psychedelic" << 255;
    QTest::newRow("listed misspelling") << "Psychadelic" << 67;
    QTest::newRow("first name") << "Blues" << 0;
    QTest::newRow("last name") << "SynthPop" << 147;
    QTest::newRow("digits") << "17" << 17;
    QTest::newRow("digits then text") << "17 Rock" << 17;
    QTest::newRow("digits with blanks inside") << "1 7" << 17;
    QTest::newRow("half rounds to even down") << "16.5" << 16;
    QTest::newRow("half rounds to even up") << "17.5" << 18;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("first unlisted number") << "148" << 255;
    QTest::newRow("rounds past the list") << "147.5" << 255;
    QTest::newRow("leading blank is not a digit") << " 17" << 255;
    QTest::newRow("parenthesised number") << "(17)" << 17;
    QTest::newRow("parenthesised number and name") << "(17)Rock" << 17;
    QTest::newRow("parenthesised number out of list") << "(148)" << 148;
    QTest::newRow("parenthesised 200") << "(200)" << 200;
    QTest::newRow("parenthesis without digits") << "(Rock)" << 0;
    QTest::newRow("lone parenthesis") << "(" << 0;
    QTest::newRow("escaped parenthesis") << "((Rock" << 255;
    QTest::newRow("beyond 16 bits") << "(40000)" << 255;
    QTest::newRow("huge exponent") << "(1e999)" << 255;
    QTest::newRow("empty") << "" << 255;
    QTest::newRow("unknown word") << "Zouk" << 255;
}

void TestGenres::fromText()
{
    QFETCH(QString, text);
    QFETCH(int, genre);
    QCOMPARE(int(tags::genreFromText(text)), genre);
}

void TestGenres::name_data()
{
    QTest::addColumn<int>("genre");
    QTest::addColumn<QString>("name");
    QTest::newRow("first") << 0 << "Blues";
    QTest::newRow("cut short") << 140 << "Contemporary C";
    QTest::newRow("misspelt") << 118 << "Rhytmic Soul";
    QTest::newRow("slash") << 62 << "Pop/Funk";
    QTest::newRow("ampersand") << 127 << "Drum & Bass";
    QTest::newRow("last") << 147 << "SynthPop";
    QTest::newRow("first unlisted") << 148 << "";
    QTest::newRow("254") << 254 << "";
    QTest::newRow("no genre") << 255 << "";
    QTest::newRow("negative") << -1 << "";
}

void TestGenres::name()
{
    QFETCH(int, genre);
    QFETCH(QString, name);
    QCOMPARE(tags::genreName(genre), name);
}

void TestGenres::choices()
{
    QStringList list = tags::genreChoices();
    QCOMPARE(list.size(), 149);
    QCOMPARE(list.first(), QString());
    QCOMPARE(list.at(1), QStringLiteral("Blues"));
    QCOMPARE(list.at(68), QStringLiteral("Psychadelic"));
    QCOMPARE(list.last(), QStringLiteral("SynthPop"));
    QCOMPARE(list.removeDuplicates(), 0);
    for (int genre = 0; genre <= 147; ++genre)
        QCOMPARE(int(tags::genreFromText(list.at(genre + 1))), genre);
}

QTEST_GUILESS_MAIN(TestGenres)
#include "tst_genres.moc"
