#include "TickSource.h"

#if defined(_M_X64)
#include <intrin.h>
#elif defined(__x86_64__)
#include <x86intrin.h>
#else
#include <chrono>
#endif

namespace
{
// The source a test has put in place, or null for the hardware counter.
const std::function<std::uint64_t()>* g_tickOverride = nullptr;

std::uint64_t ReadHardwareTicks()
{
#if defined(__x86_64__) || defined(_M_X64)
    return __rdtsc();
#else
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
#endif
}
} // namespace

std::uint64_t ReadTicks()
{
    return g_tickOverride ? (*g_tickOverride)() : ReadHardwareTicks();
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
