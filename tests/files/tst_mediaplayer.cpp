#include "files/mediaplayer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

using files::MediaPlayer;
using files::Player;

namespace {

// Two seconds of a 440 Hz tone, 44.1 kHz 16-bit stereo.
QByteArray toneWav()
{
    const int rate = 44100;
    const int frames = rate * 2;
    QByteArray pcm(frames * 4, Qt::Uninitialized);
    for (int i = 0; i < frames; ++i) {
        const qint16 sample = qint16(8000 * std::sin(2 * M_PI * 440 * i / rate));
        qToLittleEndian(sample, pcm.data() + i * 4);
        qToLittleEndian(sample, pcm.data() + i * 4 + 2);
    }
    QByteArray wav("RIFF");
    auto u32 = [&wav](quint32 v) { wav.append(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [&wav](quint16 v) { wav.append(reinterpret_cast<const char *>(&v), 2); };
    u32(quint32(36 + pcm.size()));
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(2);
    u32(rate);
    u32(rate * 4);
    u16(4);
    u16(16);
    wav.append("data");
    u32(quint32(pcm.size()));
    return wav + pcm;
}

} // namespace

class TestMediaPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void playPauseStopRelease();
    void unplayableFileStopsQuietly();

private:
    QTemporaryDir m_dir;
    QString m_mp3;
};

void TestMediaPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString lame = QStandardPaths::findExecutable("lame");
    if (lame.isEmpty())
        QSKIP("the lame encoder is needed to make the MP3 to play");
    const QString wav = m_dir.filePath("tone.wav");
    QFile file(wav);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(toneWav());
    file.close();
    m_mp3 = m_dir.filePath("Été – tone.mp3");
    QCOMPARE(QProcess::execute(lame, {"--quiet", "-b", "128", wav, m_mp3}), 0);
}

void TestMediaPlayer::playPauseStopRelease()
{
    MediaPlayer player;
    bool failed = false;
    player.setErrorHandler([&failed] { failed = true; });
    QCOMPARE(player.playState(), Player::Stopped);
    player.setFileName(m_mp3);
    QCOMPARE(player.fileName(), m_mp3);
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), Player::Playing, 10000);
    QTest::qWait(300);
    QCOMPARE(player.playState(), Player::Playing);
    player.pause();
    QTRY_COMPARE(player.playState(), Player::Paused);
    player.play();
    QTRY_COMPARE(player.playState(), Player::Playing);
    player.stop();
    QTRY_COMPARE(player.playState(), Player::Stopped);
    QCOMPARE(player.fileName(), m_mp3); // a stop keeps the file
    player.setFileName(QString());
    QVERIFY(player.fileName().isEmpty());
    player.play(); // nothing to play
    QTest::qWait(200);
    QCOMPARE(player.playState(), Player::Stopped);
    QVERIFY(!failed);
}

void TestMediaPlayer::unplayableFileStopsQuietly()
{
    const QString bogus = m_dir.filePath("bruit.mp3");
    QFile file(bogus);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x5a'));
    file.close();
    MediaPlayer player;
    bool failed = false;
    player.setErrorHandler([&failed] { failed = true; });
    player.setFileName(bogus);
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(failed, 10000);
    QCOMPARE(player.playState(), Player::Stopped);
}

QTEST_GUILESS_MAIN(TestMediaPlayer)
#include "tst_mediaplayer.moc"
