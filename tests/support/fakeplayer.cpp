#include "fakeplayer.h"

void FakePlayer::setFileName(const QString &path)
{
    calls.append(QStringLiteral("setFileName:") + path);
    m_fileName = path;
    m_state = Stopped;
}

void FakePlayer::play()
{
    calls.append(QStringLiteral("play"));
    if (m_fileName.isEmpty())
        return;
    if (m_failNext) {
        m_failNext = false;
        m_state = Stopped;
        reportError();
        return;
    }
    m_state = Playing;
}

void FakePlayer::pause()
{
    calls.append(QStringLiteral("pause"));
    if (m_state == Playing)
        m_state = Paused;
}

void FakePlayer::stop()
{
    calls.append(QStringLiteral("stop"));
    m_state = Stopped;
}
