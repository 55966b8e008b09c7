#include "discimage.h"
#include "mp3frames.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestRipCli : public QObject
{
    Q_OBJECT

private slots:
    void ripCountsTracksFromOne();
    void convertGoesOnAfterAFailure();
};

// "--piste=2" is the second track of the disc whatever number the disc gives it.
void TestRipCli::ripCountsTracksFromOne()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {50, 101, 20}, 2);
    const QString out = dir.filePath(QStringLiteral("p2.wav"));
    QCOMPARE(QProcess::execute(qEnvironmentVariable("TARVEX_CLI"),
                               {"rip", "--cd-image=" + image.cuePath(), "--piste=2", "--wav", out}), 0);
    QVERIFY(readAll(out).mid(44) == image.trackPcm(1));
    QCOMPARE(QProcess::execute(qEnvironmentVariable("TARVEX_CLI"),
                               {"rip", "--cd-image=" + image.cuePath(), "--piste=4", "--mp3", out + ".mp3"}), 1);
    QVERIFY(!QFile::exists(out + ".mp3"));
}

void TestRipCli::convertGoesOnAfterAFailure()
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.wav"));
    const QString good = dir.filePath(QStringLiteral("good.WAV"));
    QVERIFY(writeFile(bad, testsupport::wavBytes(QByteArray(1200, '\1'), 4, 44100, 16)));
    QVERIFY(writeFile(good, testsupport::wavBytes(testsupport::tonePcm16(44100, 2, 44100), 2, 44100, 16)));
    QProcess cli;
    cli.start(qEnvironmentVariable("TARVEX_CLI"), {"convert", bad, good});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 1);
    QVERIFY(QString::fromUtf8(cli.readAllStandardError()).contains(QStringLiteral("« bad.wav » a 4 canaux")));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("bad.mp3"))));
    QVERIFY(testsupport::mp3Frames(readAll(dir.filePath(QStringLiteral("good.mp3")))).size() >= 38);
}

QTEST_GUILESS_MAIN(TestRipCli)
#include "tst_ripcli.moc"
