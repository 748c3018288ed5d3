#include "ScrollRun.h"

#include "DisplayDevice.h"
#include "EventWait.h"
#include "FrameRenderer.h"
#include "LineStarts.h"
#include "PreviewWindow.h"
#include "PrompterDisplay.h"
#include "PrompterWindow.h"
#include "RunGlass.h"
#include "RunVoice.h"
#include "ScrollRunState.h"
#include "TextRaster.h"
#include "TickSource.h"

#include <QAbstractEventDispatcher>

#include <algorithm>
#include <optional>

namespace
{
using Clock = std::chrono::steady_clock;

// Lines the script is kept ahead of the line the run reads next, so that
// the run never takes the end of what has been captured for the end of the
// script.
constexpr int kLinesAheadOfTheRun = 256;

// Time before the next step worth giving to the script feed, and the most
// a piece of the feed takes: the screen's next pass waits for one piece at
// most.
constexpr std::chrono::microseconds kRoomForWork{800};
constexpr std::chrono::microseconds kFeedPiece{500};

// When the next step is due: never while paused, now at speed value 0. A
// tick source of a test gives moments long past, so the loop never sleeps
// on its account, and the wait never exceeds one step interval.
Clock::time_point NextStepDue(Clock::time_point now)
{
    const ScrollRunState& st = g_runState;
    if (st.paused)
        return Clock::time_point::max();
    if (st.stepInterval <= 0)
        return now;
    const Clock::time_point due =
        TickTime(st.lastStepTime + static_cast<std::uint64_t>(st.stepInterval));
    return std::min(due, now + std::chrono::nanoseconds(st.stepInterval));
}

std::chrono::nanoseconds TimeLeft(Clock::time_point now, Clock::time_point then)
{
    if (then == Clock::time_point::max())
        return std::chrono::nanoseconds::max();
    return std::max(std::chrono::nanoseconds(then - now), std::chrono::nanoseconds::zero());
}

Clock::time_point After(Clock::time_point now, std::chrono::nanoseconds wait)
{
    return wait >= std::chrono::nanoseconds(Clock::time_point::max() - now)
               ? Clock::time_point::max()
               : now + wait;
}

// The script feed of a run, until it has brought in the whole script.
class ScriptRest
{
  public:
    explicit ScriptRest(ScriptFeed feed) : m_feed(std::move(feed)) {}

    // Brings lines in at once while the run reads too close to the end of
    // what has come, however soon the next step is due.
    void KeepAhead()
    {
        while (m_feed && g_runParams.lineCount - g_runState.lineIndex < kLinesAheadOfTheRun)
            Feed(Clock::now());
    }

    // Brings in the whole script now, for a run that needs all of it at its start.
    void BringAll()
    {
        while (m_feed)
            Feed(Clock::now() + kFeedPiece);
    }

    // Takes a piece of the time until the next step is due when there is
    // room for one; false when the loop is to wait instead.
    bool UseTimeBefore(Clock::time_point stepDue)
    {
        const Clock::time_point now = Clock::now();
        if (!m_feed || stepDue - now < kRoomForWork)
            return false;
        Feed(std::min(stepDue - kRoomForWork / 4, now + kFeedPiece));
        return true;
    }

  private:
    void Feed(Clock::time_point until)
    {
        if (!m_feed(until))
            m_feed = nullptr;
    }

    ScriptFeed m_feed;
};
} // namespace

void StartScrollRun(bool useMonitor2, ScriptFeed rest, RunPilot pilot)
{
    g_runParams.useMonitor2 = useMonitor2;
    ResetMotionForNewRun();
    g_runState.speedValue = g_runParams.speedValue;
    ClampSpeed();
    RecordLineStarts(0);

    std::unique_ptr<PreviewWindow> preview = OpenPreviewWindow(ChooseDisplayScreen(useMonitor2));
    std::unique_ptr<CPrompterWindow> window = CreatePrompterWindow();
    if (!window)
        return;
    std::unique_ptr<DisplayDevice> display = OpenPrompterDisplay();
    if (!display)
        return; // the window and its blank cursor go with it
    if (preview)
        preview->Follow(*display);

    DrawInitialImage();
    g_runState.running = true;
    QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance();
    EventWait wait;
    ScriptRest script(std::move(rest));
    RunGlassFeed glass(*g_runState.overlay);
    Clock::time_point pilotDue = Clock::time_point::max();
    // The voice is placed against the whole script.
    std::optional<RunVoice> voice;
    if (g_runParams.voice.enabled) {
        script.BringAll();
        voice.emplace();
    }
    while (g_runState.running) {
        // Whatever waits for any window is dispatched, never waiting for
        // more; only when nothing waited does the run step, so input is
        // seen by the next step and the other windows keep painting. A
        // pilot places the picture at every pass: the frame a pass hands
        // the screen (one woken by the screen's own event, say) is placed
        // for that moment, not for the pass before.
        const bool dispatched = events->processEvents(QEventLoop::AllEvents);
        if (!dispatched)
            script.KeepAhead();
        if (!pilot) {
            if (!dispatched)
                ScrollStep();
        } else if (g_runState.running) {
            pilotDue = pilot(Clock::now());
        }
        const Clock::time_point now = Clock::now();
        const Clock::time_point glassDue = glass.Follow(now);
        const Clock::time_point voiceDue = voice ? voice->Follow(now) : Clock::time_point::max();
        const Clock::time_point stepDue = NextStepDue(now);
        const std::chrono::nanoseconds screenWants = display->OfferFrame(TimeLeft(now, stepDue));
        if (dispatched || !g_runState.running)
            continue;
        if (preview)
            preview->RefreshIfDue(g_runState.stepInterval <= 0 ? std::chrono::nanoseconds::max()
                                                               : TimeLeft(Clock::now(), stepDue));
        if (!script.UseTimeBefore(stepDue))
            wait.Until(std::min({stepDue, After(now, screenWants), glassDue, pilotDue, voiceDue}));
    }

    voice.reset();
    // The preview reads the display's frames, so it goes first; the
    // presenter stops before the window it draws in goes.
    preview.reset();
    display->StopScanOut();
    window.reset();
    ClosePrompterDisplay(std::move(display));
}
