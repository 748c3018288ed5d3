#include "ScrollRun.h"

#include "DisplayDevice.h"
#include "FrameRenderer.h"
#include "PrompterDisplay.h"
#include "PrompterWindow.h"
#include "ScrollRunState.h"
#include "TextRaster.h"

#include <QAbstractEventDispatcher>

#include <chrono>

namespace
{
// Tells the screen when work on its behalf holds no step up: while the text
// is not moving, or within the first half of a step interval. It watches the
// steps happen and times them on the steady clock, so that the tick counter
// is read only where a step is decided.
class StepRhythm
{
  public:
    // Notes whether the pass just made took a step.
    void Observe()
    {
        if (g_runState.lastStepTime == m_lastStepTick)
            return;
        const Clock::time_point now = Clock::now();
        m_interval = now - m_lastStepAt;
        m_lastStepAt = now;
        m_lastStepTick = g_runState.lastStepTime;
    }

    // Whether the next step is at least half an interval away, judged by
    // the last interval seen; a run stepping at every pass is never so.
    bool NextStepIsFar() const
    {
        return g_runState.paused || Clock::now() - m_lastStepAt < m_interval / 2;
    }

  private:
    using Clock = std::chrono::steady_clock;
    std::uint64_t m_lastStepTick = g_runState.lastStepTime;
    Clock::time_point m_lastStepAt = Clock::now();
    Clock::duration m_interval{};
};
} // namespace

void StartScrollRun(bool useMonitor2)
{
    g_runParams.useMonitor2 = useMonitor2;
    ResetMotionForNewRun();
    g_runState.speedValue = g_runParams.speedValue;
    ClampSpeed();

    std::unique_ptr<CPrompterWindow> window = CreatePrompterWindow();
    if (!window)
        return;
    std::unique_ptr<DisplayDevice> display = OpenPrompterDisplay();
    if (!display)
        return; // the window and its blank cursor go with it

    DrawInitialImage();
    g_runState.running = true;
    QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance();
    StepRhythm rhythm;
    while (g_runState.running) {
        // Whatever waits for any window is dispatched, never waiting for
        // more; only when nothing waited does the prompter move, so input
        // is seen by the next step and the other windows keep painting.
        if (!events->processEvents(QEventLoop::AllEvents))
            ScrollStep();
        rhythm.Observe();
        display->OfferFrame(rhythm.NextStepIsFar());
    }

    window.reset();
    ClosePrompterDisplay(std::move(display));
}
