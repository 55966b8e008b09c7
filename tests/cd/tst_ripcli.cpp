#include "discimage.h"
#include "mp3frames.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("TARVEX_CLI"), args);
    CliRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
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
    void initTestCase();
    void ripWav();
    void ripMp3();
    void ripRefusals_data();
    void ripRefusals();
    void convertGoesOnAfterAFailure();
};

void TestRipCli::initTestCase()
{
    if (qEnvironmentVariable("TARVEX_CLI").isEmpty())
        QSKIP("TARVEX_CLI n'est pas défini (lancer par CTest)");
}

void TestRipCli::ripWav()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {50, 101, 20}, 2);
    const QString out = dir.filePath(QStringLiteral("p2.wav"));
    const CliRun r = runCli({QStringLiteral("rip"), QStringLiteral("--cd-image=") + image.cuePath(),
                             QStringLiteral("--piste=2"), QStringLiteral("--wav"), out});
    QCOMPARE(r.exitCode, 0);
    const QByteArray wav = readAll(out);
    QCOMPARE(wav.size(), 44 + 101 * 2352);
    QVERIFY(wav.mid(44) == image.trackPcm(1));
}

void TestRipCli::ripMp3()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {100});
    const QString out = dir.filePath(QStringLiteral("p1.mp3"));
    const CliRun r = runCli({QStringLiteral("rip"), QStringLiteral("--mp3"), QStringLiteral("--piste=1"),
                             QStringLiteral("--cd-image=") + image.cuePath(), out});
    QCOMPARE(r.exitCode, 0);
    qsizetype rest = -1;
    const auto frames = testsupport::mp3Frames(readAll(out), &rest);
    QCOMPARE(rest, 0);
    // 100 sectors are 58800 samples: at least 52 frames of 1152.
    QVERIFY(frames.size() >= 52);
}

void TestRipCli::ripRefusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("track past the end") << QStringList{"--piste=3", "--wav"} << 1 << "N° de piste incorrecte";
    QTest::newRow("track 0") << QStringList{"--piste=0", "--wav"} << 2 << "Numéro de piste invalide";
    QTest::newRow("both formats") << QStringList{"--piste=1", "--wav", "--mp3"} << 2 << "Choisissez --wav ou --mp3";
    QTest::newRow("no format") << QStringList{"--piste=1"} << 2 << "Il manque";
}

void TestRipCli::ripRefusals()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {30, 30});
    const QString out = dir.filePath(QStringLiteral("x.out"));
    const CliRun r = runCli(QStringList{QStringLiteral("rip"), QStringLiteral("--cd-image=") + image.cuePath()} + args
                            + QStringList{out});
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(out));
}

void TestRipCli::convertGoesOnAfterAFailure()
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.wav"));
    const QString good = dir.filePath(QStringLiteral("good.WAV"));
    QFile b(bad);
    QVERIFY(b.open(QIODevice::WriteOnly));
    b.write(testsupport::wavBytes(QByteArray(1200, '\1'), 4, 44100, 16));
    b.close();
    QFile g(good);
    QVERIFY(g.open(QIODevice::WriteOnly));
    g.write(testsupport::wavBytes(testsupport::tonePcm16(44100, 2, 44100), 2, 44100, 16));
    g.close();
    const CliRun r = runCli({QStringLiteral("convert"), bad, good});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("« bad.wav » a 4 canaux")), qPrintable(r.err));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("bad.mp3"))));
    QVERIFY(testsupport::mp3Frames(readAll(dir.filePath(QStringLiteral("good.mp3")))).size() >= 38);
}

QTEST_GUILESS_MAIN(TestRipCli)
#include "tst_ripcli.moc"
