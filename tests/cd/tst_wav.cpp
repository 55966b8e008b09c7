#include "cd/wavencoder.h"
#include "cd/wavfile.h"

#include "discimage.h"
#include "mp3frames.h"

#include <QDataStream>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace cd;

namespace {

QByteArray le32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray chunk(const char *id, const QByteArray &body, qint64 declaredSize = -1)
{
    return id + le32(quint32(declaredSize < 0 ? body.size() : declaredSize)) + body;
}

// The body of a "fmt " chunk: the 44-byte header of a WAV file holds it at offset 20.
QByteArray fmt(int tag, int channels, int rate, int bits)
{
    return testsupport::wavBytes({}, channels, rate, bits, tag).mid(20, 16);
}

const QByteArray riff = "RIFF" + le32(0) + "WAVE";
const QByteArray stereo16 = fmt(1, 2, 44100, 16);
const QByteArray samples = "0123456789ab";

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

// Re-encodes 16-bit samples at another width (8-bit keeps the high byte only).
QByteArray widen(const QByteArray &pcm16, int bits, bool isFloat)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(bits == 32 ? QDataStream::SinglePrecision : QDataStream::DoublePrecision);
    for (qsizetype i = 0; i + 1 < pcm16.size(); i += 2) {
        const qint16 s = qFromLittleEndian<qint16>(pcm16.constData() + i);
        if (isFloat)
            stream << s / 32768.0;
        else if (bits == 8)
            stream << quint8((s >> 8) + 128);
        else
            (bits == 24 ? stream << quint8(0) : stream << quint16(0)) << s;
    }
    return out;
}

} // namespace

class TestWav : public QObject
{
    Q_OBJECT

private slots:
    void load_data();
    void load();
    void sampleExtremes_data();
    void sampleExtremes();
    void encode_data();
    void encode();
    void corpus();
    void convertGoesOnAfterAFailure();
};

void TestWav::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("dataOffset");
    QTest::addColumn<QString>("error");
    const QByteArray fmtData = chunk("fmt ", stereo16) + chunk("data", samples);
    QTest::newRow("LIST of odd size and its pad byte")
        << riff + chunk("fmt ", stereo16) + chunk("LIST", "INFOabc") + '\0' + chunk("data", samples) << 60ll << "";
    QTest::newRow("zero-size chunk") << riff + chunk("junk", {}) + fmtData << 52ll << "";
    QTest::newRow("data size past the end")
        << riff + chunk("fmt ", stereo16) + chunk("data", samples, 0xFFFFFFFF) << 44ll << "";
    QTest::newRow("fmt after data") << riff + chunk("data", samples) + chunk("fmt ", stereo16) << 20ll << "";
    QTest::newRow("24-bit extensible")
        << riff + chunk("fmt ", fmt(0xFFFE, 2, 48000, 24) + QByteArray::fromHex("16001800030000000100000000001000800000aa00389b71"))
               + chunk("data", samples) << 68ll << "";
    const QByteArray ds64 = chunk("ds64", le32(100) + le32(0) + le32(12) + QByteArray(12, '\0'));
    QTest::newRow("RF64 with ds64") << "RF64" + le32(0xFFFFFFFF) + "WAVE" + ds64 + chunk("fmt ", stereo16)
                                           + chunk("data", samples, 0xFFFFFFFF) << 76ll << "";
    QTest::newRow("fmt cut short") << riff + chunk("fmt ", stereo16.left(10), 16) << 0ll
                                   << "Le fichier « x.wav » n'a pas de bloc « fmt ».";
    QTest::newRow("no data chunk") << riff + chunk("fmt ", stereo16) << 0ll << "Le fichier « x.wav » n'a pas de bloc « data ».";
    QTest::newRow("three channels") << riff + chunk("fmt ", fmt(1, 3, 44100, 16)) + chunk("data", samples) << 0ll
                                    << "Le fichier « x.wav » a 3 canaux : seuls les fichiers mono et stéréo peuvent être convertis.";
    QTest::newRow("16-bit float") << riff + chunk("fmt ", fmt(3, 2, 44100, 16)) + chunk("data", samples) << 0ll
                                  << "Le fichier « x.wav » utilise un codage audio non pris en charge (format 3, 16 bits).";
    QTest::newRow("zero rate") << riff + chunk("fmt ", fmt(1, 2, 0, 16)) + chunk("data", samples) << 0ll
                               << "Le fichier « x.wav » indique une fréquence d'échantillonnage nulle.";
}

