#include "cd/cdinfo.h"

#include "discimage.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

cd::Msf msfOfFrames(int frames)
{
    return {frames / 4500, (frames / 75) % 60, frames % 75};
}

// A table of contents from track start frames and the lead-out frame (lead-in included).
cd::CdToc tocOf(const QList<int> &startFrames, int leadOutFrame, int firstTrack = 1)
{
    cd::CdToc toc;
    toc.firstTrack = firstTrack;
    toc.lastTrack = firstTrack + int(startFrames.size()) - 1;
    for (int f : startFrames)
        toc.starts.append(msfOfFrames(f));
    toc.starts.append(msfOfFrames(leadOutFrame));
    return toc;
}

cd::CdToc tocOfSeconds(const QList<int> &startSeconds, int leadOutSeconds)
{
    QList<int> frames;
    for (int s : startSeconds)
        frames.append(s * 75);
    return tocOf(frames, leadOutSeconds * 75);
}

// The usual freedb computation, written from frame counts: digit sums through the decimal
// text, whole seconds by integer division, the id packed into one 32-bit word.
QString referenceDiscId(const QList<int> &startFrames, int leadOutFrame)
{
    quint32 sum = 0;
    for (int f : startFrames) {
        for (QChar c : QString::number(f / 75))
            sum += c.digitValue();
    }
    const quint32 seconds = quint32(leadOutFrame / 75 - startFrames.first() / 75);
    const quint32 id = (sum % 0xff) << 24 | seconds << 8 | quint32(startFrames.size());
    return QStringLiteral("%1").arg(id, 8, 16, QLatin1Char('0'));
}

QString referenceQuery(const QList<int> &startFrames, int leadOutFrame)
{
    QStringList words{QStringLiteral("cddb"), QStringLiteral("query"),
                      referenceDiscId(startFrames, leadOutFrame),
                      QString::number(startFrames.size())};
    for (int f : startFrames)
        words.append(QString::number(f));
    words.append(QString::number(leadOutFrame / 75));
    return words.join(QLatin1Char('+'));
}

} // namespace

class TestCdInfo : public QObject
{
    Q_OBJECT

private slots:
    void freshInstance();
    void knownDiscs_data();
    void knownDiscs();
    void generatedDiscs();
    void unreadableToc_data();
    void unreadableToc();
    void failedInitForgetsEarlierDisc();
    void discImages_data();
    void discImages();
    void missingImage();
};

void TestCdInfo::freshInstance()
{
    clsCdInfo info;
    QCOMPARE(info.DiscID(), QStringLiteral("(unavailable)"));
    QCOMPARE(info.ErrorCode(), 0);
    QString message;
    QCOMPARE(info.QueryString(&message), QString());
    QCOMPARE(message, QStringLiteral("Le lecteur n'est pas prêt. Essayez plus tard."));
}

void TestCdInfo::knownDiscs_data()
{
    QTest::addColumn<cd::CdToc>("toc");
    QTest::addColumn<QString>("discId");
    QTest::addColumn<QString>("queryEnd");

    // One track at 00:02:00 whose reported length is 03:00:00: lead-out at 03:02:01.
    QTest::newRow("one track of three minutes")
        << tocOf({150}, 150 + 13500 + 1) << "0200b401" << "+0200b401+1+150+182";
    // Track start seconds whose digit sums add up to 255, then to 510.
    QTest::newRow("checksum 255 wraps to 00")
        << tocOfSeconds({2, 69, 78, 79, 87, 88, 89, 96, 97, 98, 99, 159, 168, 169, 177, 178,
                         186, 1000},
                        1060)
        << "00042212" << "+1060";
    QTest::newRow("checksum 510 wraps to 00")
        << tocOfSeconds({2, 69, 78, 79, 87, 88, 89, 96, 97, 98, 99, 159, 168, 169, 177, 178,
                         179, 186, 187, 188, 189, 195, 196, 197, 198, 199, 249, 258, 259, 267,
                         268, 269, 270},
                        330)
        << "00014821" << "+330";
    // 1234 seconds contribute 1 + 2 + 3 + 4 = 10, plus 2 for the first track.
    QTest::newRow("four-digit seconds")
        << tocOfSeconds({2, 1234}, 1300) << "0c051202" << "+2+150+92550+1300";
    QTest::newRow("first track after a hidden gap")
        << tocOf({150 + 75 * 30 + 10, 150 + 75 * 200}, 150 + 75 * 400 + 74)
        << "09017202" << "+2+2410+15150+402";
    QTest::newRow("first track numbered 5")
        << tocOf({150, 150 + 75 * 60}, 150 + 75 * 120, 5) << "0a007802" << "+2+150+4650+122";
}

void TestCdInfo::knownDiscs()
{
    QFETCH(cd::CdToc, toc);
    QFETCH(QString, discId);
    QFETCH(QString, queryEnd);

    clsCdInfo info;
    info.InitFromToc(toc);
    QCOMPARE(info.ErrorCode(), 0);
    QCOMPARE(info.DiscID(), discId);
    QString message;
    const QString query = info.QueryString(&message);
    QVERIFY2(query.startsWith(QStringLiteral("cddb+query+") + discId), qPrintable(query));
    QVERIFY2(query.endsWith(queryEnd), qPrintable(query));
    QVERIFY(message.isEmpty());
}

