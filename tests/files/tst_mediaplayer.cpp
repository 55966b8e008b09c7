// The real player (QMediaPlayer; CTest gives GStreamer a fake audio sink) on an MP3 made by lame.
#include "files/mediaplayer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using files::Player;

class TestMediaPlayer : public QObject
{
    Q_OBJECT

private slots:
    void playThenStop()
    {
        const QString lame = QStandardPaths::findExecutable("lame");
        if (lame.isEmpty())
            QSKIP("the lame encoder is needed to make the MP3 to play");
        QTemporaryDir dir;
        const QString mp3 = dir.filePath("Été – silence.mp3");
        QProcess encoder; // two seconds of 16-bit mono silence at 44.1 kHz
        encoder.start(lame, {"--quiet", "-r", "-m", "m", "-s", "44.1", "-", mp3});
        encoder.write(QByteArray(2 * 44100 * 2, '\0'));
        encoder.closeWriteChannel();
        QVERIFY(encoder.waitForFinished() && encoder.exitCode() == 0);
        files::MediaPlayer player;
        bool failed = false;
        player.setErrorHandler([&failed] { failed = true; });
        player.setFileName(mp3);
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), Player::Playing, 10000);
        player.stop();
        QTRY_COMPARE(player.playState(), Player::Stopped);
        QVERIFY(!failed);
    }
};

QTEST_GUILESS_MAIN(TestMediaPlayer)
#include "tst_mediaplayer.moc"
