#include "RunClock.h"

#include "ScrollRunState.h"

namespace
{
using Clock = std::chrono::steady_clock;

// The clock a test has put in place, or null for the steady clock.
const std::function<Clock::time_point()>* g_clockOverride = nullptr;

double Seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}
} // namespace

Clock::time_point RunClockNow()
{
    return g_clockOverride ? (*g_clockOverride)() : Clock::now();
}

ScopedRunClock::ScopedRunClock(std::function<Clock::time_point()> now)
    : m_now(std::move(now)), m_previous(g_clockOverride)
{
    g_clockOverride = &m_now;
}

ScopedRunClock::~ScopedRunClock()
{
    g_clockOverride = m_previous;
}

void NoteRunMotion()
{
    ScrollRunState& st = g_runState;
    const bool moving = st.running && !st.paused;
    if (moving == st.movingSince.has_value())
        return;
    const Clock::time_point now = RunClockNow();
    // The pace is measured over moving alone: the time until the next row
    // is not a row's.
    st.pace.Break();
    if (moving) {
        st.movingSince = now;
        if (!st.firstMoved)
            st.firstMoved = now;
    } else {
        st.timeMoved += now - *st.movingSince;
        st.movingSince.reset();
    }
}

double SecondsMoved()
{
    NoteRunMotion();
    const ScrollRunState& st = g_runState;
    Clock::duration moved = st.timeMoved;
    if (st.movingSince)
        moved += RunClockNow() - *st.movingSince;
    return Seconds(moved);
}

double SecondsSinceFirstMoved()
{
    NoteRunMotion();
    const ScrollRunState& st = g_runState;
    return st.firstMoved ? Seconds(RunClockNow() - *st.firstMoved) : 0.0;
}
