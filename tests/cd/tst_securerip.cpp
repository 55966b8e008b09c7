#include "cd/accuraterip.h"
#include "cd/extractionjob.h"
#include "cd/ripper.h"

#include "accuratereference.h"
#include "discimage.h"
#include "httpserver.h"
#include "mpegstream.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace cd;
using mpegstream::readFile;

namespace {

QJsonArray runCli(const QStringList &args, int *status)
{
    QProcess p;
    p.start(qEnvironmentVariable("TARVEX_CLI"), args);
    // The loopback server answers while the command runs.
    if (!QTest::qWaitFor([&p] { return p.state() == QProcess::NotRunning; }, 60000))
        return {};
    *status = p.exitCode();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).array();
}

} // namespace

class TestSecureRip : public QObject
{
    Q_OBJECT

private slots:
    void offsetIsCorrected_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("secure");
        QTest::newRow("drive reads late by over a sector, fast") << 1000 << false;
        QTest::newRow("drive reads early, secure") << -700 << true;
    }

    // A drive with a read offset, corrected by the same number of samples, gives the disc's audio
    // back; what lies beyond the disc's ends is silence.
    void offsetIsCorrected()
    {
        QFETCH(int, offset);
        QFETCH(bool, secure);
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {40, 61, 45});
        QList<QByteArray> pcm{image.trackPcm(0), image.trackPcm(1), image.trackPcm(2)};
        const QByteArray silence(std::abs(offset) * 4, '\0');
        if (offset > 0)
            pcm[2] = pcm[2].left(pcm[2].size() - silence.size()) + silence;
        else
            pcm[0] = silence + pcm[0].mid(silence.size());
        QVERIFY(testsupport::shiftImage(image.binPath(), offset));
        for (int k = 0; k < 3; ++k) {
            const QString out = dir.filePath(QStringLiteral("%1.wav").arg(k));
            const RipResult r =
                ripTrackToWav(image.cuePath(), k, out, Overwrite::Refuse, {}, {secure, offset});
            QVERIFY(r.ok());
            QCOMPARE(r.secure, secure);
            QVERIFY2(readFile(out).mid(44) == pcm.at(k), qPrintable(QString::number(k)));
        }
    }

    // tarvex-cli rip of a disc read with an offset, then verify of the files, against a database
    // entry made from the disc's own audio; the log and the cue sheet name the files written.
    void ripAndVerifyAgainstDatabase()
    {
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {3000, 61, 3100});
        QList<QByteArray> pcm{image.trackPcm(0), image.trackPcm(1), image.trackPcm(2)};
        QVERIFY(testsupport::shiftImage(image.binPath(), 6));
        pcm[2].replace(pcm[2].size() - 24, 24, QByteArray(24, '\0'));
        CdToc toc{1, 3, {{0, 2, 0}, {0, 42, 0}, {0, 42, 61}, {1, 24, 11}}};
        const AccurateRipDiscId id = *accurateRipDiscId(toc);
        QList<std::pair<int, quint32>> sums;
        for (int k = 0; k < 3; ++k)
            sums.append({10 + k, testsupport::referenceAccurateRip(pcm[k], k == 0, k == 2).v1});
        testsupport::HttpServer server;
        QVERIFY(server.start());
        server.queue('/' + id.entryPath().toUtf8(),
                     {200, testsupport::accurateRipPressing(id, sums)});
        const QString disc = "--cd-image=" + image.cuePath(), db = "--accuraterip=" + server.url();
        int status = -1;
        const QJsonArray ripped = runCli(
            {"rip", disc, db, "--toutes", "--wav", "--decalage=6", "--album=Nuit", dir.path()},
            &status);
        QCOMPARE(status, 0);
        QCOMPARE(ripped.size(), 3);
        const QString log = QString::fromUtf8(readFile(dir.filePath(QStringLiteral("Nuit.log"))));
        const QString cue = QString::fromUtf8(readFile(dir.filePath(QStringLiteral("Nuit.cue"))));
        QStringList files;
        for (int k = 0; k < 3; ++k) {
            const QJsonObject t = ripped[k].toObject();
            QCOMPARE(t["piste"].toInt(), k + 1);
            QCOMPARE(t["accuraterip"]["resultat"].toString(), QStringLiteral("exact"));
            QCOMPARE(t["accuraterip"]["confiance"].toInt(), 10 + k);
            QVERIFY(readFile(t["fichier"].toString()).mid(44) == pcm[k]);
            const QString name = QFileInfo(t["fichier"].toString()).fileName();
            QVERIFY(
                log.contains(QStringLiteral("Fichier : %1\n  Lecture : sécurisée\n  Secteurs "
                                            "relus : 0\n  Secteurs inexacts : 0\n  CRC32 : %2\n")
                                 .arg(name, t["crc32"].toString())));
            QVERIFY(cue.contains(QStringLiteral("FILE \"%1\" WAVE\n  TRACK %2 AUDIO\n")
                                     .arg(name)
                                     .arg(k + 1, 2, 10, QLatin1Char('0'))));
            files << t["fichier"].toString();
        }
        QVERIFY(log.contains(QStringLiteral("Décalage de lecture : 6 échantillons\n")));

        QVERIFY(QFile::resize(files[1], 50000)); // a rip cut short
        const QJsonArray verified = runCli(QStringList{"verify", disc, db} + files, &status);
        QCOMPARE(status, 1);
        QStringList results;
        for (const auto &t : verified)
            results << t.toObject().value("accuraterip")["resultat"].toString();
        QCOMPARE(results, (QStringList{"exact", "différent", "exact"}));
    }

    // MP3 tracks encoded on other threads while the next is read, and WAV files converted on all
    // cores, give the bytes of one file encoded alone; the LAME information frame takes the place
    // the encoder kept for it (after the 4-byte header and 32 bytes of side information).
    void parallelOutputIsByteIdentical()
    {
        QTemporaryDir dir;
        testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {400, 30, 380, 200});
        ExtractionJob job;
        job.encoder.vbrQuality = 2;
        job.encoder.infoFrame = true;
        QStringList marks;
        job.trackFinished = [&marks](const TrackOutcome &o) { marks << o.mark; };
        job.run(
            ExtractionJob::Mp3,
            {image.cuePath(), dir.path(), TitleOnly, false, "", "", "", "", -1, TagOption::None},
            {{"a", true}, {"b", false}, {"c", true}, {"d", true}});
        QCOMPARE(marks, (QStringList{"Ok", "(Pas selectionné)", "Ok", "Ok"}));
        QStringList wavs;
        for (const auto &[k, name] : QList<std::pair<int, QString>>{{0, "a"}, {2, "c"}, {3, "d"}}) {
            const QString alone = dir.filePath(name + ".alone.mp3");
            QVERIFY(ripTrackToMp3(image.cuePath(), k, alone, {}, {}, {}, job.encoder).ok());
            QVERIFY(readFile(dir.filePath(name + ".mp3")) == readFile(alone));
            QCOMPARE(readFile(alone).mid(36, 4), "Xing");
            wavs << dir.filePath(name + "w.wav");
            QVERIFY(ripTrackToWav(image.cuePath(), k, wavs.last()).ok());
        }
        int status = -1;
        runCli(QStringList{"convert", "--trame-lame"} + wavs, &status);
        QCOMPARE(status, 0);
        const QString mp3 = QString(wavs.last()).replace(".wav", ".mp3");
        QVERIFY(QFile::rename(mp3, mp3 + ".together"));
        runCli({"convert", "--trame-lame", wavs.last()}, &status);
        QVERIFY(status == 0 && readFile(mp3) == readFile(mp3 + ".together"));
        QCOMPARE(readFile(mp3).mid(36, 4), "Info");
    }
};

QTEST_GUILESS_MAIN(TestSecureRip)
#include "tst_securerip.moc"
