#pragma once

#include "app/dialogs.h"
#include "app/form1.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <memory>

// The window's dialogs for benchmarks: every question answered OK, the folder asked for is
// `folder`.
class Answers : public app::Dialogs
{
public:
    QString folder;
    bool message(QWidget *, const QString &, const QString &, Icon, Buttons) override
    {
        return true;
    }
    QString chooseFolder(QWidget *, const QString &) override { return folder; }
};

// The window as the benchmarks open it: settings in settingsFile, no drive, the demo disc, the
// dialogs given.
inline app::Form1::Setup benchSetup(const QString &settingsFile,
                                    std::unique_ptr<Answers> dialogs = std::make_unique<Answers>())
{
    app::Form1::Setup setup;
    setup.dialogs = std::move(dialogs);
    setup.settingsFile = settingsFile;
    setup.machineDrives = [] { return QStringList(); };
    setup.cdImages = {QStringLiteral(TARVEX_DEMO_DISC) + QStringLiteral(".cue")};
    return setup;
}

inline double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// A timer ticking every 5 ms from start(): the longest gap between two ticks is the longest the
// window's event loop could not answer.
class PauseMeter
{
public:
    PauseMeter()
    {
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, msSince(m_gap));
            m_gap.restart();
        });
    }
    void start()
    {
        m_longest = 0;
        m_gap.start();
        m_tick.start(5);
    }
    void stop() { m_tick.stop(); }
    // The longest gap between two ticks so far.
    double longest() const { return m_longest; }
    // The same, counting the time since the last tick as a gap.
    double longestToNow() const { return std::max(m_longest, msSince(m_gap)); }

private:
    QTimer m_tick;
    QElapsedTimer m_gap;
    double m_longest = 0;
};
