#pragma once

#include "LeaderFeed.h"

// The run as its followers see it now: its row at its last step (or now,
// standing still), the pace its speed value asks for (the measured one at
// speed value 0), its script and the look of its lines.
LeaderSnapshot CurrentLeaderSnapshot();

/// The leader's clock: microseconds of the steady clock.
qint64 LeaderClockNow();
