// The scroll run's loop as the operator sees it: passes a second while
// moving at speed value 0, and the regularity of steps at a fixed speed
// while the screen is scanned out. Run under the platform to be measured,
// e.g. xvfb-run -s "-screen 0 1920x1080x24" bench_prompter_loop.
#include "ScrollRun.h"
#include "ScrollRunState.h"
#include "TextRaster.h"
#include "TickSource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace
{
// The steps are paced here by a nanosecond clock, so a speed value is a
// number of microseconds between steps and deviations read directly in time.
std::uint64_t Nanoseconds()
{
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

void PrepareRun(int speedValue)
{
    g_runParams = ScrollRunParams{};
    for (int k = 0; k < 2900; ++k)
        g_runParams.scriptText += "Line " + std::to_string(k) + " of the benchmark script\r\n";
    g_runParams.lineCount = 2900;
    g_runParams.textColor = 0;
    g_runParams.backColor = 0xFFFFFF;
    g_runParams.speedValue = speedValue;
    CreatePrompterFont(QStringLiteral("DejaVu Sans"), 24, 400);
}

// Runs the prompter for ms milliseconds, moving from the start.
void RunFor(int ms)
{
    QTimer::singleShot(50, [] {
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(g_runState.prompterWindow, &space);
    });
    QTimer::singleShot(50 + ms, [] { g_runState.running = false; });
    StartScrollRun(false);
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * (values.size() - 1))];
}

void BM_LoopPassesMovingAtSpeedZero(benchmark::State& state)
{
    for (auto _ : state) {
        PrepareRun(0);
        long reads = 0;
        ScopedTickSource counting([&] {
            ++reads;
            return std::uint64_t{0};
        });
        RunFor(1000);
        state.counters["passes_per_s"] = static_cast<double>(reads);
    }
}
BENCHMARK(BM_LoopPassesMovingAtSpeedZero)->Iterations(1)->Unit(benchmark::kMillisecond);

// Steps at a fixed speed while the screen refreshes: how far each interval
// between two steps strays from the step interval.
void BM_StepIntervalSpread(benchmark::State& state)
{
    const int speedValue = static_cast<int>(state.range(0));
    for (auto _ : state) {
        PrepareRun(speedValue);
        std::vector<std::uint64_t> steps;
        std::uint64_t seen = 0;
        ScopedTickSource watching([&] {
            if (g_runState.lastStepTime != seen) {
                seen = g_runState.lastStepTime;
                steps.push_back(seen);
            }
            return Nanoseconds();
        });
        RunFor(3000);
        std::vector<double> deviation;
        for (std::size_t i = 1; i < steps.size(); ++i)
            deviation.push_back(std::abs(static_cast<double>(steps[i] - steps[i - 1]) -
                                         static_cast<double>(speedValue) * 1000) /
                                1e6);
        state.counters["steps"] = static_cast<double>(steps.size());
        state.counters["p50_dev_ms"] = Percentile(deviation, 0.50);
        state.counters["p99_dev_ms"] = Percentile(deviation, 0.99);
        state.counters["max_dev_ms"] = Percentile(deviation, 1.0);
        state.counters["rows_per_s"] = 1e6 / speedValue;
    }
}
BENCHMARK(BM_StepIntervalSpread)
    ->Arg(16667)
    ->Arg(5556)
    ->Arg(1667)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