// The chunk walk finds the samples whatever the layout; a file that cannot be converted is named
// in the error and leaves the earlier MP3 as it was.
void TestWav::load()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, dataOffset);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString mp3Path = dir.filePath(QStringLiteral("x.mp3"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("x.wav")), file) && writeFile(mp3Path, "older take"));
    const WavFile wav = loadWavFile(dir.filePath(QStringLiteral("x.wav")));
    const EncodeResult r = encodeWavToMp3(wav, mp3Path);
    if (error.isEmpty()) {
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(wav.dataOffset, dataOffset);
        QCOMPARE(wav.dataSize, samples.size());
        return;
    }
    QCOMPARE(r.error, error);
    QCOMPARE(readAll(mp3Path), QByteArray("older take"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

void TestWav::sampleExtremes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("isFloat");
    QTest::addColumn<int>("expected");
    QTest::newRow("8-bit lowest") << QByteArray::fromHex("00") << false << -32768;
    QTest::newRow("24-bit rounds up") << QByteArray::fromHex("801200") << false << 0x13;
    QTest::newRow("24-bit rounds down") << QByteArray::fromHex("7f1200") << false << 0x12;
    QTest::newRow("24-bit maximum does not round over") << QByteArray::fromHex("ffff7f") << false << 32767;
    QTest::newRow("float above one clips") << QByteArray::fromHex("0000c03f") << true << 32767;
    QTest::newRow("float NaN") << QByteArray::fromHex("0000c07f") << true << 0;
}

void TestWav::sampleExtremes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isFloat);
    QFETCH(int, expected);
    QCOMPARE(int(sampleTo16(bytes.constData(), int(bytes.size()), isFloat)), expected);
}

void TestWav::encode_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("formatTag");
    QTest::addColumn<QString>("frames"); // MPEG version, mode, kbit/s, Hz of every frame
    QTest::newRow("stereo 44100 Hz, 24-bit") << 2 << 44100 << 24 << 1 << "1 0 128 44100";
    QTest::newRow("stereo 48000 Hz, 32-bit float") << 2 << 48000 << 32 << 3 << "1 0 128 48000";
    QTest::newRow("mono 22050 Hz, 8-bit") << 1 << 22050 << 8 << 1 << "2 3 32 22050";
    QTest::newRow("mono 22050 Hz, 64-bit float") << 1 << 22050 << 64 << 3 << "2 3 32 22050";
}

// A WAV of another sample width gives the same MP3 as its 16-bit version: the same samples
// reach the encoder. Every frame is Layer III with the original bit, no CRC, no header frame.
void TestWav::encode()
{
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(int, bits);
    QFETCH(int, formatTag);
    QFETCH(QString, frames);
    QTemporaryDir dir;
    QByteArray pcm16 = testsupport::tonePcm16(rate * 2 + 17, channels, rate);
    for (qsizetype i = 0; i < pcm16.size(); i += 2)
        pcm16[i] = 0; // samples that 8-bit WAV can carry exactly
    const QString ref = dir.filePath(QStringLiteral("ref.wav"));
    const QString other = dir.filePath(QStringLiteral("other.WAV"));
    QVERIFY(writeFile(ref, testsupport::wavBytes(pcm16, channels, rate, 16)));
    QVERIFY(writeFile(other, testsupport::wavBytes(widen(pcm16, bits, formatTag == 3), channels, rate, bits, formatTag)));
    QVERIFY(encodeWavToMp3(loadWavFile(ref), dir.filePath(QStringLiteral("ref.mp3"))).ok);
    const EncodeResult r = encodeWavToMp3(loadWavFile(other), mp3PathForWav(other));
    QVERIFY2(r.ok, qPrintable(r.error));
    const QByteArray mp3 = readAll(dir.filePath(QStringLiteral("other.mp3")));
    QVERIFY(mp3 == readAll(dir.filePath(QStringLiteral("ref.mp3"))));
    qsizetype rest = -1;
    const auto parsed = testsupport::mp3Frames(mp3, &rest);
    QCOMPARE(rest, 0);
    QVERIFY(parsed.size() > 30);
    for (const auto &f : parsed) {
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(f.version).arg(f.mode).arg(f.bitrate).arg(f.sampleRate), frames);
        QVERIFY(f.layer == 3 && f.original && !f.crc);
    }
}

void TestWav::corpus()
{
    const QString root = qEnvironmentVariable("TARVEX_CORPUS");
    if (root.isEmpty() || !QFileInfo(root).isDir())
        QSKIP("corpus extérieur absent (TARVEX_CORPUS)");
    QDirIterator it(root, {QStringLiteral("*.wav")}, QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    int loaded = 0;
    for (; it.hasNext(); ++files) {
        const QString path = it.next();
        const WavFile wav = loadWavFile(path);
        loaded += wav.wavLoaded;
        QVERIFY2(wav.wavLoaded ? wav.dataOffset + wav.dataSize <= QFileInfo(path).size()
                               : wav.error.contains(QFileInfo(path).fileName()), qPrintable(path));
    }
    QVERIFY(files > 0 && loaded > 0);
    qInfo("%d fichiers WAV du corpus lus, %d convertibles", files, loaded);
}

// The command line converts the next file after one it cannot convert, and reports the failure.
void TestWav::convertGoesOnAfterAFailure()
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.wav"));
    const QString good = dir.filePath(QStringLiteral("good.WAV"));
    QVERIFY(writeFile(bad, testsupport::wavBytes(QByteArray(1200, '\1'), 4, 44100, 16)));
    QVERIFY(writeFile(good, testsupport::wavBytes(testsupport::tonePcm16(44100, 2, 44100), 2, 44100, 16)));
    QCOMPARE(QProcess::execute(qEnvironmentVariable("TARVEX_CLI"), {"convert", bad, good}), 1);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("bad.mp3"))));
    QVERIFY(testsupport::mp3Frames(readAll(dir.filePath(QStringLiteral("good.mp3")))).size() >= 38);
}

QTEST_GUILESS_MAIN(TestWav)
#include "tst_wav.moc"
