#pragma once

#include <chrono>

// When a driven presenter wants its next frame: once a refresh, on an even
// beat. While the run steps at least once a refresh, each frame is taken at
// the pass after the step nearest its beat, and the beat is counted from
// the frame before, so every frame holds as many steps as the one before
// (the speed's steps a refresh, rounded one way or the other) however the
// steps and the loop's passes fall about it; an eighth of how far that
// leaves the frame from the even beat is made up at each frame, so that
// one frame a refresh goes out all the same.
class FrameBeat
{
  public:
    using Clock = std::chrono::steady_clock;

    FrameBeat(std::chrono::nanoseconds period, Clock::time_point start);

    // Whether the frame is wanted at this pass. nextStepIn is the time left
    // before the next step (max while paused, zero at a step every pass),
    // stepped whether a step was taken since the last pass, and stepGap the
    // time left at the pass after the last step.
    bool Due(Clock::time_point now, std::chrono::nanoseconds nextStepIn, bool stepped,
             std::chrono::nanoseconds stepGap);

    // The latest moment the next frame is wanted at, if no step comes first.
    Clock::time_point Latest() const;

  private:
    void Advance(Clock::time_point now);

    std::chrono::nanoseconds m_period;
    Clock::time_point m_even;     // the next even beat
    Clock::time_point m_wantAt;   // the next frame's beat, counted from the frame before
    Clock::time_point m_lastStep; // the pass that saw the last step
    bool m_onSteps = false;       // the last pass took frames at steps
};
