#pragma once

#include <chrono>
#include <optional>

// The countdown that takes the place of a run's first movement when the
// operator has chosen one (GlassLayout::countdownSeconds): the run stays
// paused while the glass counts the seconds down, then moves. A pause or a
// stop meanwhile cancels it; the run's next resume counts again.

// Starts the countdown for a resume of a run that has not yet moved; false
// when there is none to count, and the run is to move at once.
bool StartCountdown(std::chrono::steady_clock::time_point now);

// Whether a countdown is on; a pause cancels it.
bool CountingDown();
void CancelCountdown();

// Sets the run moving once its countdown is over.
void EndCountdownWhenDue(std::chrono::steady_clock::time_point now);

// The whole seconds left to count at now, rounded up; none without a countdown.
std::optional<int> CountdownShown(std::chrono::steady_clock::time_point now);
