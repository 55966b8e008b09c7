#include "cd/wavencoder.h"
#include "cd/wavfile.h"

#include "discimage.h"
#include "mp3frames.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstring>

using namespace cd;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Re-encodes 16-bit samples at another width; the extra low bits hold noise that the
// conversion back to 16 bits must round away.
QByteArray widen(const QByteArray &pcm16, int bits, bool isFloat)
{
    QByteArray out;
    quint32 state = 99;
    for (qsizetype i = 0; i + 1 < pcm16.size(); i += 2) {
        const qint16 s = qFromLittleEndian<qint16>(pcm16.constData() + i);
        state = state * 1664525u + 1013904223u;
        char b[8];
        if (isFloat && bits == 32) {
            const float f = qToLittleEndian(float(s) / 32768.0f);
            std::memcpy(b, &f, 4);
        } else if (isFloat) {
            const double d = qToLittleEndian(double(s) / 32768.0);
            std::memcpy(b, &d, 8);
        } else if (bits == 8) {
            b[0] = char((s >> 8) + 128);
        } else if (bits == 24) {
            qToLittleEndian<qint32>(s * 256 + int(state >> 24) - 128, b);
        } else {
            qToLittleEndian<qint32>(s * 65536 + int(state >> 16) - 32768, b);
        }
        out.append(b, bits / 8);
    }
    return out;
}

// A stereo 44100 Hz tone whose samples 8-bit WAV can carry exactly (multiples of 256).
QByteArray coarseTone(int frames)
{
    QByteArray pcm = testsupport::tonePcm16(frames, 2, 44100);
    for (qsizetype i = 0; i < pcm.size(); i += 2)
        pcm[i] = 0;
    return pcm;
}

} // namespace

class TestWavEncoder : public QObject
{
    Q_OBJECT

private slots:
    void stereoCdRate();
    void monoHalfRate();
    void widthsGiveTheSameAudio_data();
    void widthsGiveTheSameAudio();
    void failuresKeepTheOldFile_data();
    void failuresKeepTheOldFile();
    void mp3Path_data();
    void mp3Path();
};

void TestWavEncoder::stereoCdRate()
{
    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("a.wav"));
    const int frames = 44100 * 3 + 17;
    QVERIFY(writeFile(wavPath, testsupport::wavBytes(testsupport::tonePcm16(frames, 2, 44100), 2, 44100, 16)));
    const QString mp3Path = dir.filePath(QStringLiteral("a.mp3"));
    QList<qint64> done;
    const EncodeResult r = encodeWavToMp3(loadWavFile(wavPath), mp3Path, [&done](qint64 d, qint64) {
        done << d;
        return true;
    });
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(done.first(), 0);
    QCOMPARE(done.last(), qint64(frames) * 4);

    qsizetype rest = -1;
    const auto mp3Frames = testsupport::mp3Frames(readAll(mp3Path), &rest);
    QCOMPARE(rest, 0);
    for (const auto &f : mp3Frames) {
        QCOMPARE(f.version, 1);
        QCOMPARE(f.bitrate, 128);
        QCOMPARE(f.mode, 0);
        QVERIFY(f.original && !f.crc);
    }
    if (QStandardPaths::findExecutable(QStringLiteral("mpg123")).isEmpty())
        QSKIP("mpg123 n'est pas installé");
    const QByteArray pcm = testsupport::decodeWithMpg123(mp3Path);
    QVERIFY(qAbs(pcm.size() / 4 - 1105 - frames) <= 1152);
}

void TestWavEncoder::monoHalfRate()
{
    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("m.wav"));
    QVERIFY(writeFile(wavPath, testsupport::wavBytes(testsupport::tonePcm16(22050 * 2, 1, 22050), 1, 22050, 16)));
    const QString mp3Path = dir.filePath(QStringLiteral("m.mp3"));
    QVERIFY(encodeWavToMp3(loadWavFile(wavPath), mp3Path).ok);
    qsizetype rest = -1;
    const auto frames = testsupport::mp3Frames(readAll(mp3Path), &rest);
    QCOMPARE(rest, 0);
    QVERIFY(frames.size() > 10);
    for (const auto &f : frames) {
        QCOMPARE(f.version, 2); // 22050 Hz exists only in MPEG-2
        QCOMPARE(f.sampleRate, 22050);
        QCOMPARE(f.mode, 3);
        QCOMPARE(f.bitrate, 32);
        QVERIFY(f.original && !f.crc);
    }
}

