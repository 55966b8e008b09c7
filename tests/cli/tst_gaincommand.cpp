// tarvex-cli gain run as a user runs it: the JSON answer, the texts --ecrire writes as mutagen
// reads them, a second run that writes nothing, and --effacer.
#include "peers.h"
#include "tonefiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int status = -1;
    QJsonArray json;
};

Run cli(const QStringList &args)
{
    QProcess process;
    process.start(qEnvironmentVariable("TARVEX_CLI"), QStringList{"gain"} + args);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QJsonDocument::fromJson(process.readAllStandardOutput()).array()};
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

// The REPLAYGAIN texts of the file as mutagen reads them, "NAME=value|..." sorted.
QString replayGainTexts(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {"-c",
             "import sys\nfrom mutagen.id3 import ID3\ntry:\n    t = ID3(sys.argv[1])\n"
             "except Exception:\n    t = ID3()\n"
             "print('|'.join(sorted(f.desc + '=' + f.text[0] for f in t.getall('TXXX') "
             "if f.desc.upper().startswith('REPLAYGAIN'))))",
             path});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

class TestGainCommand : public QObject
{
    Q_OBJECT

private slots:
    void measuresWritesAndClears();
};

void TestGainCommand::measuresWritesAndClears()
{
    if (QStandardPaths::findExecutable("lame").isEmpty())
        TARVEX_PEER_MISSING("lame is needed");
    QTemporaryDir dir;
    const QString loud = dir.filePath("loud.mp3"), quiet = dir.filePath("quiet.mp3");
    QVERIFY(tonefiles::writeMp3(loud, {44100, 2, 3, 1000, 0.8, 1}, {"-b", "128"}));
    QVERIFY(tonefiles::writeMp3(quiet, {44100, 1, 3, 1000, 0.1, 1}, {"-b", "64"}));
    const QByteArray untouched = digest(loud);

    Run run = cli({loud, quiet});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.json.size(), 2);
    const QJsonObject first = run.json[0].toObject();
    QCOMPARE(first["fichier"].toString(), loud);
    QCOMPARE(first["gain"].toDouble(), -18 - first["lufs"].toDouble());
    QVERIFY(first["crete"].toDouble() > 0.75 && first["crete"].toDouble() <= 1);
    QVERIFY(first["crete_vraie"].toDouble() >= first["crete"].toDouble());
    QVERIFY(!first.contains("album"));
    QVERIFY(run.json[1].toObject()["gain"].toDouble() > first["gain"].toDouble() + 10);
    QCOMPARE(digest(loud), untouched);

    run = cli({"--album", "--ecrire", loud, quiet});
    QCOMPARE(run.status, 0);
    const QJsonObject written = run.json[0].toObject();
    QVERIFY(written["ecrit"].toBool());
    const QJsonObject album = written["album"].toObject();
    QCOMPARE(run.json[1].toObject()["album"].toObject(), album);
    QCOMPARE(replayGainTexts(loud),
             QStringLiteral("REPLAYGAIN_ALBUM_GAIN=%1 dB|REPLAYGAIN_ALBUM_PEAK=%2|"
                            "REPLAYGAIN_TRACK_GAIN=%3 dB|REPLAYGAIN_TRACK_PEAK=%4")
                 .arg(album["gain"].toDouble(), 0, 'f', 2)
                 .arg(album["crete_vraie"].toDouble(), 0, 'f', 6)
                 .arg(written["gain"].toDouble(), 0, 'f', 2)
                 .arg(written["crete_vraie"].toDouble(), 0, 'f', 6));

    const QByteArray tagged = digest(loud);
    QCOMPARE(cli({"--album", "--ecrire", loud, quiet}).status, 0);
    QCOMPARE(digest(loud), tagged);

    QCOMPARE(cli({"--effacer", loud, quiet}).status, 0);
    QCOMPARE(replayGainTexts(loud), QString());
    QCOMPARE(replayGainTexts(quiet), QString());

    run = cli({loud, dir.filePath("missing.mp3")});
    QCOMPARE(run.status, 1);
    QVERIFY(run.json[1].toObject().contains("erreur"));
    QCOMPARE(cli({"--inconnue", loud}).status, 2);
}

QTEST_GUILESS_MAIN(TestGainCommand)
#include "tst_gaincommand.moc"
