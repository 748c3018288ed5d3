#include "TickSource.h"

namespace
{
// The source a test has put in place, or null for the steady clock.
const std::function<std::uint64_t()>* g_tickOverride = nullptr;

// The steady clock is read where the kernel offers it without a system call
// (on Linux through the vDSO from the time-stamp counter), a few nanoseconds
// dearer than the counter itself and free of any calibration.
std::uint64_t ReadSteadyNanoseconds()
{
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}
} // namespace

std::uint64_t ReadTicks()
{
    return g_tickOverride ? (*g_tickOverride)() : ReadSteadyNanoseconds();
}

std::chrono::steady_clock::time_point TickTime(std::uint64_t ticks)
{
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::nanoseconds(static_cast<std::int64_t>(ticks))));
}

ScopedTickSource::ScopedTickSource(std::function<std::uint64_t()> source)
    : m_source(std::move(source)), m_previous(g_tickOverride)
{
    g_tickOverride = &m_source;
}

ScopedTickSource::~ScopedTickSource()
{
    g_tickOverride = m_previous;
}