void TestCdInfo::generatedDiscs()
{
    QRandomGenerator random(20261206);
    for (int disc = 0; disc < 500; ++disc) {
        const int tracks = disc < 3 ? QList<int>{1, 99, 2}.at(disc) : random.bounded(1, 100);
        QList<int> starts;
        int frame = 150 + (random.bounded(4) == 0 ? random.bounded(20000) : 0);
        const int budget = 99 * 4500 - frame;
        for (int t = 0; t < tracks; ++t) {
            starts.append(frame);
            frame += random.bounded(1, budget / tracks);
        }
        const QString context = QStringLiteral("disc %1 of %2 tracks").arg(disc).arg(tracks);
        clsCdInfo info;
        info.InitFromToc(tocOf(starts, frame));
        QCOMPARE(info.ErrorCode(), 0);
        QVERIFY2(info.DiscID() == referenceDiscId(starts, frame), qPrintable(context));
        QVERIFY2(info.QueryString() == referenceQuery(starts, frame), qPrintable(context));
    }
}

void TestCdInfo::unreadableToc_data()
{
    QTest::addColumn<cd::CdToc>("toc");
    QTest::addColumn<int>("errorCode");

    QTest::newRow("no track") << cd::CdToc{1, 0, {}} << clsCdInfo::ErrorDeviceNotReady;
    cd::CdToc missingLeadOut = tocOf({150, 900}, 2000);
    missingLeadOut.starts.removeLast();
    QTest::newRow("lead-out missing") << missingLeadOut << clsCdInfo::ErrorOutOfRange;
    QTest::newRow("lead-out before last track")
        << tocOf({150, 900}, 800) << clsCdInfo::ErrorOutOfRange;
    QTest::newRow("tracks out of order")
        << tocOf({900, 150}, 2000) << clsCdInfo::ErrorOutOfRange;
    cd::CdToc badSecond = tocOf({150}, 2000);
    badSecond.starts[0].second = 60;
    QTest::newRow("second 60") << badSecond << clsCdInfo::ErrorOutOfRange;
    cd::CdToc negative = tocOf({150}, 2000);
    negative.starts[1].minute = -1;
    QTest::newRow("negative minute") << negative << clsCdInfo::ErrorOutOfRange;
    QList<int> hundred;
    for (int t = 0; t < 100; ++t)
        hundred.append(150 + t * 1000);
    QTest::newRow("100 tracks") << tocOf(hundred, 200000) << clsCdInfo::ErrorOutOfRange;
}

void TestCdInfo::unreadableToc()
{
    QFETCH(cd::CdToc, toc);
    QFETCH(int, errorCode);

    clsCdInfo info;
    info.InitFromToc(toc);
    QCOMPARE(info.ErrorCode(), errorCode);
    QCOMPARE(info.DiscID(), QStringLiteral("(unavailable)"));
    QString message;
    QCOMPARE(info.QueryString(&message), QString());
    QCOMPARE(message, QStringLiteral("Le lecteur n'est pas prêt. Essayez plus tard."));
}

void TestCdInfo::failedInitForgetsEarlierDisc()
{
    clsCdInfo info;
    info.InitFromToc(tocOf({150}, 13651));
    QCOMPARE(info.DiscID(), QStringLiteral("0200b401"));
    info.InitFromToc(cd::CdToc{});
    QCOMPARE(info.DiscID(), QStringLiteral("(unavailable)"));
    QVERIFY(info.QueryString().isEmpty());
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

// The image is read through the device layer; the expected ID comes from the layout the image
// was built with and, when cd-info is there, from the track list that program prints.
void TestCdInfo::discImages()
{
    QFETCH(QList<int>, trackSectors);
    QFETCH(int, firstTrack);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), trackSectors,
                                       firstTrack);
    QVERIFY(image.isValid());
    QList<int> startFrames;
    for (int k = 0; k < image.trackCount(); ++k)
        startFrames.append(image.firstSector(k) + 150);
    const int leadOut = image.firstSector(image.trackCount() - 1)
                        + image.sectorCount(image.trackCount() - 1) + 150;

    clsCdInfo info;
    info.Init(image.cuePath());
    QCOMPARE(info.ErrorCode(), 0);
    QCOMPARE(info.DiscID(), referenceDiscId(startFrames, leadOut));
    QCOMPARE(info.QueryString(), referenceQuery(startFrames, leadOut));

    const QString cdInfo = QStandardPaths::findExecutable(QStringLiteral("cd-info"));
    if (cdInfo.isEmpty())
        QSKIP("cd-info is not installed: the second reading of the image is skipped");
    QProcess process;
    process.start(cdInfo, {QStringLiteral("--no-header"), QStringLiteral("--no-device-info"),
                           QStringLiteral("--no-cddb"), QStringLiteral("--no-analyze"),
                           QStringLiteral("--no-disc-mode"), QStringLiteral("--cue-file"),
                           image.cuePath()});
    QVERIFY(process.waitForFinished(30000));
    // "  1: 00:02:00  000000 audio ..." and "170: 00:06:00  000300 leadout ..."
    static const QRegularExpression row(QStringLiteral("^\\s*\\d+: \\S+\\s+(\\d+) (audio|leadout)"),
                                        QRegularExpression::MultilineOption);
    QList<int> printed;
    int printedLeadOut = -1;
    for (auto it = row.globalMatch(QString::fromLocal8Bit(process.readAllStandardOutput()));
         it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(2) == u"leadout")
            printedLeadOut = m.captured(1).toInt() + 150;
        else
            printed.append(m.captured(1).toInt() + 150);
    }
    QCOMPARE(printed.size(), trackSectors.size());
    QCOMPARE(info.DiscID(), referenceDiscId(printed, printedLeadOut));
}

void TestCdInfo::missingImage()
{
    clsCdInfo info;
    info.Init(QStringLiteral("/nonexistent/disc.cue"));
    QCOMPARE(info.ErrorCode(), clsCdInfo::ErrorCannotOpen);
    QCOMPARE(info.DiscID(), QStringLiteral("(unavailable)"));
    QVERIFY(info.QueryString().isEmpty());
}

QTEST_GUILESS_MAIN(TestCdInfo)
#include "tst_cdinfo.moc"
