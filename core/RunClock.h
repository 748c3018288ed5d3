#pragma once

#include <chrono>
#include <functional>

// The time a run spends moving, counted from the moment the text starts
// moving to the moment it stands still, whatever stopped it: the operator,
// the remote control, an end of the script, the end of the run. A new run
// starts at nothing (ResetMotionForNewRun).

// Takes note of whether the text moves now; called after anything that may
// have paused, resumed or ended the run.
void NoteRunMotion();

// The seconds the text has moved in this run, up to now.
double SecondsMoved();

// The seconds since the text first moved in this run, the pauses counted
// with it; 0 before it has moved.
double SecondsSinceFirstMoved();

// The clock of the run's own times (the time moved, a story number being
// typed, a paragraph come to): the steady clock, unless a test has put
// another in place.
std::chrono::steady_clock::time_point RunClockNow();

// While one of these lives, RunClockNow() returns what its function
// returns. Overrides nest; each one restores the clock that was before it.
class ScopedRunClock
{
  public:
    explicit ScopedRunClock(std::function<std::chrono::steady_clock::time_point()> now);
    ~ScopedRunClock();
    ScopedRunClock(const ScopedRunClock&) = delete;
    ScopedRunClock& operator=(const ScopedRunClock&) = delete;

  private:
    std::function<std::chrono::steady_clock::time_point()> m_now;
    const std::function<std::chrono::steady_clock::time_point()>* m_previous;
};