void TestWavEncoder::widthsGiveTheSameAudio_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("formatTag");
    QTest::newRow("8-bit") << 8 << 1;
    QTest::newRow("24-bit") << 24 << 1;
    QTest::newRow("32-bit integer") << 32 << 1;
    QTest::newRow("32-bit float") << 32 << 3;
    QTest::newRow("64-bit float") << 64 << 3;
}

void TestWavEncoder::widthsGiveTheSameAudio()
{
    QFETCH(int, bits);
    QFETCH(int, formatTag);
    QTemporaryDir dir;
    const QByteArray pcm16 = coarseTone(44100);
    const QString ref = dir.filePath(QStringLiteral("ref.wav"));
    const QString other = dir.filePath(QStringLiteral("other.wav"));
    QVERIFY(writeFile(ref, testsupport::wavBytes(pcm16, 2, 44100, 16)));
    QVERIFY(writeFile(other, testsupport::wavBytes(widen(pcm16, bits, formatTag == 3), 2, 44100, bits, formatTag)));
    QVERIFY(encodeWavToMp3(loadWavFile(ref), mp3PathForWav(ref)).ok);
    const EncodeResult r = encodeWavToMp3(loadWavFile(other), mp3PathForWav(other));
    QVERIFY2(r.ok, qPrintable(r.error));
    // The same 16-bit samples reach the encoder, so the MP3 files are identical.
    const QByteArray a = readAll(mp3PathForWav(ref));
    QVERIFY(!a.isEmpty());
    QVERIFY(a == readAll(mp3PathForWav(other)));
}

void TestWavEncoder::failuresKeepTheOldFile_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::addColumn<QString>("error");
    QTest::newRow("three channels") << testsupport::wavBytes(QByteArray(600, '\1'), 3, 44100, 16)
                                    << "Le fichier « x.wav » a 3 canaux : seuls les fichiers mono et stéréo peuvent être convertis.";
    QTest::newRow("float of 16 bits") << testsupport::wavBytes(QByteArray(600, '\1'), 2, 44100, 16, 3)
                                      << "Le fichier « x.wav » utilise un codage audio non pris en charge (format 3, 16 bits).";
    QTest::newRow("no data chunk") << testsupport::wavBytes({}, 2, 44100, 16).left(36)
                                   << "Le fichier « x.wav » n'a pas de bloc « data ».";
}

void TestWavEncoder::failuresKeepTheOldFile()
{
    QFETCH(QByteArray, wav);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("x.wav"));
    const QString mp3Path = dir.filePath(QStringLiteral("x.mp3"));
    QVERIFY(writeFile(wavPath, wav));
    QVERIFY(writeFile(mp3Path, "older take"));
    const EncodeResult r = encodeWavToMp3(loadWavFile(wavPath), mp3Path);
    QVERIFY(!r.ok);
    QCOMPARE(r.error, error);
    QCOMPARE(readAll(mp3Path), QByteArray("older take"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

void TestWavEncoder::mp3Path_data()
{
    QTest::addColumn<QString>("wav");
    QTest::addColumn<QString>("mp3");
    QTest::newRow("lower case") << "/m/song.wav" << "/m/song.mp3";
    QTest::newRow("upper case") << "/m/SONG.WAV" << "/m/SONG.mp3";
    QTest::newRow("dots inside") << "/m/a.b.wav" << "/m/a.b.mp3";
}

void TestWavEncoder::mp3Path()
{
    QFETCH(QString, wav);
    QFETCH(QString, mp3);
    QCOMPARE(mp3PathForWav(wav), mp3);
}

QTEST_GUILESS_MAIN(TestWavEncoder)
#include "tst_wavencoder.moc"
