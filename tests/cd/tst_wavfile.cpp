#include "cd/wavfile.h"

#include "discimage.h"

#include <QBuffer>
#include <QDirIterator>
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
    return QByteArray(id, 4) + le32(quint32(declaredSize < 0 ? body.size() : declaredSize)) + body;
}

// fmt body: tag, channels, rate, bytes/s, align, bits.
QByteArray fmtBody(int tag, int channels, int rate, int bits)
{
    const int align = channels * ((bits + 7) / 8);
    QByteArray b = QByteArray::fromHex("00000000000000000000000000000000");
    qToLittleEndian<quint16>(quint16(tag), b.data());
    qToLittleEndian<quint16>(quint16(channels), b.data() + 2);
    qToLittleEndian<quint32>(quint32(rate), b.data() + 4);
    qToLittleEndian<quint32>(quint32(rate * align), b.data() + 8);
    qToLittleEndian<quint16>(quint16(align), b.data() + 12);
    qToLittleEndian<quint16>(quint16(bits), b.data() + 14);
    return b;
}

const QByteArray stereo16 = fmtBody(1, 2, 44100, 16);
const QByteArray samples = QByteArray("0123456789abcdef");

WavFile load(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return loadWavFile(buffer, QStringLiteral("morceau.wav"));
}

} // namespace

class TestWavFile : public QObject
{
    Q_OBJECT

private slots:
    void headerBytes();
    void chunkWalk_data();
    void chunkWalk();
    void refused_data();
    void refused();
    void sampleConversion_data();
    void sampleConversion();
    void corpus();
};

void TestWavFile::headerBytes()
{
    QCOMPARE(wavHeader(2349648).toHex(),
             QByteArray("52494646" "74da2300" "57415645" "666d7420" "10000000" "0100" "0200"
                        "44ac0000" "10b10200" "0400" "1000" "64617461" "50da2300"));
    QCOMPARE(wavHeader(0).mid(4, 4), le32(36));
}

void TestWavFile::chunkWalk_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("dataOffset");
    QTest::addColumn<qint64>("dataSize");
    QTest::addColumn<int>("bits");

    const QByteArray riff = "RIFF" + le32(0) + "WAVE";
    QTest::newRow("canonical") << testsupport::wavBytes(samples, 2, 44100, 16) << qint64(44) << qint64(16) << 16;
    QTest::newRow("fmt of 18 bytes") << riff + chunk("fmt ", stereo16 + QByteArray(2, '\0')) + chunk("data", samples)
                                     << qint64(46) << qint64(16) << 16;
    QTest::newRow("LIST before data") << riff + chunk("fmt ", stereo16) + chunk("LIST", "INFOabcd") + chunk("data", samples)
                                      << qint64(60) << qint64(16) << 16;
    QTest::newRow("LIST of odd size and its pad byte")
        << riff + chunk("fmt ", stereo16) + chunk("LIST", "INFOabc") + QByteArray(1, '\0') + chunk("data", samples)
        << qint64(60) << qint64(16) << 16;
    QTest::newRow("zero-size chunk") << riff + chunk("fmt ", stereo16) + chunk("junk", {}) + chunk("data", samples)
                                     << qint64(52) << qint64(16) << 16;
    QTest::newRow("data size past the end") << riff + chunk("fmt ", stereo16) + chunk("data", samples, 0x7FFFFFF0)
                                            << qint64(44) << qint64(16) << 16;
    QTest::newRow("data size 0xFFFFFFFF") << riff + chunk("fmt ", stereo16) + chunk("data", samples, 0xFFFFFFFF)
                                          << qint64(44) << qint64(16) << 16;
    QTest::newRow("fmt after data") << riff + chunk("data", samples) + chunk("fmt ", stereo16)
                                    << qint64(20) << qint64(16) << 16;
    QTest::newRow("24-bit extensible")
        << riff + chunk("fmt ", fmtBody(0xFFFE, 2, 48000, 24) + QByteArray::fromHex("1600" "1800" "03000000" "0100000000001000800000aa00389b71"))
               + chunk("data", samples.left(12))
        << qint64(68) << qint64(12) << 24;
    const QByteArray ds64 = chunk("ds64", le32(100) + le32(0) + le32(16) + le32(0) + le32(0) + le32(0));
    QTest::newRow("RF64 with ds64") << "RF64" + le32(0xFFFFFFFF) + "WAVE" + ds64 + chunk("fmt ", stereo16) + chunk("data", samples, 0xFFFFFFFF)
                                    << qint64(76) << qint64(16) << 16;
}

void TestWavFile::chunkWalk()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, dataOffset);
    QFETCH(qint64, dataSize);
    QFETCH(int, bits);
    const WavFile wav = load(file);
    QVERIFY2(wav.wavLoaded, qPrintable(wav.error));
    QCOMPARE(wav.dataOffset, dataOffset);
    QCOMPARE(wav.dataSize, dataSize);
    QCOMPARE(int(wav.wavFormat.bitsPerSample), bits);
    QCOMPARE(file.mid(dataOffset, dataSize), samples.left(dataSize));
}

