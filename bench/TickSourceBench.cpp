// The price of one reading of the scroll run's tick counter (the steady
// clock) against the processor's time-stamp counter, which it replaced.
#include "TickSource.h"

#include <benchmark/benchmark.h>

#if defined(__x86_64__)
#include <x86intrin.h>
#endif

namespace
{
void BM_ReadTicks(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadTicks());
}
BENCHMARK(BM_ReadTicks);

#if defined(__x86_64__)
void BM_TimeStampCounter(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(__rdtsc());
}
BENCHMARK(BM_TimeStampCounter);
#endif
} // namespace
