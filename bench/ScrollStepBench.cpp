// The price of one scroll step against the price of moving a whole
// 640 x 480 screen of bytes. Each step benchmark also reports
// "vs_move": its processor time per step divided by the processor time of
// one such move, measured in the same run. Processor time, not wall time,
// keeps the ratio steady on a machine busy with other work.
#include "FrameRenderer.h"
#include "ScrollRunState.h"
#include "Surface.h"
#include "SurfaceDc.h"
#include "TextRaster.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace
{
constexpr std::size_t kScreenBytes = Surface::kWidth * Surface::kHeight;

double CpuNanoseconds(std::clock_t from, std::clock_t to)
{
    return static_cast<double>(to - from) * 1e9 / CLOCKS_PER_SEC;
}

void MoveScreen(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& from)
{
    std::memcpy(to.data(), from.data(), kScreenBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
}

// Processor nanoseconds of one plain 640 x 480 byte move: the best of
// several rounds.
double ScreenMoveNanoseconds()
{
    static const double ns = [] {
        std::vector<std::uint8_t> from(kScreenBytes, 1), to(kScreenBytes, 2);
        double best = 1e300;
        for (int round = 0; round < 10; ++round) {
            constexpr int kMoves = 2000;
            const std::clock_t start = std::clock();
            for (int i = 0; i < kMoves; ++i)
                MoveScreen(to, from);
            best = std::min(best, CpuNanoseconds(start, std::clock()) / kMoves);
        }
        return best;
    }();
    return ns;
}

// A run open on buffers, paused nowhere, every step due.
struct BenchRun {
    Surface primary, offscreen, work;

    explicit BenchRun(bool mirror)
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
        std::string script;
        for (int k = 0; k < 1000; ++k)
            script += "Line " + std::to_string(k) + " of the script, as an operator reads it\r\n";
        g_runParams.scriptText = script;
        g_runParams.lineCount = 1000;
        g_runParams.mirror = mirror;
        CreatePrompterFont(QStringLiteral("DejaVu Sans"), 48, 400);
        g_runState.primarySurface = &primary;
        g_runState.offscreenSurface = &offscreen;
        g_runState.mirrorSurface = mirror ? &work : nullptr;
        g_runState.lineHeight = MeasureLineHeight(primary);
        DrawInitialImage();
        g_runState.paused = false;
    }

    ~BenchRun()
    {
        g_runState = ScrollRunState{};
        g_runParams = ScrollRunParams{};
    }
};

void ReportAgainstMove(benchmark::State& state, std::clock_t start)
{
    const double perStep =
        CpuNanoseconds(start, std::clock()) / static_cast<double>(state.iterations());
    state.counters["vs_move"] = perStep / ScreenMoveNanoseconds();
}

void BM_ScreenMove(benchmark::State& state)
{
    std::vector<std::uint8_t> from(kScreenBytes, 1), to(kScreenBytes, 2);
    for (auto _ : state)
        MoveScreen(to, from);
    state.counters["move_ns"] = ScreenMoveNanoseconds();
}

// A forward step that copies one strip row and draws nothing.
void BM_StepNoNewLine(benchmark::State& state)
{
    BenchRun run(state.range(0) != 0);
    g_runState.stripRow = 0;
    ScrollStep(); // brings the first line in, outside the timing
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        g_runState.stripRow = 5;
        ScrollStep();
    }
    ReportAgainstMove(state, start);
}

// A forward step in which the next line enters the strip.
void BM_StepWithNewLine(benchmark::State& state)
{
    BenchRun run(state.range(0) != 0);
    const int line3 = LineStart(3);
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        g_runState.lineIndex = 3;
        g_runState.textPos = line3;
        g_runState.stripRow = g_runState.lineHeight + 1;
        ScrollStep();
    }
    ReportAgainstMove(state, start);
}

// One new line alone: open the strip's context, then fill, draw and mirror.
void BM_NewLine(benchmark::State& state)
{
    BenchRun run(state.range(0) != 0);
    ReadScriptLine(LineStart(3));
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        SurfaceDc dc(run.offscreen);
        dc.SelectFont(PrompterFont());
        DrawStripLine(dc);
    }
    ReportAgainstMove(state, start);
}
} // namespace

BENCHMARK(BM_ScreenMove);
BENCHMARK(BM_StepNoNewLine)->ArgName("mirror")->Arg(0)->Arg(1);
BENCHMARK(BM_StepWithNewLine)->ArgName("mirror")->Arg(0)->Arg(1);
BENCHMARK(BM_NewLine)->ArgName("mirror")->Arg(0)->Arg(1);
