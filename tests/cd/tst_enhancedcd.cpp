#include "cd/accuraterip.h"
#include "cd/cddevice.h"
#include "cd/ripper.h"

#include "accuratereference.h"
#include "discimage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace cd;

namespace {

// An enhanced CD as a cue/bin image: three audio tracks, the gap of 11400 sectors between the
// sessions, then a MODE1 data track. The audio is a tone with noise, the gap loud bytes, so a
// rip that runs into the gap cannot match.
struct EnhancedImage
{
    QList<int> starts{0, 40, 75};
    int dataStart = 75 + 30 + 11400;
    int leadOut = dataStart + 200;
    QByteArray bin;

    bool write(const QString &folder)
    {
        // Sound, not a byte pattern: cdparanoia guesses the byte order from the samples.
        bin = testsupport::tonePcm16(105 * 588, 2, 44100) +
              QByteArray((dataStart - 105) * 2352, 0x7f);
        for (int s = dataStart; s < leadOut; ++s)
            bin += QByteArray(2352, char(s));
        QByteArray cue = "FILE \"disc.bin\" BINARY\n";
        for (int k = 0; k <= starts.size(); ++k) {
            const int at = k < starts.size() ? starts.at(k) : dataStart;
            cue += QString::asprintf("  TRACK %02d %s\n    INDEX 01 %02d:%02d:%02d\n", k + 1,
                                     k < starts.size() ? "AUDIO" : "MODE1/2352", at / 4500,
                                     at / 75 % 60, at % 75)
                       .toUtf8();
        }
        QFile b(folder + "/disc.bin"), c(folder + "/disc.cue");
        return b.open(QIODevice::WriteOnly) && b.write(bin) == bin.size() &&
               c.open(QIODevice::WriteOnly) && c.write(cue) == cue.size();
    }
};

// The disc identifiers as the AccurateRip description gives them for an enhanced CD: the audio
// tracks are counted; id1 sums their starts and the disc's lead-out (after the data track), id2
// weighs each by its number; the FreeDB id is taken over every track, the data track included.
QString describedName(const QList<int> &audioStarts, int dataStart, int leadOut)
{
    const qsizetype n = audioStarts.size();
    quint32 id1 = leadOut, id2 = quint32(leadOut) * quint32(n + 1), digits = 0;
    for (qsizetype k = 0; k < n; ++k) {
        id1 += audioStarts.at(k);
        id2 += quint32(std::max(audioStarts.at(k), 1)) * quint32(k + 1);
    }
    for (int start : audioStarts + QList<int>{dataStart}) {
        for (int seconds = (start + 150) / 75; seconds > 0; seconds /= 10)
            digits += seconds % 10;
    }
    const quint32 seconds = (leadOut + 150) / 75 - (audioStarts.first() + 150) / 75;
    const quint32 freedb = (digits % 255) << 24 | seconds << 8 | quint32(n + 1);
    return QString::asprintf("dBAR-%03d-%08x-%08x-%08x", int(n), id1, id2, freedb);
}

} // namespace

class TestEnhancedCd : public QObject
{
    Q_OBJECT
private slots:
    // "Liquid" (Recoil) as a drive reads it: ten audio tracks, then the data track; the
    // identifiers are those its AccurateRip entry is filed under.
    void discIdOfPublishedToc()
    {
        CdToc toc{1, 11, {}, true};
        for (int lsn : {0, 12617, 40337, 63075, 93260, 117965, 151715, 184190, 215110, 247305,
                        281585, 333651})
            toc.starts.append({(lsn + 150) / 4500, (lsn + 150) / 75 % 60, (lsn + 150) % 75});
        const auto id = accurateRipDiscId(toc);
        QVERIFY(id);
        QCOMPARE(id->name(), QStringLiteral("dBAR-010-00164419-00b9f6e2-9e11600b"));
    }

    // The last audio track stops where its session does and counts as the disc's last track;
    // the data track holds no audio.
    void lastAudioTrack()
    {
        QTemporaryDir dir;
        EnhancedImage image;
        QVERIFY(image.write(dir.path()));
        const QString cue = dir.filePath("disc.cue");
        const auto device = CdDevice::open(cue);
        QVERIFY(device);
        const auto toc = device->readToc();
        QVERIFY(toc);
        const auto id = accurateRipDiscId(*toc);
        QVERIFY(id);
        QCOMPARE(id->name(), describedName(image.starts, image.dataStart, image.leadOut));

        RipOptions secure;
        secure.secure = true;
        const RipResult r = ripTrackToWav(cue, 2, dir.filePath("3.wav"), {}, {}, secure);
        QVERIFY(r.ok());
        QFile wav(dir.filePath("3.wav"));
        QVERIFY(wav.open(QIODevice::ReadOnly));
        const QByteArray expected = image.bin.mid(75 * 2352, 30 * 2352);
        QCOMPARE(wav.readAll().mid(44), expected);
        const auto sums = testsupport::referenceAccurateRip(expected, false, true);
        QCOMPARE(hex8(r.accurateRipV1), hex8(sums.v1));
        QCOMPARE(hex8(r.accurateRipV2), hex8(sums.v2));
        QCOMPARE(ripTrackToWav(cue, 3, dir.filePath("4.wav")).status, RipStatus::BadTrackIndex);
    }
};

QTEST_GUILESS_MAIN(TestEnhancedCd)
#include "tst_enhancedcd.moc"
