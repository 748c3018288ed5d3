#pragma once

#include <cstdint>
#include <functional>

// The tick counter that paces a scroll run: the processor's time-stamp
// counter on x86-64, a monotonic nanosecond count elsewhere. The raw count
// is used as it is; a speed value is a number of thousands of these ticks.
std::uint64_t ReadTicks();

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
