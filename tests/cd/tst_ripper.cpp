#include "cd/cddevice.h"
#include "cd/ripper.h"
#include "cd/wavfile.h"

#include "discimage.h"
#include "mp3frames.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace cd;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

quint32 le32At(const QByteArray &b, int offset)
{
    return qFromLittleEndian<quint32>(b.constData() + offset);
}

// Files of a folder other than the disc image itself.
QStringList leftovers(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.removeIf([](const QString &n) { return n.startsWith(QLatin1String("disc.")); });
    return names;
}

} // namespace

class TestRipper : public QObject
{
    Q_OBJECT

private slots:
    void wavHoldsTheWholeTrack_data();
    void wavHoldsTheWholeTrack();
    void wavMatchesCdParanoia();
    void progressCountsBatches();
    void failuresWriteNothing_data();
    void failuresWriteNothing();
    void cancelKeepsTheOldFile();
    void unreadableSectorsBecomeSilence();
    void unwritableFolder();
    void mp3Frames_data();
    void mp3Frames();
};

void TestRipper::wavHoldsTheWholeTrack_data()
{
    QTest::addColumn<int>("sectors");
    QTest::newRow("1000 sectors: 37 batches and 1 sector") << 1000;
    QTest::newRow("exactly one batch") << 27;
    QTest::newRow("one batch and one sector") << 28;
    QTest::newRow("a single sector") << 1;
    QTest::newRow("two whole batches") << 54;
}

void TestRipper::wavHoldsTheWholeTrack()
{
    QFETCH(int, sectors);
    QTemporaryDir dir;
    // The track sits between two others so that reading a sector too many or too few shows.
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {40, sectors, 33});
    QVERIFY(image.isValid());
    const QString out = dir.filePath(QStringLiteral("Piste 2.wav"));

    const RipResult r = ripTrackToWav(image.cuePath(), 1, out);
    QVERIFY(r.ok());
    QCOMPARE(r.unreadableSectors, 0);

    const QByteArray wav = readAll(out);
    const quint32 dataBytes = quint32(sectors) * 2352;
    QCOMPARE(wav.size(), qsizetype(44 + dataBytes));
    QCOMPARE(wav.left(4), QByteArray("RIFF"));
    QCOMPARE(le32At(wav, 4), dataBytes + 36);
    QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(wav.mid(16, 20), QByteArray::fromHex("10000000" "0100" "0200" "44ac0000" "10b10200" "0400" "1000"));
    QCOMPARE(wav.mid(36, 4), QByteArray("data"));
    QCOMPARE(le32At(wav, 40), dataBytes);
    QVERIFY(wav.mid(44) == image.trackPcm(1));

    // The parser reads back the same format and sample range.
    const WavFile loaded = loadWavFile(out);
    QVERIFY(loaded.wavLoaded);
    QCOMPARE(loaded.wavFormat.samplesPerSec, 44100u);
    QCOMPARE(loaded.wavFormat.channels, quint16(2));
    QCOMPARE(loaded.wavFormat.bitsPerSample, quint16(16));
    QCOMPARE(loaded.dataOffset, 44);
    QCOMPARE(loaded.dataSize, qint64(dataBytes));
}

void TestRipper::wavMatchesCdParanoia()
{
    if (QStandardPaths::findExecutable(QStringLiteral("cd-paranoia")).isEmpty())
        QSKIP("cd-paranoia n'est pas installé");
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {200, 1013, 75});
    const QString ours = dir.filePath(QStringLiteral("ours.wav"));
    const QString theirs = dir.filePath(QStringLiteral("theirs.wav"));
    QVERIFY(ripTrackToWav(image.cuePath(), 1, ours).ok());
    QProcess paranoia;
    paranoia.start(QStringLiteral("cd-paranoia"),
                   {QStringLiteral("-q"), QStringLiteral("-d"), image.cuePath(), QStringLiteral("-w"),
                    QStringLiteral("2"), theirs});
    QVERIFY(paranoia.waitForFinished(60000));
    QCOMPARE(paranoia.exitCode(), 0);
    const QByteArray a = readAll(ours);
    const QByteArray b = readAll(theirs);
    QCOMPARE(a.size(), b.size());
    QVERIFY(a.mid(44) == b.mid(44));
}

void TestRipper::progressCountsBatches()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {100});
    QList<qint64> done;
    const RipResult r = ripTrackToWav(image.cuePath(), 0, dir.filePath(QStringLiteral("a.wav")),
                                      [&done](qint64 d, qint64 total) {
                                          done << d;
                                          return total == 100;
                                      });
    QVERIFY(r.ok());
    QCOMPARE(done, (QList<qint64>{0, 27, 54, 81, 100}));
}

void TestRipper::failuresWriteNothing_data()
{
    QTest::addColumn<QString>("drive");
    QTest::addColumn<int>("track");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("track past the last") << "disc.cue" << 2 << int(RipStatus::BadTrackIndex) << "N° de piste incorrecte";
    QTest::newRow("negative track") << "disc.cue" << -1 << int(RipStatus::BadTrackIndex) << "N° de piste incorrecte";
    QTest::newRow("no such drive") << "missing.cue" << 0 << int(RipStatus::DeviceUnavailable) << "";
}

