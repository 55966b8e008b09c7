#include "cd/accuraterip.h"
#include "cd/extractionjob.h"
#include "cd/ripper.h"
#include "cd/wavencoder.h"
#include "cd/wavfile.h"

#include "accuratereference.h"
#include "discimage.h"
#include "fileserver.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

using namespace cd;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
    void offsetIsCorrected_data();
    void offsetIsCorrected();
    void secureReadOfCutImage();
    void ripAndVerifyAgainstDatabase();
    void parallelOutputIsByteIdentical();
    void encoderChoices_data();
    void encoderChoices();
};

void TestSecureRip::offsetIsCorrected_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("secure");
    QTest::newRow("drive reads late, secure") << 30 << true;
    QTest::newRow("drive reads late by over a sector, fast") << 1000 << false;
    QTest::newRow("drive reads early, secure") << -700 << true;
    QTest::newRow("no offset, fast") << 0 << false;
}

// A drive with a read offset, corrected by the same number of samples, gives the disc's audio
// back; what lies beyond the disc's ends is silence.
void TestSecureRip::offsetIsCorrected()
{
    QFETCH(int, offset);
    QFETCH(bool, secure);
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {40, 61, 45});
    QList<QByteArray> pcm;
    for (int k = 0; k < 3; ++k)
        pcm << image.trackPcm(k);
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
        QVERIFY2(readAll(out).mid(44) == pcm.at(k), qPrintable(QString::number(k)));
        const auto expected = testsupport::referenceAccurateRip(pcm.at(k), k == 0, k == 2);
        QCOMPARE(hex8(r.accurateRipV1), hex8(expected.v1));
        QCOMPARE(hex8(r.accurateRipV2), hex8(expected.v2));
    }
}

// Sectors that cannot be read after the retries are counted as inexact and come out silent.
void TestSecureRip::secureReadOfCutImage()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {3000});
    const QString out = dir.filePath(QStringLiteral("cut.wav"));
    const RipResult r = ripTrackToWav(image.cuePath(), 0, out, Overwrite::Refuse,
                                      [&image](qint64 done, qint64) {
                                          if (done == 27)
                                              QFile::resize(image.binPath(), 1000 * 2352);
                                          return true;
                                      },
                                      {true, 0});
    QVERIFY(r.ok());
    // cdparanoia may hold sectors past the cut; from wherever the data stops only silence
    // follows, and every silent sector is counted (with the few around the failing reads).
    const QByteArray samples = readAll(out);
    qsizetype end = samples.size();
    while (end > 0 && samples.at(end - 1) == 0)
        --end;
    const int silent = int((samples.size() - end) / 2352);
    QVERIFY2(silent >= 1500 && r.unreadableSectors >= silent && r.unreadableSectors < silent + 64,
             qPrintable(QStringLiteral("%1 %2").arg(silent).arg(r.unreadableSectors)));
    QCOMPARE(r.rereadSectors, r.unreadableSectors);
}

// tarvex-cli rip of a disc read with an offset, then verify of the files, against a database
// entry made from the disc's own audio; the log and the cue sheet name the files written.
void TestSecureRip::ripAndVerifyAgainstDatabase()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {3000, 61, 3100});
    QList<QByteArray> pcm;
    for (int k = 0; k < 3; ++k)
        pcm << image.trackPcm(k);
    QVERIFY(testsupport::shiftImage(image.binPath(), 6));
    pcm[2].replace(pcm[2].size() - 24, 24, QByteArray(24, '\0'));
    CdToc toc{1, 3, {{0, 2, 0}, {0, 42, 0}, {0, 42, 61}, {1, 24, 11}}};
    const AccurateRipDiscId id = *accurateRipDiscId(toc);
    QByteArray entry(13, '\0');
    entry[0] = 3;
    qToLittleEndian(id.id1, entry.data() + 1);
    qToLittleEndian(id.id2, entry.data() + 5);
    qToLittleEndian(id.cddbId, entry.data() + 9);
    for (int k = 0; k < 3; ++k) {
        QByteArray t(9, '\0');
        t[0] = char(10 + k);
        qToLittleEndian(testsupport::referenceAccurateRip(pcm[k], k == 0, k == 2).v1, t.data() + 1);
        entry += t;
    }
    testsupport::FileServer server;
    QVERIFY(server.start());
    server.setFile(u'/' + id.entryPath(), entry);
    const QString disc = "--cd-image=" + image.cuePath(), db = "--accuraterip=" + server.url();
    int status = -1;
    const QJsonArray ripped =
        runCli({"rip", disc, db, "--toutes", "--wav", "--decalage=6", "--album=Nuit", dir.path()},
               &status);
    QCOMPARE(status, 0);
    QCOMPARE(ripped.size(), 3);
    const QString log = QString::fromUtf8(readAll(dir.filePath(QStringLiteral("Nuit.log"))));
    const QString cue = QString::fromUtf8(readAll(dir.filePath(QStringLiteral("Nuit.cue"))));
    QStringList files;
    for (int k = 0; k < 3; ++k) {
        const QJsonObject t = ripped[k].toObject();
        QCOMPARE(t["piste"].toInt(), k + 1);
        QCOMPARE(t["accuraterip"]["resultat"].toString(), QStringLiteral("exact"));
        QCOMPARE(t["accuraterip"]["confiance"].toInt(), 10 + k);
        QVERIFY(readAll(t["fichier"].toString()).mid(44) == pcm[k]);
        const QString name = QFileInfo(t["fichier"].toString()).fileName();
        QVERIFY(log.contains(QStringLiteral("Fichier : %1\n  Lecture : sécurisée\n  Secteurs "
                                            "relus : 0\n  Secteurs inexacts : 0\n  CRC32 : %2\n")
                                 .arg(name, t["crc32"].toString())));
        QVERIFY(cue.contains(QStringLiteral("FILE \"%1\" WAVE\n  TRACK %2 AUDIO\n")
                                 .arg(name)
                                 .arg(k + 1, 2, 10, QLatin1Char('0'))));
        files << t["fichier"].toString();
    }
    QVERIFY(log.contains(QStringLiteral("Décalage de lecture : 6 échantillons\n")));

    QFile changed(files[1]);
    QVERIFY(changed.open(QIODevice::ReadWrite) && changed.seek(5000) && changed.write("x") == 1);
    changed.close();
    const QJsonArray verified = runCli(QStringList{"verify", disc, db} + files, &status);
    QCOMPARE(status, 1);
    QStringList results;
    for (const auto &t : verified)
        results << t.toObject().value("accuraterip")["resultat"].toString();
    QCOMPARE(results, (QStringList{"exact", "différent", "exact"}));
}

