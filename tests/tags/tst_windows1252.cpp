#include "tags/windows1252.h"

#include <QTest>

class TestWindows1252 : public QObject
{
    Q_OBJECT
private slots:
    void toBytes_data();
    void toBytes();
    void everyByteRoundTrips();
};

void TestWindows1252::toBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("fits");
    QTest::newRow("ascii") << QStringLiteral("Abc 12") << QByteArray("Abc 12") << true;
    QTest::newRow("french accents")
        << QStringLiteral("éèàçÉÿ") << QByteArray("\xE9\xE8\xE0\xE7\xC9\xFF") << true;
    QTest::newRow("euro sign") << QStringLiteral("5 €") << QByteArray("5 \x80") << true;
    QTest::newRow("typographic quotes and oe")
        << QStringLiteral("‘œ’ Œ…") << QByteArray("\x91\x9C\x92 \x8C\x85") << true;
    QTest::newRow("upper row end") << QStringLiteral("Ÿž") << QByteArray("\x9F\x9E") << true;
    QTest::newRow("cyrillic") << QStringLiteral("Бах") << QByteArray("???") << false;
    QTest::newRow("japanese in latin") << QStringLiteral("a日b") << QByteArray("a?b") << false;
    QTest::newRow("character beyond 16 bits is one ?")
        << QStringLiteral("x🎵y") << QByteArray("x?y") << false;
    QTest::newRow("latin-1 control keeps its byte")
        << QStringLiteral("\u0081") << QByteArray("\x81") << true;
    QTest::newRow("C1 control with a 1252 glyph has no byte")
        << QStringLiteral("\u0080") << QByteArray("?") << false;
}

void TestWindows1252::toBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, fits);
    QCOMPARE(tags::toWindows1252(text), bytes);
    QCOMPARE(tags::fitsWindows1252(text), fits);
    if (fits)
        QCOMPARE(tags::fromWindows1252(bytes), text);
}

void TestWindows1252::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = tags::fromWindows1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0x9F), QChar(0x0178));
    QCOMPARE(text.at(0xE9), QChar(0xE9));
    QVERIFY(tags::fitsWindows1252(text));
    QCOMPARE(tags::toWindows1252(text), all);
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
