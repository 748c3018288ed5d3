#pragma once

#include <algorithm>
#include <chrono>

// How long a piece of recurring work takes at most lately: a slow time
// (the window system taking the core) comes back every few times, so it is
// kept at once and forgotten by an eighth each time after.
class LongestOfLate
{
  public:
    explicit LongestOfLate(std::chrono::nanoseconds start = {}) : m_longest(start) {}

    void Note(std::chrono::nanoseconds took)
    {
        m_longest = std::max(took, m_longest - m_longest / 8);
    }
    // Whether the work, taking its longest of late with a quarter of that
    // to spare, is done within time.
    bool FitsIn(std::chrono::nanoseconds time) const { return time > m_longest * 5 / 4; }

  private:
    std::chrono::nanoseconds m_longest;
};
