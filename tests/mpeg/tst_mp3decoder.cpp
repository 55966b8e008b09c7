// Decoding MP3 files to samples, against the files' own WAV sources and the mpg123 command.
#include "peers.h"
#include "tonefiles.h"

#include "mpeg/mp3decoder.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestMp3Decoder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void decodesGapless_data();
    void decodesGapless();
    void refusesWhatIsNotMpeg_data();
    void refusesWhatIsNotMpeg();

private:
    QTemporaryDir m_dir;
};

void TestMp3Decoder::init()
{
    if (QStandardPaths::findExecutable("lame").isEmpty() ||
        QStandardPaths::findExecutable("mpg123").isEmpty())
        TARVEX_PEER_MISSING("lame and mpg123 are needed");
}

void TestMp3Decoder::decodesGapless_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("lame");
    QTest::addColumn<double>("limit"); // seconds, 0 for none
    QTest::newRow("44100 joint stereo CBR") << 44100 << 2 << QStringList{"-b", "128"} << 0.0;
    QTest::newRow("48000 stereo VBR") << 48000 << 2 << QStringList{"-V", "2", "-m", "s"} << 0.0;
    QTest::newRow("22050 mono MPEG 2") << 22050 << 1 << QStringList{"-b", "64", "-m", "m"} << 0.0;
    QTest::newRow("8000 mono MPEG 2.5") << 8000 << 1 << QStringList{"-b", "32", "-m", "m"} << 0.0;
    QTest::newRow("stopped after 0.7 s") << 44100 << 2 << QStringList{"-b", "128"} << 0.7;
}

// Every sample of the source comes back, no more (the encoder delay and padding are cut), or
// those of the time limit; the 16-bit samples are those of the mpg123 command.
void TestMp3Decoder::decodesGapless()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(QStringList, lame);
    QFETCH(double, limit);
    const QString mp3 = m_dir.filePath(QStringLiteral("%1-%2.mp3").arg(rate).arg(channels));
    QVERIFY(tonefiles::writeMp3(mp3, {rate, channels, 1.3, 440, 0.5, 0.5}, lame));
    const qint64 sourceFrames = std::llround((limit > 0 ? limit : 1.3) * rate);

    mpeg::Mp3Decoder floats;
    QVERIFY2(floats.open(mp3, mpeg::Mp3Decoder::Format::Float, limit), qPrintable(floats.error()));
    QCOMPARE(floats.sampleRate(), rate);
    QCOMPARE(floats.channels(), channels);
    float peak = 0;
    for (auto block = floats.readFloat(); !block.empty(); block = floats.readFloat()) {
        QCOMPARE(block.size() % size_t(channels), size_t(0));
        for (float v : block)
            peak = std::max(peak, std::abs(v));
    }
    QVERIFY(!floats.failed());
    QCOMPARE(floats.framesRead(), sourceFrames);
    QVERIFY2(peak > 0.4f && peak < 0.6f, qPrintable(QString::number(peak)));

    mpeg::Mp3Decoder ints;
    QVERIFY(ints.open(mp3, mpeg::Mp3Decoder::Format::Int16, limit));
    QByteArray decoded;
    for (auto block = ints.readInt16(); !block.empty(); block = ints.readInt16())
        decoded.append(reinterpret_cast<const char *>(block.data()), qsizetype(block.size_bytes()));
    QProcess mpg123;
    mpg123.start(QStringLiteral("mpg123"), {"-q", "-s", mp3});
    QVERIFY(mpg123.waitForFinished(20000));
    const QByteArray expected = mpg123.readAllStandardOutput().left(sourceFrames * channels * 2);
    QCOMPARE(decoded.size(), expected.size());
    QVERIFY(decoded == expected);
}

// What is not an MPEG stream gives an error and no samples; a cut stream gives what it holds.
void TestMp3Decoder::refusesWhatIsNotMpeg_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow("missing file") << "missing.mp3" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("empty file") << "empty.mp3" << false;
    QTest::newRow("text") << "text.mp3" << false;
    QTest::newRow("WAV file") << "tone.wav" << false;
    QTest::newRow("cut after two kilobytes") << "cut.mp3" << true;
}

void TestMp3Decoder::refusesWhatIsNotMpeg()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);
    QDir(m_dir.path()).mkpath("folder");
    QFile(m_dir.filePath("empty.mp3")).open(QIODevice::WriteOnly);
    QFile text(m_dir.filePath("text.mp3"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(5000, 'x'));
    text.close();
    QVERIFY(tonefiles::writeMp3(m_dir.filePath("tone.mp3"), {}, {"-b", "128"}));
    QFile whole(m_dir.filePath("tone.mp3"));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    QFile cut(m_dir.filePath("cut.mp3"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(2048));
    cut.close();

    mpeg::Mp3Decoder decoder;
    QCOMPARE(decoder.open(m_dir.filePath(name)), opens);
    QCOMPARE(decoder.failed(), !opens);
    if (!opens) {
        QVERIFY(decoder.error().contains(name));
        QVERIFY(decoder.readFloat().empty());
        return;
    }
    while (!decoder.readFloat().empty()) {
    }
    QVERIFY(decoder.framesRead() > 0);
    QVERIFY(decoder.framesRead() < 44100);
}

QTEST_GUILESS_MAIN(TestMp3Decoder)
#include "tst_mp3decoder.moc"