// MP3 tracks encoded on other threads while the next is read, and WAV files converted on all
// cores, give the bytes of one file encoded alone.
void TestSecureRip::parallelOutputIsByteIdentical()
{
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {400, 30, 380, 200});
    ExtractionJob job;
    ExtractionSettings settings;
    settings.drive = image.cuePath();
    settings.folder = dir.path();
    settings.nameFormat = TitleOnly;
    QStringList marks;
    job.trackFinished = [&marks](const TrackOutcome &o) { marks << o.mark; };
    job.run(ExtractionJob::Mp3, settings, {{"a", true}, {"b", false}, {"c", true}, {"d", true}});
    QCOMPARE(marks, (QStringList{"Ok", "(Pas selectionné)", "Ok", "Ok"}));
    QStringList wavs;
    for (const auto &[k, name] : QList<std::pair<int, QString>>{{0, "a"}, {2, "c"}, {3, "d"}}) {
        const QString alone = dir.filePath(name + ".alone.mp3");
        QVERIFY(ripTrackToMp3(image.cuePath(), k, alone).ok());
        QVERIFY(readAll(dir.filePath(name + ".mp3")) == readAll(alone));
        wavs << dir.filePath(name + "w.wav");
        QVERIFY(ripTrackToWav(image.cuePath(), k, wavs.last()).ok());
    }
    int status = -1;
    runCli(QStringList{"convert"} + wavs, &status);
    QCOMPARE(status, 0);
    for (const QString &wav : wavs) {
        const QString mp3 = QString(wav).replace(".wav", ".mp3");
        QVERIFY(QFile::rename(mp3, mp3 + ".together"));
        runCli({"convert", wav}, &status);
        QVERIFY(status == 0 && readAll(mp3) == readAll(mp3 + ".together"));
    }
}

void TestSecureRip::encoderChoices_data()
{
    QTest::addColumn<int>("vbr");
    QTest::addColumn<bool>("infoFrame");
    QTest::addColumn<QByteArray>("tag"); // in the first frame, after the side information
    QTest::newRow("constant rate, plain frames") << -1 << false << QByteArray();
    QTest::newRow("constant rate with the information frame") << -1 << true << QByteArray("Info");
    QTest::newRow("VBR V2 with the information frame") << 2 << true << QByteArray("Xing");
}

// The information frame replaces the encoder's placeholder at the start of the file, on the CD
// path and on the WAV path alike.
void TestSecureRip::encoderChoices()
{
    QFETCH(int, vbr);
    QFETCH(bool, infoFrame);
    QTemporaryDir dir;
    testsupport::DiscImage image(dir.path(), QStringLiteral("disc"), {400});
    EncoderConfig config = cdTrackEncoderConfig();
    config.vbrQuality = vbr;
    config.infoFrame = infoFrame;
    const QString mp3 = dir.filePath("cd.mp3"), wav = dir.filePath("w.wav");
    QVERIFY(ripTrackToMp3(image.cuePath(), 0, mp3, Overwrite::Refuse, {}, {}, config).ok());
    QVERIFY(ripTrackToWav(image.cuePath(), 0, wav).ok());
    QVERIFY(encodeWavToMp3(loadWavFile(wav), dir.filePath("w.mp3"), Overwrite::Refuse, {}, vbr,
                           infoFrame)
                .ok);
    // MPEG-1 stereo: 4 bytes of header and 32 of side information come first.
    for (const QString &file : {mp3, dir.filePath("w.mp3")}) {
        const QByteArray at = readAll(file).mid(36, 4);
        QTEST(at == "Info" || at == "Xing" ? at : QByteArray(), "tag");
    }
}

QTEST_GUILESS_MAIN(TestSecureRip)
#include "tst_securerip.moc"
