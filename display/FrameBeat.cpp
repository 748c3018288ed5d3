#include "FrameBeat.h"

FrameBeat::FrameBeat(std::chrono::nanoseconds period, Clock::time_point start)
    : m_period(period), m_even(start + period), m_wantAt(m_even)
{
}

bool FrameBeat::Due(Clock::time_point now, std::chrono::nanoseconds nextStepIn, bool stepped,
                    std::chrono::nanoseconds stepGap)
{
    // A step overdue leaves no time either, as a run stepping at every
    // pass does; that one takes no step a pass can see for a refresh.
    if (stepped)
        m_lastStep = now;
    m_onSteps = nextStepIn != std::chrono::nanoseconds::max() && stepGap < m_period &&
                now - m_lastStep < m_period;
    if (!m_onSteps) {
        m_wantAt = m_even;
        if (now < m_even)
            return false;
    } else if (!(stepped && now >= m_wantAt - nextStepIn / 2) && now < Latest()) {
        // This step is further from the beat than the next will be, and a
        // step late past half a refresh is not waited for.
        return false;
    }
    Advance(now);
    return true;
}

FrameBeat::Clock::time_point FrameBeat::Latest() const
{
    return m_onSteps ? m_wantAt + m_period / 2 : m_even;
}

void FrameBeat::Advance(Clock::time_point now)
{
    // Started afresh after falling behind (a run that starts moving, a
    // loop held up) a whole refresh before the next, so that no two frames
    // come close together.
    const Clock::time_point even = now - m_even < m_period / 2 ? m_even : now;
    m_even = even + m_period;
    m_wantAt = now + m_period - (now - even) / 8;
}
