#include "app/lazyplayer.h"

#include "files/mediaplayer.h"

namespace app {

LazyPlayer::LazyPlayer() = default;
LazyPlayer::~LazyPlayer() = default;

files::Player &LazyPlayer::player()
{
    if (!m_player) {
        m_player = std::make_unique<files::MediaPlayer>();
        m_player->setErrorHandler([this] { reportError(); });
    }
    return *m_player;
}

void LazyPlayer::setFileName(const QString &path)
{
    m_fileName = path;
    if (m_player || !path.isEmpty())
        player().setFileName(path);
}

QString LazyPlayer::fileName() const
{
    return m_fileName;
}

void LazyPlayer::play()
{
    if (!m_fileName.isEmpty())
        player().play();
}

void LazyPlayer::pause()
{
    if (m_player)
        m_player->pause();
}

void LazyPlayer::stop()
{
    if (m_player)
        m_player->stop();
}

files::Player::PlayState LazyPlayer::playState() const
{
    return m_player ? m_player->playState() : Stopped;
}

} // namespace app
