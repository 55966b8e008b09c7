// tarvex-cli info, run as a separate process on generated files.
#include "mpegstream.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace mpegstream;

class TestInfoCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reportsBothReaders();
    void failedFileIsReportedAndOthersGoOn();
    void usageErrors_data();
    void usageErrors();

private:
    int run(const QStringList &args, QByteArray *out = nullptr);
    QString m_cli;
    QTemporaryDir m_dir;
};

int TestInfoCommand::run(const QStringList &args, QByteArray *out)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(m_cli, QStringList{"info"} + args);
    if (!p.waitForFinished(30000))
        return -1;
    if (out)
        *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void TestInfoCommand::initTestCase()
{
    m_cli = qEnvironmentVariable("TARVEX_CLI");
    if (m_cli.isEmpty() || !QFile::exists(m_cli))
        QSKIP("TARVEX_CLI does not name the built tarvex-cli");
    QVERIFY(m_dir.isValid());
}

void TestInfoCommand::reportsBothReaders()
{
    const QString path = m_dir.filePath("cinq millions.mp3");
    const QByteArray tag = id3v2Tag(3, {id3v2TextFrame(3, "TIT2", "Titre")}, 4096 - 26);
    QVERIFY(writeFile(path, tag + streamOfSize(FrameHeader(), 5000000 - tag.size())));
    QByteArray out;
    QCOMPARE(run({path}, &out), 0);
    const QJsonArray files = QJsonDocument::fromJson(out).array();
    QCOMPARE(files.size(), 1);
    const QJsonObject entry = files.at(0).toObject();
    QCOMPARE(entry[QStringLiteral("fichier")].toString(), path);

    const QJsonObject mpeg = entry[QStringLiteral("mpeg")].toObject();
    QCOMPARE(mpeg.size(), 18);
    QCOMPARE(mpeg[QStringLiteral("Valide")].toBool(), true);
    QCOMPARE(mpeg[QStringLiteral("EntetePos")].toInteger(), 4096);
    QCOMPARE(mpeg[QStringLiteral("Taille")].toInteger(), 5000000);
    QCOMPARE(mpeg[QStringLiteral("Mpeg")].toString(), QStringLiteral("1.0"));
    QCOMPARE(mpeg[QStringLiteral("Layer")].toString(), QStringLiteral("III"));
    QCOMPARE(mpeg[QStringLiteral("BitRate")].toInt(), 128);
    QCOMPARE(mpeg[QStringLiteral("Duree")].toInteger(), 312);
    QCOMPARE(mpeg[QStringLiteral("Emphasis")].toString(), QStringLiteral("Aucun"));
    QCOMPARE(mpeg[QStringLiteral("Vbr")].toString(), QString());

    const QJsonObject infos = entry[QStringLiteral("infos")].toObject();
    QCOMPARE(infos.size(), 15);
    QCOMPARE(infos[QStringLiteral("Mpeg_Taille_Fichier")].toString(), QStringLiteral("4,77Mo"));
    QCOMPARE(infos[QStringLiteral("Mpeg_Longueur_Fichier")].toString(), QStringLiteral("05:12"));
    QCOMPARE(infos[QStringLiteral("Mpeg_BitRate")].toString(), QStringLiteral("128 Kbt"));
    QCOMPARE(infos[QStringLiteral("Mpeg_Frequence")].toString(), QStringLiteral("44100 Hz"));
    QCOMPARE(infos[QStringLiteral("Mpeg_Emphasis")].toString(), QStringLiteral("Sans"));
    QCOMPARE(infos[QStringLiteral("Mpeg_VRB")].toString(), QStringLiteral("Faux"));
}

void TestInfoCommand::failedFileIsReportedAndOthersGoOn()
{
    const QString good = m_dir.filePath("bon.mp3");
    QVERIFY(writeFile(good, frames(FrameHeader(), 10)));
    const QString empty = m_dir.filePath("vide.mp3");
    QVERIFY(writeFile(empty, QByteArray()));
    QByteArray out;
    QCOMPARE(run({m_dir.filePath("absent.mp3"), good, empty}, &out), 1);
    const QJsonArray files = QJsonDocument::fromJson(out).array();
    QCOMPARE(files.size(), 3);
    QVERIFY(files.at(0).toObject()[QStringLiteral("mpeg")].isNull());
    QVERIFY(!files.at(0).toObject()[QStringLiteral("erreur")].toString().isEmpty());
    QCOMPARE(files.at(1).toObject()[QStringLiteral("mpeg")].toObject()[QStringLiteral("Valide")],
             true);
    // An empty file is read: there is simply no stream in it.
    const QJsonObject last = files.at(2).toObject();
    QCOMPARE(last[QStringLiteral("mpeg")].toObject()[QStringLiteral("Valide")], false);
    QCOMPARE(last[QStringLiteral("infos")].toObject()[QStringLiteral("Mpeg_BitRate")],
             QStringLiteral("0 Kbt"));
}

void TestInfoCommand::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no file") << QStringList();
    QTest::newRow("unknown option") << QStringList{"--inconnue", "a.mp3"};
}

void TestInfoCommand::usageErrors()
{
    QFETCH(QStringList, args);
    QByteArray out;
    QCOMPARE(run(args, &out), 2);
    QVERIFY(out.isEmpty());
}

QTEST_GUILESS_MAIN(TestInfoCommand)
#include "tst_infocommand.moc"
