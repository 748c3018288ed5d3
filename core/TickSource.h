#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

// The tick counter that paces a scroll run. One tick is one nanosecond of
// the steady clock, so a speed value, a number of thousands of ticks between
// two steps, is a number of microseconds and means the same speed on every
// machine (32000: about 31 rows a second).
std::uint64_t ReadTicks();

// The moment of the steady clock at which the counter reads ticks, so that
// the scroll loop can sleep until a step is due. Only meaningful for the
// real counter; a test's source gives moments long past.
std::chrono::steady_clock::time_point TickTime(std::uint64_t ticks);

// While one of these lives, ReadTicks() returns what its function returns,
// so a test decides when a scroll step is due. Overrides nest; each one
// restores the source that was active before it.
class ScopedTickSource
{
  public:
    // Makes ReadTicks() call source until this object goes away.
    explicit ScopedTickSource(std::function<std::uint64_t()> source);
    ~ScopedTickSource();
    ScopedTickSource(const ScopedTickSource&) = delete;
    ScopedTickSource& operator=(const ScopedTickSource&) = delete;

  private:
    std::function<std::uint64_t()> m_source;
    const std::function<std::uint64_t()>* m_previous;
};
