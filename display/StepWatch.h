#pragma once

#include <chrono>

// Tells, from the time left before the next step at each of the loop's
// passes, whether a step was taken since the pass before. More time left
// than at the last pass is a step; so is a next step due later than the
// last pass had it by more than half the gap between steps, as a loop that
// sleeps until each step sees, passing once a step and finding as much
// time left at each. An overdue step (no time left) has not been taken.
class StepWatch
{
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::nanoseconds kNever = std::chrono::nanoseconds::max();

    // Notes a pass; true when a step was taken since the last one.
    bool Seen(Clock::time_point now, std::chrono::nanoseconds nextStepIn)
    {
        const bool stepped = nextStepIn > m_lastLeft ||
                             (nextStepIn > std::chrono::nanoseconds::zero() &&
                              nextStepIn != kNever && m_lastLeft != kNever && m_gap != kNever &&
                              nextStepIn + (now - m_lastPass) - m_lastLeft > m_gap / 2);
        m_lastLeft = nextStepIn;
        m_lastPass = now;
        if (stepped)
            m_gap = nextStepIn;
        return stepped;
    }

    // The time left at the pass after the last step: kNever while paused.
    std::chrono::nanoseconds Gap() const { return m_gap; }

  private:
    std::chrono::nanoseconds m_lastLeft{};
    std::chrono::nanoseconds m_gap = kNever;
    Clock::time_point m_lastPass;
};
