#include "Countdown.h"

#include "RunClock.h"
#include "ScrollRunState.h"

#include <algorithm>

bool StartCountdown(std::chrono::steady_clock::time_point now)
{
    ScrollRunState& run = g_runState;
    const int seconds = std::clamp(g_runParams.glass.countdownSeconds, 0, kCountdownLongestSeconds);
    if (seconds == 0 || run.firstMoved)
        return false;
    run.countdownEnds = now + std::chrono::seconds(seconds);
    ++run.glassChanges;
    return true;
}

bool CountingDown()
{
    return g_runState.countdownEnds.has_value();
}

void CancelCountdown()
{
    if (!CountingDown())
        return;
    g_runState.countdownEnds.reset();
    ++g_runState.glassChanges;
}

void EndCountdownWhenDue(std::chrono::steady_clock::time_point now)
{
    ScrollRunState& run = g_runState;
    if (!run.countdownEnds || now < *run.countdownEnds)
        return;
    CancelCountdown();
    run.paused = false;
    NoteRunMotion();
}

std::optional<int> CountdownShown(std::chrono::steady_clock::time_point now)
{
    if (!g_runState.countdownEnds)
        return std::nullopt;
    const auto left = std::max(*g_runState.countdownEnds - now, std::chrono::nanoseconds::zero());
    return static_cast<int>((left + std::chrono::seconds(1) - std::chrono::nanoseconds(1)) /
                            std::chrono::seconds(1));
}
