#include "cd/cdinfo.h"

#include "discimage.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A table of contents from track starts and the lead-out (lead-in included), in frames or,
// with unit 75, in seconds.
cd::CdToc tocOf(const QList<int> &starts, int leadOut, int unit = 1)
{
    cd::CdToc toc{1, int(starts.size()), {}};
    for (int v : starts + QList<int>{leadOut})
        toc.starts.append({v * unit / 4500, (v * unit / 75) % 60, v * unit % 75});
    return toc;
}

// The usual freedb computation written from frame counts: digit sums through the decimal text,
// whole seconds by integer division, the ID packed into one 32-bit word.
QString referenceQuery(const QList<int> &startFrames, int leadOutFrame)
{
    quint32 sum = 0;
    for (int f : startFrames)
        for (QChar c : QString::number(f / 75))
            sum += c.digitValue();
    const quint32 length = quint32(leadOutFrame / 75 - startFrames.first() / 75);
    const quint32 id = (sum % 0xff) << 24 | length << 8 | quint32(startFrames.size());
    QStringList words{"cddb", "query", QStringLiteral("%1").arg(id, 8, 16, QLatin1Char('0')),
                      QString::number(startFrames.size())};
    for (int f : startFrames)
        words.append(QString::number(f));
    return (words << QString::number(leadOutFrame / 75)).join(QLatin1Char('+'));
}

} // namespace

class TestCdInfo : public QObject
{
    Q_OBJECT

private slots:
    void knownDiscs_data();
    void knownDiscs();
    void noDiscNoQuery_data();
    void noDiscNoQuery();
    void discImages_data();
    void discImages();
};

void TestCdInfo::knownDiscs_data()
{
    QTest::addColumn<cd::CdToc>("toc");
    QTest::addColumn<QString>("query");
    // One track at 00:02:00 whose reported length is 03:00:00: lead-out at 03:02:01.
    QTest::newRow("one track of three minutes")
        << tocOf({150}, 150 + 13500 + 1) << "cddb+query+0200b401+1+150+182";
    // Track start seconds whose digit sums add up to 255, then to 510.
    const QList<int> wrap{2, 69, 78, 79, 87, 88, 89, 96, 97, 98, 99, 159, 168, 169, 177, 178};
    QTest::newRow("checksum 255 wraps to 00")
        << tocOf(wrap + QList<int>{186, 1000}, 1060, 75) << "cddb+query+00042212+18+";
    QTest::newRow("checksum 510 wraps to 00")
        << tocOf(wrap + QList<int>{179, 186, 187, 188, 189, 195, 196, 197, 198, 199, 249, 258,
                                   259, 267, 268, 269, 270}, 330, 75)
        << "cddb+query+00014821+33+";
}

void TestCdInfo::knownDiscs()
{
    QFETCH(cd::CdToc, toc);
    QFETCH(QString, query);
    clsCdInfo info;
    info.InitFromToc(toc);
    QVERIFY2(info.QueryString().startsWith(query), qPrintable(info.QueryString()));
}

void TestCdInfo::noDiscNoQuery_data()
{
    QTest::addColumn<cd::CdToc>("toc");
    QTest::addColumn<int>("errorCode");
    QTest::newRow("no track") << cd::CdToc{1, 0, {}} << clsCdInfo::ErrorDeviceNotReady;
    QTest::newRow("tracks out of order") << tocOf({900, 150}, 2000) << clsCdInfo::ErrorOutOfRange;
    QList<int> hundred;
    for (int t = 0; t < 100; ++t)
        hundred.append(150 + t * 1000);
    QTest::newRow("100 tracks") << tocOf(hundred, 200000) << clsCdInfo::ErrorOutOfRange;
}

// A disc that cannot be identified gives no query, even after an earlier disc was identified.
void TestCdInfo::noDiscNoQuery()
{
    QFETCH(cd::CdToc, toc);
    QFETCH(int, errorCode);
    clsCdInfo info;
    info.InitFromToc(tocOf({150}, 13651));
    QCOMPARE(info.DiscID(), QStringLiteral("0200b401"));
    info.InitFromToc(toc);
    QCOMPARE(info.ErrorCode(), errorCode);
    QCOMPARE(info.DiscID(), QStringLiteral("(unavailable)"));
    QString message;
    QCOMPARE(info.QueryString(&message), QString());
    QCOMPARE(message, QStringLiteral("Le lecteur n'est pas prêt. Essayez plus tard."));
}

void TestCdInfo::discImages_data()
{
    QTest::addColumn<QList<int>>("trackSectors");
    QTest::addColumn<int>("firstTrack");
    QTest::newRow("one track") << QList<int>{1000} << 1;
    QTest::newRow("four tracks of uneven length") << QList<int>{75, 149, 1001, 2222} << 1;
    QTest::newRow("first track numbered 3") << QList<int>{400, 500, 600} << 3;
    QList<int> many;
    for (int t = 0; t < 99; ++t)
        many.append(20 + (t * 37) % 60);
    QTest::newRow("99 short tracks") << many << 1;
}

// The image is read by libcdio; the expected ID comes from the layout it was built with.
void TestCdInfo::discImages()
{
    QFETCH(QList<int>, trackSectors);
    QFETCH(int, firstTrack);
    QTemporaryDir dir;
    const testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), trackSectors, firstTrack);
    QList<int> starts;
    for (int k = 0; k < trackSectors.size(); ++k)
        starts.append(image.firstSector(k) + 150);
    clsCdInfo info;
    info.Init(image.cuePath());
    QCOMPARE(info.QueryString(), referenceQuery(starts, starts.last() + trackSectors.last()));
}

QTEST_GUILESS_MAIN(TestCdInfo)
#include "tst_cdinfo.moc"
