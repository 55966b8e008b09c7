// tarvex-cli info, run as a script runs it, against mpg123: on files encoded by lame and on the
// outside corpus.
#include "discimage.h"
#include "mpegstream.h"
#include "peers.h"

#include "mpeg/audiostart.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Compares the entry of a file in tarvex-cli info with the first frame mpg123 decodes, and
// tells whether mpg123 found one. The page's reader takes the first sync whatever follows, so
// it is compared only on clean files.
bool agreesWithMpg123(const QJsonObject &entry, bool withPage)
{
    const QString path = entry["fichier"].toString();
    QProcess p;
    p.start(QStringLiteral("mpg123"), {"-t", "-v", "-n", "1", path});
    p.waitForFinished(20000);
    static const QRegularExpression line(
        QStringLiteral("^MPEG (\\S+) L (I+) (cbr|vbr|abr)(\\d*) (\\d+) (\\S+)"),
        QRegularExpression::MultilineOption);
    const auto m = line.match(QString::fromLocal8Bit(p.readAllStandardError()));
    if (!m.hasMatch())
        return false;
    static const QHash<QString, QString> modes = {
        {"Stereo", "stereo"}, {"Joint Stereo", "j-s"}, {"Double Cha", "dual"}, {"Mono", "mono"}};
    const QJsonObject mpeg = entry["mpeg"].toObject();
    const QJsonObject shown = entry["infos"].toObject();
    const bool cbr = m.captured(3) == "cbr" && mpeg["Vbr"].toString().isEmpty();
    [&] {
        QVERIFY2(mpeg["Valide"].toBool(), qPrintable(path));
        QCOMPARE(QStringList({mpeg["Mpeg"].toString(), mpeg["Layer"].toString(),
                              QString::number(mpeg["Frequence"].toInt()),
                              modes.value(mpeg["Mode"].toString())}),
                 m.capturedTexts().mid(1, 2) + m.capturedTexts().mid(5, 2));
        if (cbr)
            QCOMPARE(mpeg["BitRate"].toInt(), m.captured(4).toInt());
        if (withPage)
            QCOMPARE(QStringList({shown["Mpeg_Mpeg"].toString(), shown["Mpeg_Layer"].toString(),
                                  shown["Mpeg_Frequence"].toString(),
                                  cbr ? shown["Mpeg_BitRate"].toString() : ""}),
                     QStringList({m.captured(1), m.captured(2), m.captured(5) + " Hz",
                                  cbr ? m.captured(4) + " Kbt" : ""}));
    }();
    return true;
}

// Compares the duration and average bit rate of a VBR file, in both readers, with those of
// mediainfo. Its bit rate leaves the Xing frame out and the readers count it: a frame's
// difference is allowed.
void agreesWithMediainfo(const QJsonObject &entry)
{
    QProcess p;
    p.start(QStringLiteral("mediainfo"),
            {"--Inform=Audio;%Duration% %BitRate%", entry["fichier"].toString()});
    QVERIFY(p.waitForFinished(20000));
    const QStringList figures = QString::fromLatin1(p.readAllStandardOutput()).split(u' ');
    QCOMPARE(figures.size(), 2);
    const qint64 seconds = figures[0].toLongLong() / 1000;
    const double bitRate = figures[1].toDouble() / 1000;
    const QJsonObject mpeg = entry["mpeg"].toObject();
    QCOMPARE(mpeg["Duree"].toInteger(), seconds);
    QVERIFY2(qAbs(mpeg["BitRate"].toInt() - bitRate) <= 2,
             qPrintable(QStringLiteral("%1 / %2").arg(mpeg["BitRate"].toInt()).arg(bitRate)));
    // The page sees the Xing header of MPEG 1 stereo streams only.
    const QJsonObject shown = entry["infos"].toObject();
    if (shown["Mpeg_VRB"].toString() == QLatin1String("Avec")) {
        QCOMPARE(shown["Mpeg_Longueur_Fichier"].toString(),
                 QStringLiteral("%1").arg(seconds, 2, 10, QLatin1Char('0')));
        QVERIFY(qAbs(shown["Mpeg_BitRate"].toString().section(u' ', 0, 0).toInt() - bitRate) <= 2);
    }
}

// Why a test that needs these peer tools cannot run: the first one missing, or nothing.
QByteArray missing(std::initializer_list<const char *> tools)
{
    for (const char *tool : tools)
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return tool + QByteArray(" n'est pas installé (scripts/install-deps.sh)");
    return {};
}

} // namespace

class TestPeerTools : public QObject
{
    Q_OBJECT
    QString m_cli;

    QJsonArray info(const QStringList &paths, int expectedExit)
    {
        QProcess p;
        p.start(m_cli, QStringList{"info", "--"} + paths);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != expectedExit)
            return {};
        return QJsonDocument::fromJson(p.readAllStandardOutput()).array();
    }

