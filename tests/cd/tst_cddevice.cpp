#include "cd/cddevice.h"

#include "discimage.h"

#include <QTemporaryDir>
#include <QTest>

#include <vector>

using cd::CdDevice;

class TestCdDevice : public QObject
{
    Q_OBJECT

private slots:
    void msfToSector_data();
    void msfToSector();
    void tableOfContents_data();
    void tableOfContents();
    void rawReadMatchesImage();
    void readBeyondDiscFails();
    void unopenable_data();
    void unopenable();
    void driveListDoesNotFail();
};

void TestCdDevice::msfToSector_data()
{
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("s");
    QTest::addColumn<int>("f");
    QTest::addColumn<int>("sector");
    QTest::newRow("usual start of track 1") << 0 << 2 << 0 << 0;
    QTest::newRow("one minute") << 1 << 0 << 0 << 4350;
    QTest::newRow("frames count") << 0 << 2 << 74 << 74;
    QTest::newRow("seventy-nine minutes") << 79 << 59 << 74 << 359849;
}

void TestCdDevice::msfToSector()
{
    QFETCH(int, m);
    QFETCH(int, s);
    QFETCH(int, f);
    QFETCH(int, sector);
    QCOMPARE(cd::msfToSector(m, s, f), sector);
}

void TestCdDevice::tableOfContents_data()
{
    QTest::addColumn<QList<int>>("sectors");
    QTest::addColumn<int>("firstTrack");
    QTest::newRow("twelve tracks from 1")
        << QList<int>{1000, 27, 28, 1, 300, 4500, 75, 76, 2000, 54, 55, 999} << 1;
    QTest::newRow("tracks 3 to 5") << QList<int>{400, 500, 600} << 3;
    QTest::newRow("single track") << QList<int>{150} << 1;
}

void TestCdDevice::tableOfContents()
{
    QFETCH(QList<int>, sectors);
    QFETCH(int, firstTrack);
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), sectors, firstTrack);
    QVERIFY(image.isValid());

    auto device = CdDevice::open(image.cuePath());
    QVERIFY(device);
    const auto toc = device->readToc();
    QVERIFY(toc);
    QCOMPARE(toc->firstTrack, firstTrack);
    QCOMPARE(toc->lastTrack, firstTrack + int(sectors.size()) - 1);
    QCOMPARE(toc->trackCount(), int(sectors.size()));
    QCOMPARE(toc->starts.size(), sectors.size() + 1);
    // Track 1 of an image starts at 00:02:00, after the lead-in.
    QCOMPARE(toc->starts.first().second, 2);
    for (int k = 0; k < sectors.size(); ++k) {
        QCOMPARE(toc->trackStart(k), image.firstSector(k));
        QCOMPARE(toc->trackEnd(k) - toc->trackStart(k), sectors.at(k));
    }
}

void TestCdDevice::rawReadMatchesImage()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {100, 60});
    auto device = CdDevice::open(image.cuePath());
    QVERIFY(device);
    std::vector<char> buffer(27 * cd::sectorBytes);
    // A batch that straddles the two tracks, then one short batch at the very end.
    QVERIFY(device->readAudio(90, 27, buffer.data()));
    QByteArray expected = image.trackPcm(0).mid(90 * cd::sectorBytes) + image.trackPcm(1).left(17 * cd::sectorBytes);
    QCOMPARE(QByteArray(buffer.data(), 27 * cd::sectorBytes), expected);
    QVERIFY(device->readAudio(150, 10, buffer.data()));
    QCOMPARE(QByteArray(buffer.data(), 10 * cd::sectorBytes), image.trackPcm(1).right(10 * cd::sectorBytes));
}

void TestCdDevice::readBeyondDiscFails()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {100});
    auto device = CdDevice::open(image.cuePath());
    QVERIFY(device);
    std::vector<char> buffer(27 * cd::sectorBytes);
    QVERIFY(!device->readAudio(-1, 1, buffer.data()));
    QVERIFY(!device->readAudio(5000, 27, buffer.data()));
}

void TestCdDevice::unopenable_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("missing file") << QStringLiteral("missing.cue");
    QTest::newRow("empty designator") << QString();
    QTest::newRow("text file") << QStringLiteral("notes.txt");
}

void TestCdDevice::unopenable()
{
    QFETCH(QString, what);
    QTemporaryDir dir;
    QFile notes(dir.filePath(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a disc\n");
    notes.close();
    const QString path = what.isEmpty() ? QString() : dir.filePath(what);
    auto device = CdDevice::open(path);
    QVERIFY(!device || !device->readToc());
}

void TestCdDevice::driveListDoesNotFail()
{
    // The machine may or may not have a drive; every entry must at least be openable text.
    for (const QString &drive : cd::cdDrives())
        QVERIFY(!drive.isEmpty());
}

QTEST_GUILESS_MAIN(TestCdDevice)
#include "tst_cddevice.moc"
