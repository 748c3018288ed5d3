#include "RunClock.h"

#include "ScrollRunState.h"

namespace
{
using Clock = std::chrono::steady_clock;
}

void NoteRunMotion()
{
    ScrollRunState& st = g_runState;
    const bool moving = st.running && !st.paused;
    if (moving == st.movingSince.has_value())
        return;
    const Clock::time_point now = Clock::now();
    if (moving) {
        st.movingSince = now;
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
        moved += Clock::now() - *st.movingSince;
    return std::chrono::duration<double>(moved).count();
}