void TestWavFile::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");
    const QByteArray riff = "RIFF" + le32(0) + "WAVE";
    QTest::newRow("empty") << QByteArray() << "Le fichier « morceau.wav » n'a pas de bloc « fmt ».";
    QTest::newRow("seven bytes") << QByteArray("RIFF\0\0\0", 7) << "Le fichier « morceau.wav » n'a pas de bloc « fmt ».";
    QTest::newRow("no data chunk") << riff + chunk("fmt ", stereo16) << "Le fichier « morceau.wav » n'a pas de bloc « data ».";
    QTest::newRow("fmt cut short") << riff + chunk("fmt ", stereo16.left(10), 16) << "Le fichier « morceau.wav » n'a pas de bloc « fmt ».";
    QTest::newRow("fmt too small") << riff + chunk("fmt ", stereo16.left(14)) + chunk("data", samples)
                                   << "Le fichier « morceau.wav » n'a pas de bloc « fmt ».";
    QTest::newRow("three channels") << riff + chunk("fmt ", fmtBody(1, 3, 44100, 16)) + chunk("data", samples)
                                    << "Le fichier « morceau.wav » a 3 canaux : seuls les fichiers mono et stéréo peuvent être convertis.";
    QTest::newRow("no channel") << riff + chunk("fmt ", fmtBody(1, 0, 44100, 16)) + chunk("data", samples)
                                << "Le fichier « morceau.wav » a 0 canaux : seuls les fichiers mono et stéréo peuvent être convertis.";
    QTest::newRow("A-law") << riff + chunk("fmt ", fmtBody(6, 1, 8000, 8)) + chunk("data", samples)
                           << "Le fichier « morceau.wav » utilise un codage audio non pris en charge (format 6, 8 bits).";
    QTest::newRow("16-bit float") << riff + chunk("fmt ", fmtBody(3, 2, 44100, 16)) + chunk("data", samples)
                                  << "Le fichier « morceau.wav » utilise un codage audio non pris en charge (format 3, 16 bits).";
    QTest::newRow("zero rate") << riff + chunk("fmt ", fmtBody(1, 2, 0, 16)) + chunk("data", samples)
                               << "Le fichier « morceau.wav » indique une fréquence d'échantillonnage nulle.";
}

void TestWavFile::refused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    const WavFile wav = load(file);
    QVERIFY(!wav.wavLoaded);
    QCOMPARE(wav.error, error);
}

void TestWavFile::sampleConversion_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("isFloat");
    QTest::addColumn<int>("expected");
    QTest::newRow("8-bit middle") << QByteArray::fromHex("80") << false << 0;
    QTest::newRow("8-bit lowest") << QByteArray::fromHex("00") << false << -32768;
    QTest::newRow("8-bit highest") << QByteArray::fromHex("ff") << false << 32512;
    QTest::newRow("16-bit") << QByteArray::fromHex("0180") << false << -32767;
    QTest::newRow("24-bit exact") << QByteArray::fromHex("00ff7f") << false << 32767;
    QTest::newRow("24-bit rounds up") << QByteArray::fromHex("801200") << false << 0x13;
    QTest::newRow("24-bit rounds down") << QByteArray::fromHex("7f1200") << false << 0x12;
    QTest::newRow("24-bit maximum stays in range") << QByteArray::fromHex("ffff7f") << false << 32767;
    QTest::newRow("24-bit negative") << QByteArray::fromHex("000080") << false << -32768;
    QTest::newRow("32-bit maximum") << QByteArray::fromHex("ffffff7f") << false << 32767;
    QTest::newRow("32-bit minus one unit") << QByteArray::fromHex("0000ffff") << false << -1;
    QTest::newRow("float half") << QByteArray::fromHex("0000003f") << true << 16384;
    QTest::newRow("float minus one") << QByteArray::fromHex("000080bf") << true << -32768;
    QTest::newRow("float above one clips") << QByteArray::fromHex("0000c03f") << true << 32767;
    QTest::newRow("float NaN") << QByteArray::fromHex("0000c07f") << true << 0;
    QTest::newRow("double quarter") << QByteArray::fromHex("000000000000d03f") << true << 8192;
}

void TestWavFile::sampleConversion()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isFloat);
    QFETCH(int, expected);
    QCOMPARE(int(sampleTo16(bytes.constData(), int(bytes.size()), isFloat)), expected);
}

void TestWavFile::corpus()
{
    const QString root = qEnvironmentVariable("TARVEX_CORPUS");
    if (root.isEmpty() || !QFileInfo(root).isDir())
        QSKIP("corpus extérieur absent (TARVEX_CORPUS)");
    QDirIterator it(root, {QStringLiteral("*.wav")}, QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    int loaded = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const WavFile wav = loadWavFile(path);
        ++files;
        const qint64 size = QFileInfo(path).size();
        if (wav.wavLoaded) {
            ++loaded;
            QVERIFY2(wav.dataOffset + wav.dataSize <= size, qPrintable(path));
            QVERIFY(wav.wavFormat.channels >= 1 && wav.wavFormat.channels <= 2);
        } else {
            QVERIFY2(wav.error.contains(QFileInfo(path).fileName()), qPrintable(path));
        }
    }
    QVERIFY(files > 0);
    QVERIFY(loaded > 0);
    qInfo("%d fichiers WAV du corpus lus, %d convertibles", files, loaded);
}

QTEST_GUILESS_MAIN(TestWavFile)
#include "tst_wavfile.moc"