void TestRipper::failuresWriteNothing()
{
    QFETCH(QString, drive);
    QFETCH(int, track);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 30});
    for (bool mp3 : {false, true}) {
        const QString out = dir.filePath(mp3 ? QStringLiteral("x.mp3") : QStringLiteral("x.wav"));
        const RipResult r = mp3 ? ripTrackToMp3(dir.filePath(drive), track, out)
                                : ripTrackToWav(dir.filePath(drive), track, out);
        QCOMPARE(int(r.status), status);
        QCOMPARE(ripErrorMessage(r, out), message);
    }
    QCOMPARE(leftovers(dir.path()), QStringList());
}

void TestRipper::cancelKeepsTheOldFile()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {200});
    for (bool mp3 : {false, true}) {
        const QString out = dir.filePath(QStringLiteral("old.out"));
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous take");
        old.close();
        int calls = 0;
        const auto stopAfterTwo = [&calls](qint64, qint64) { return ++calls < 3; };
        const RipResult r = mp3 ? ripTrackToMp3(image.cuePath(), 0, out, stopAfterTwo)
                                : ripTrackToWav(image.cuePath(), 0, out, stopAfterTwo);
        QCOMPARE(int(r.status), int(RipStatus::Cancelled));
        QCOMPARE(calls, 3);
        QCOMPARE(readAll(out), QByteArray("previous take"));
        QCOMPARE(leftovers(dir.path()), QStringList{QStringLiteral("old.out")});
    }
}

void TestRipper::unreadableSectorsBecomeSilence()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {100});
    const QByteArray pcm = image.trackPcm(0);
    const QString out = dir.filePath(QStringLiteral("t.wav"));
    // Cutting the image short while the track is read makes the later reads fail, as a
    // scratched disc would.
    const RipResult r = ripTrackToWav(image.cuePath(), 0, out, [&image](qint64 done, qint64) {
        if (done == 27)
            QFile::resize(image.binPath(), 40 * 2352);
        return true;
    });
    QVERIFY(r.ok());
    // libcdio reports some reads past the cut as failures and returns others short.
    QVERIFY(r.unreadableSectors > 0);
    QVERIFY(r.unreadableSectors <= 100 - 27);
    const QByteArray wav = readAll(out);
    QCOMPARE(wav.size(), 44 + 100 * 2352);
    QVERIFY(wav.mid(44, 27 * 2352) == pcm.left(27 * 2352));
    // Never the previous batch again: silence from the cut on.
    // libcdio's read-ahead still holds some sectors past the cut; from wherever the data stops,
    // only silence follows, never the bytes of the previous batch.
    const QByteArray samples = wav.mid(44);
    qsizetype same = 0;
    while (same < samples.size() && samples.at(same) == pcm.at(same))
        ++same;
    QVERIFY(same >= 27 * 2352);
    QVERIFY(same <= 60 * 2352);
    QVERIFY(samples.mid(same) == QByteArray(samples.size() - same, '\0'));
}

void TestRipper::unwritableFolder()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30});
    const QString out = dir.filePath(QStringLiteral("no/such/folder/t.wav"));
    const RipResult r = ripTrackToWav(image.cuePath(), 0, out);
    QCOMPARE(int(r.status), int(RipStatus::WriteFailed));
    QVERIFY(ripErrorMessage(r, out).startsWith(QStringLiteral("Impossible d'écrire le fichier « t.wav »")));
}

void TestRipper::mp3Frames_data()
{
    QTest::addColumn<int>("sectors");
    QTest::newRow("five seconds") << 375;
    QTest::newRow("short last batch") << 1000;
    QTest::newRow("27 sectors is not empty") << 27;
}

void TestRipper::mp3Frames()
{
    QFETCH(int, sectors);
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {10, sectors});
    const QString out = dir.filePath(QStringLiteral("t.mp3"));
    QVERIFY(ripTrackToMp3(image.cuePath(), 1, out).ok());

    const QByteArray mp3 = readAll(out);
    qsizetype rest = -1;
    const auto frames = testsupport::mp3Frames(mp3, &rest);
    QCOMPARE(rest, 0); // frames from the first byte to the last: no tag, no VBR header
    QVERIFY(!frames.isEmpty());
    for (const auto &f : frames) {
        QCOMPARE(f.version, 1);
        QCOMPARE(f.layer, 3);
        QCOMPARE(f.bitrate, 128);
        QCOMPARE(f.sampleRate, 44100);
        QCOMPARE(f.mode, 0);
        QVERIFY(f.original);
        QVERIFY(!f.crc);
        QVERIFY(!f.copyright);
    }

    if (QStandardPaths::findExecutable(QStringLiteral("mpg123")).isEmpty())
        QSKIP("mpg123 n'est pas installé");
    int channels = 0;
    int rate = 0;
    const QByteArray pcm = testsupport::decodeWithMpg123(out, &channels, &rate);
    QCOMPARE(channels, 2);
    QCOMPARE(rate, 44100);
    // The decoder's output starts with the encoder's delay (576) and its own (529).
    const qint64 decoded = pcm.size() / 4 - 1105;
    const qint64 expected = qint64(sectors) * 588;
    QVERIFY2(qAbs(decoded - expected) <= 1152, qPrintable(QStringLiteral("%1 vs %2").arg(decoded).arg(expected)));
}

QTEST_GUILESS_MAIN(TestRipper)
#include "tst_ripper.moc"
