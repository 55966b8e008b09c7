#pragma once

#include <QString>

#include <functional>

namespace files {

// The media player of the file page: open a file by name, play, pause, stop, and report the
// play state. Setting the empty file name releases the file.
class Player
{
public:
    enum PlayState { Stopped = 0, Paused = 1, Playing = 2 };

    virtual ~Player() = default;

    virtual void setFileName(const QString &path) = 0;
    virtual QString fileName() const = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual PlayState playState() const = 0;

    // Called after the player met a file it cannot play; it has stopped by then.
    void setErrorHandler(std::function<void()> handler) { m_errorHandler = std::move(handler); }

protected:
    void reportError()
    {
        if (m_errorHandler)
            m_errorHandler();
    }

private:
    std::function<void()> m_errorHandler;
};

} // namespace files
