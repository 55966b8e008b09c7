#pragma once

#include "files/player.h"

#include <memory>

class QAudioOutput;
class QMediaPlayer;

namespace files {

// The player of the desktop's media stack (Qt Multimedia).
class MediaPlayer : public Player
{
public:
    MediaPlayer();
    ~MediaPlayer() override;

    void setFileName(const QString &path) override;
    QString fileName() const override;
    void play() override;
    void pause() override;
    void stop() override;
    PlayState playState() const override;

private:
    std::unique_ptr<QMediaPlayer> m_player;
    std::unique_ptr<QAudioOutput> m_output;
    QString m_fileName;
};

} // namespace files
