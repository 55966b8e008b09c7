// tarvex-cli gain run as a user runs it: the JSON answer, the texts --ecrire writes, a second
// run that writes nothing, --effacer, and the statuses of failures.
#include "peers.h"
#include "tonefiles.h"

#include "tags/usertexts.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

int gain(const QStringList &args, QJsonArray *json = nullptr)
{
    QProcess process;
    process.start(qEnvironmentVariable("TARVEX_CLI"), QStringList{"gain"} + args);
    process.waitForFinished(60000);
    if (json)
        *json = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
    return process.exitCode();
}

// The file's TXXX texts, "NAME=value|..."; its bytes as a hash.
QString texts(const QString &path)
{
    QStringList all;
    const tags::Result<QList<tags::UserText>> read = tags::readUserTexts(path);
    for (const tags::UserText &t : read.value())
        all.append(t.description + u'=' + t.value);
    return all.join(u'|');
}
QByteArray readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}
QByteArray digest(const QString &path)
{
    return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha1);
}

} // namespace

class TestGainCommand : public QObject
{
    Q_OBJECT

private slots:
    void measuresWritesAndClears()
    {
        if (QStandardPaths::findExecutable("lame").isEmpty())
            TARVEX_PEER_MISSING("lame is needed");
        QTemporaryDir dir;
        const QString loud = dir.filePath("loud.mp3"), quiet = dir.filePath("quiet.mp3");
        QVERIFY(tonefiles::writeMp3(loud, {44100, 2, 3, 1000, 0.8, 1}, {"-b", "128"}));
        QVERIFY(tonefiles::writeMp3(quiet, {44100, 1, 3, 1000, 0.4, 1}, {"-b", "64"}));

        QJsonArray json;
        QCOMPARE(gain({"--album", "--ecrire", loud, quiet}, &json), 0);
        const QJsonObject first = json[0].toObject(), album = first["album"].toObject();
        QCOMPARE(first["fichier"].toString(), loud);
        QVERIFY(first["ecrit"].toBool());
        QCOMPARE(first["gain"].toDouble(), -18 - first["lufs"].toDouble());
        QVERIFY(first["crete"].toDouble() > 0.75 && first["crete"].toDouble() <= 1);
        QVERIFY(first["crete_vraie"].toDouble() >= first["crete"].toDouble());
        QCOMPARE(json[1].toObject()["album"].toObject(), album);
        QCOMPARE(texts(loud), QStringLiteral("REPLAYGAIN_TRACK_GAIN=%1 dB|REPLAYGAIN_TRACK_PEAK=%2|"
                                             "REPLAYGAIN_ALBUM_GAIN=%3 dB|REPLAYGAIN_ALBUM_PEAK=%4")
                                  .arg(first["gain"].toDouble(), 0, 'f', 2)
                                  .arg(first["crete_vraie"].toDouble(), 0, 'f', 6)
                                  .arg(album["gain"].toDouble(), 0, 'f', 2)
                                  .arg(album["crete_vraie"].toDouble(), 0, 'f', 6));

        const QByteArray tagged = digest(loud);
        QCOMPARE(gain({"--album", "--ecrire", loud, quiet}), 0);
        QCOMPARE(digest(loud), tagged);
        QCOMPARE(gain({"--album", "--ecrire", "--rva2", loud, quiet}), 0);
        QVERIFY(readAll(loud).contains("RVA2"));
        QCOMPARE(gain({"--effacer", loud, quiet}), 0);
        QCOMPARE(texts(loud) + texts(quiet), QString());
        QVERIFY(!readAll(loud).contains("RVA2"));

        QCOMPARE(gain({loud, dir.filePath("missing.mp3")}, &json), 1);
        QVERIFY(json[1].toObject().contains("erreur"));
        QCOMPARE(gain({"--inconnue", loud}), 2);
    }
};

QTEST_GUILESS_MAIN(TestGainCommand)
#include "tst_gaincommand.moc"
