#include "files/mediaplayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

namespace files {

MediaPlayer::MediaPlayer()
    : m_player(std::make_unique<QMediaPlayer>()), m_output(std::make_unique<QAudioOutput>())
{
    m_player->setAudioOutput(m_output.get());
    // After an error the player still says it plays: stop it, quietly.
    QObject::connect(m_player.get(), &QMediaPlayer::errorOccurred, m_player.get(), [this] {
        m_player->stop();
        reportError();
    });
}

MediaPlayer::~MediaPlayer()
{
    m_player->stop();
    m_player->setSource(QUrl());
}

void MediaPlayer::setFileName(const QString &path)
{
    m_fileName = path;
    m_player->setSource(path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path));
}

QString MediaPlayer::fileName() const
{
    return m_fileName;
}

void MediaPlayer::play()
{
    if (!m_fileName.isEmpty())
        m_player->play();
}

void MediaPlayer::pause()
{
    m_player->pause();
}

void MediaPlayer::stop()
{
    m_player->stop();
}

Player::PlayState MediaPlayer::playState() const
{
    switch (m_player->playbackState()) {
    case QMediaPlayer::PlayingState:
        return Playing;
    case QMediaPlayer::PausedState:
        return Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return Stopped;
}

} // namespace files
