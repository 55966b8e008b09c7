// The real player (QMediaPlayer; CTest gives GStreamer a fake audio sink) on an MP3 made by lame.
#include "files/mediaplayer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

#include <cmath>

using files::Player;

class TestMediaPlayer : public QObject
{
    Q_OBJECT

private slots:
    void playPauseStop();
    void unplayableFileStopsQuietly();

private:
    QTemporaryDir m_dir;
};

void TestMediaPlayer::playPauseStop()
{
    const QString lame = QStandardPaths::findExecutable("lame");
    if (lame.isEmpty())
        QSKIP("the lame encoder is needed to make the MP3 to play");
    // Two seconds of a 440 Hz tone, 16-bit mono at 44.1 kHz, as raw samples.
    QByteArray pcm(2 * 44100 * 2, Qt::Uninitialized);
    for (int i = 0; i < 2 * 44100; ++i)
        qToLittleEndian(qint16(8000 * std::sin(2 * M_PI * 440 * i / 44100)), pcm.data() + 2 * i);
    QProcess encoder;
    const QString mp3 = m_dir.filePath("Été – tone.mp3");
    encoder.start(lame, {"--quiet", "-r", "-m", "m", "-s", "44.1", "-", mp3});
    QVERIFY(encoder.waitForStarted());
    encoder.write(pcm);
    encoder.closeWriteChannel();
    QVERIFY(encoder.waitForFinished() && encoder.exitCode() == 0);

    files::MediaPlayer player;
    bool failed = false;
    player.setErrorHandler([&failed] { failed = true; });
    player.setFileName(mp3);
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), Player::Playing, 10000);
    player.pause();
    QTRY_COMPARE(player.playState(), Player::Paused);
    player.play();
    QTRY_COMPARE(player.playState(), Player::Playing);
    player.stop();
    QTRY_COMPARE(player.playState(), Player::Stopped);
    QCOMPARE(player.fileName(), mp3); // a stop keeps the file
    QVERIFY(!failed);
}

void TestMediaPlayer::unplayableFileStopsQuietly()
{
    const QString bogus = m_dir.filePath("bruit.mp3");
    QFile file(bogus);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, '\x5a')) > 0);
    file.close();
    files::MediaPlayer player;
    bool failed = false;
    player.setErrorHandler([&failed] { failed = true; });
    player.setFileName(bogus);
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(failed, 10000);
    QCOMPARE(player.playState(), Player::Stopped);
}

QTEST_GUILESS_MAIN(TestMediaPlayer)
#include "tst_mediaplayer.moc"
