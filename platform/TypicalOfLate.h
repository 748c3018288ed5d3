#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>

// The middle of the last few times a piece of recurring work took. A time
// the machine stretched by taking the core away now and then moves it no
// more than any other; only when most of the work takes longer does it.
class TypicalOfLate
{
  public:
    static constexpr std::size_t kKept = 9;

    // Sorts the kept times once here: the typical one is asked for far
    // more often than a time is noted.
    void Note(std::chrono::nanoseconds took)
    {
        m_times[m_next] = took;
        m_next = (m_next + 1) % kKept;
        m_count = std::min(m_count + 1, kKept);
        std::array<std::chrono::nanoseconds, kKept> sorted = m_times;
        const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(m_count / 2);
        std::nth_element(sorted.begin(), middle,
                         sorted.begin() + static_cast<std::ptrdiff_t>(m_count));
        m_typical = *middle;
    }

    // Zero until the first time is noted.
    std::chrono::nanoseconds Typical() const { return m_typical; }

  private:
    std::array<std::chrono::nanoseconds, kKept> m_times{};
    std::size_t m_next = 0;
    std::size_t m_count = 0;
    std::chrono::nanoseconds m_typical{};
};
