#pragma once

#include "files/player.h"

#include <utility>

// A player that plays nothing: it keeps its state and can be told that the file is unplayable.
class FakePlayer : public files::Player
{
public:
    void setFileName(const QString &path) override
    {
        m_fileName = path;
        m_state = Stopped;
    }
    QString fileName() const override { return m_fileName; }
    void play() override
    {
        if (m_fileName.isEmpty())
            return;
        m_state = m_failNext ? Stopped : Playing;
        if (std::exchange(m_failNext, false))
            reportError();
    }
    void pause() override
    {
        if (m_state == Playing)
            m_state = Paused;
    }
    void stop() override { m_state = Stopped; }
    PlayState playState() const override { return m_state; }

    // The next play() fails the way a file that cannot be opened does.
    void failNextPlay() { m_failNext = true; }

private:
    QString m_fileName;
    PlayState m_state = Stopped;
    bool m_failNext = false;
};
