#pragma once

#include "ScrollRunState.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

// Acts during a scroll run that a test starts from the control window: every
// few milliseconds, once the run's window is up, it calls the test's turn.
// A safety net stops a run that has not ended after 20 seconds.
class RunDriver
{
  public:
    explicit RunDriver(std::function<void()> turn)
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this, turn = std::move(turn)] {
            if (m_clock.elapsed() > 20000) {
                g_runState.running = false;
                stuck = true;
            }
            if (g_runState.running && g_runState.prompterWindow)
                turn();
        });
    }

    /// Starts acting, and the safety net's time.
    void Start()
    {
        m_clock.start();
        m_timer.start();
    }
    /// Stops acting.
    void Stop() { m_timer.stop(); }

    bool stuck = false; ///< the safety net stopped a run

  private:
    QTimer m_timer;
    QElapsedTimer m_clock;
};
