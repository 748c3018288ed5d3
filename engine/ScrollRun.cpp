#include "ScrollRun.h"

#include "DisplayDevice.h"
#include "FrameRenderer.h"
#include "LineStarts.h"
#include "PrompterDisplay.h"
#include "PrompterWindow.h"
#include "ScrollRunState.h"
#include "TextRaster.h"

#include <QAbstractEventDispatcher>

#include <algorithm>
#include <chrono>

namespace
{
// Tells the screen how long it may work before the next step is due. It
// watches the steps happen and times them on the steady clock, so that the
// tick counter is read only where a step is decided.
class StepRhythm
{
  public:
    // Notes whether the pass just made took a step, and answers the time
    // left until the next one, judged by the interval between the last two:
    // unlimited while the text is not moving, none for a run that steps at
    // every pass.
    std::chrono::nanoseconds AfterPass()
    {
        const Clock::time_point now = Clock::now();
        // A pause is no interval: the first step after it is timed from the
        // last paused pass, so the screen is told nothing too long.
        if (g_runState.paused) {
            m_lastStepAt = now;
            return std::chrono::nanoseconds::max();
        }
        if (g_runState.lastStepTime != m_lastStepTick) {
            m_interval = now - m_lastStepAt;
            m_lastStepAt = now;
            m_lastStepTick = g_runState.lastStepTime;
        }
        const auto left = m_interval - (now - m_lastStepAt);
        return std::max(std::chrono::duration_cast<std::chrono::nanoseconds>(left),
                        std::chrono::nanoseconds::zero());
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
    RecordLineStartsOfNewScript();
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
        display->OfferFrame(rhythm.AfterPass());
    }

    window.reset();
    ClosePrompterDisplay(std::move(display));
}