private slots:
    void initTestCase()
    {
        m_cli = qEnvironmentVariable("TARVEX_CLI");
        QVERIFY2(QFile::exists(m_cli), "TARVEX_CLI ne désigne pas tarvex-cli (lancer par ctest)");
    }

    void lameEncodedFile_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("vbr");
        QTest::addColumn<int>("picture"); // bytes of a picture in an ID3v2 tag before the audio
        QTest::newRow("MPEG 2.5 32k joint stereo")
            << QStringList{"-b", "32", "--resample", "11.025", "-m", "j"} << "" << 0;
        QTest::newRow("MPEG 2 VBR at 16 kHz")
            << QStringList{"-V", "4", "--resample", "16"} << "VBR" << 0;
        QTest::newRow("MPEG 1 ABR at 32 kHz")
            << QStringList{"--abr", "64", "--resample", "32"} << "VBR" << 0;
        QTest::newRow("MPEG 1 VBR behind a 400 KB picture")
            << QStringList{"-V", "4"} << "VBR" << 400000;
        // No bit rate in the headers: players take it from the distance between them.
        QTest::newRow("free format at 200 kbit/s")
            << QStringList{"--freeformat", "-b", "200"} << "" << 0;
    }

    void lameEncodedFile()
    {
        if (const QByteArray why = missing({"lame", "mpg123", "mediainfo"}); !why.isEmpty())
            TARVEX_PEER_MISSING(why.constData());
        QFETCH(QStringList, options);
        QFETCH(QString, vbr);
        QFETCH(int, picture);
        QTemporaryDir dir;
        const QString path = dir.filePath("a.mp3");
        QProcess lame;
        lame.start("lame", QStringList{"--quiet", "-r"} + options +
                               QStringList{"-", dir.filePath("a.mp3")});
        QVERIFY(lame.waitForStarted());
        lame.write(testsupport::tonePcm16(44100 * 3, 2, 44100)); // three seconds, raw samples
        lame.closeWriteChannel();
        QVERIFY(lame.waitForFinished(60000) && lame.exitCode() == 0);
        if (picture > 0) {
            const QByteArray tag =
                mpegstream::id3v2Tag(3, {mpegstream::id3v2PictureFrame(3, picture)});
            QVERIFY(mpegstream::writeFile(path, tag + mpegstream::readFile(path)));
        }

        // A file that cannot be read is named; the others are still reported.
        const QJsonArray files = info({dir.filePath("absent.mp3"), path}, 1);
        QCOMPARE(files.size(), 2);
        QVERIFY(!files[0].toObject()["erreur"].toString().isEmpty());
        QCOMPARE(files[1].toObject()["mpeg"].toObject()["Vbr"].toString(), vbr);
        QVERIFY(agreesWithMpg123(files[1].toObject(), true));
        if (!vbr.isEmpty())
            agreesWithMediainfo(files[1].toObject());

        // A save that rewrites the file keeps the audio as lame wrote it, the byte count of its
        // Xing header included: that counts the audio alone.
        const QByteArray audio = mpegstream::readFile(path).mid(mpeg::audioStart(path));
        QProcess set;
        set.start(m_cli, {"set", "--titre=" + QString(300, u'x'), path});
        QVERIFY(set.waitForFinished(60000) && set.exitCode() == 0);
        QCOMPARE(mpegstream::readFile(path).mid(mpeg::audioStart(path)), audio);
    }

    void corpus()
    {
        const QString root = qEnvironmentVariable("TARVEX_CORPUS");
        if (root.isEmpty() || !QDir(root).exists())
            TARVEX_PEER_MISSING("outside corpus absent (TARVEX_CORPUS)");
        QStringList paths;
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            paths.append(it.next());
        // Every file goes through both readers.
        const QJsonArray files = info(paths, 0);
        QCOMPARE(files.size(), paths.size());
        if (const QByteArray why = missing({"mpg123"}); !why.isEmpty())
            TARVEX_PEER_MISSING(why.constData());
        // Random bytes before the audio: a false sync there passes the two-byte test and decodes
        // to plausible values, and the analysis takes it where mpg123 resynchronises further on.
        const QStringList junkBeforeAudio = {"garbage.mp3", "invalid-frames1.mp3",
                                             "invalid-frames2.mp3", "invalid-frames3.mp3"};
        int compared = 0;
        for (const QJsonValue &file : files) {
            const QString path = file.toObject()["fichier"].toString();
            if (path.endsWith(".mp3") && !junkBeforeAudio.contains(QFileInfo(path).fileName()))
                compared += agreesWithMpg123(file.toObject(), false);
        }
        QVERIFY2(compared >= 20, "too few corpus files compared with mpg123");
    }
};

QTEST_GUILESS_MAIN(TestPeerTools)
#include "tst_peertools.moc"
