#pragma once

#include "files/player.h"

#include <QStringList>

// A player that plays nothing: it keeps its state and a journal of the calls it received
// ("setFileName:/path", "play", "pause", "stop"), and can be told that the file is unplayable.
class FakePlayer : public files::Player
{
public:
    void setFileName(const QString &path) override;
    QString fileName() const override { return m_fileName; }
    void play() override;
    void pause() override;
    void stop() override;
    PlayState playState() const override { return m_state; }

    // The next play() fails the way a file that cannot be opened does.
    void failNextPlay() { m_failNext = true; }

    QStringList calls;

private:
    QString m_fileName;
    PlayState m_state = Stopped;
    bool m_failNext = false;
};
