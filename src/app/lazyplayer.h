#pragma once

#include "files/player.h"

#include <memory>

namespace app {

// The desktop's media player, created on the first file to play: bringing up the multimedia
// back end takes a good part of a second, which start-up need not wait for.
class LazyPlayer : public files::Player
{
public:
    LazyPlayer();
    ~LazyPlayer() override;

    void setFileName(const QString &path) override;
    QString fileName() const override;
    void play() override;
    void pause() override;
    void stop() override;
    PlayState playState() const override;

private:
    files::Player &player();

    std::unique_ptr<files::Player> m_player;
    QString m_fileName;
};

} // namespace app
