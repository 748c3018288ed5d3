// The scroll run's loop as the operator sees it: passes a second while
// paused and while moving at speed value 0, the loop's time per frame that
// reaches the screen (paused, and the raster presenter's work on a frame),
// the regularity of steps at a fixed speed while the screen is scanned out,
// the rows moved from one shown frame to the next, and the share of one core
// the whole process takes while paused and while moving. Run under the
// platform to be measured, e.g.
//   xvfb-run -s "-screen 0 1920x1080x24" bench_prompter_loop
// (without a display it runs on the offscreen platform; VELLOR_SCAN_OUT=opengl
// or raster picks the presenter to measure).
#include "EventWait.h"
#include "FrameMailbox.h"
#include "FurtherOutputs.h"
#include "GlassOverlay.h"
#include "LineJump.h"
#include "LineStarts.h"
#include "PresenterMessage.h"
#include "RasterScanOut.h"
#include "ReadingCue.h"
#include "ScanOut.h"
#include "ScanOutView.h"
#include "ScrollRun.h"
#include "ScrollRunState.h"
#include "Surface.h"
#include "SurfaceDc.h"
#include "SurfacePalette.h"
#include "TextRaster.h"
#include "TickSource.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace
{
// Runs start moving (or are left paused) this long after they open, so
// that the window is on the screen before anything is measured.
constexpr int kSettleMs = 200;

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
    // Long enough that even the fastest run does not reach the end, where
    // it would pause and stop counting.
    constexpr int kLines = 40000;
    for (int k = 0; k < kLines; ++k)
        g_runParams.scriptText += "Line " + std::to_string(k) + " of the benchmark script\r\n";
    g_runParams.lineCount = kLines;
    g_runParams.textColor = 0;
    g_runParams.backColor = 0xFFFFFF;
    g_runParams.speedValue = speedValue;
    CreatePrompterFont(QStringLiteral("DejaVu Sans"), 24, 400);
}

// Runs the prompter for ms milliseconds after it has settled, moving from
// the start unless paused is asked for.
void RunFor(int ms, bool moving = true)
{
    // Precise timers: a coarse one may end the run a twentieth early.
    if (moving)
        QTimer::singleShot(kSettleMs, Qt::PreciseTimer, [] {
            QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
            QApplication::sendEvent(g_runState.prompterWindow, &space);
        });
    QTimer::singleShot(kSettleMs + ms, Qt::PreciseTimer, [] { g_runState.running = false; });
    StartScrollRun(false);
}

// The scan-out of the run under way, once it exists.
const ScanOutView* RunScanOut()
{
    QWidget* window = g_runState.prompterWindow;
    return window ? window->findChild<ScanOutView*>() : nullptr;
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

// The share of one core the whole process (every thread of it) used between
// Start() and Stop(): processor time over wall time, 1.0 being one core busy.
class ProcessorShare
{
  public:
    void Start()
    {
        m_cpuAtStart = ProcessNanoseconds();
        m_wallAtStart = Nanoseconds();
    }
    void Stop()
    {
        m_share = static_cast<double>(ProcessNanoseconds() - m_cpuAtStart) /
                  static_cast<double>(Nanoseconds() - m_wallAtStart);
    }
    double Share() const { return m_share; }

    // Measures the share over the part of a RunFor(ms) that is timed.
    void CoverRun(int ms)
    {
        QTimer::singleShot(kSettleMs, Qt::PreciseTimer, &m_timers, [this] { Start(); });
        QTimer::singleShot(kSettleMs + ms - 1, Qt::PreciseTimer, &m_timers, [this] { Stop(); });
    }

  private:
    static std::uint64_t ProcessNanoseconds()
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<std::uint64_t>(t.tv_sec) * 1'000'000'000u +
               static_cast<std::uint64_t>(t.tv_nsec);
    }

    QObject m_timers; // its timers go with it
    std::uint64_t m_cpuAtStart = 0;
    std::uint64_t m_wallAtStart = 0;
    double m_share = 0;
};

// Times every pass of the run's loop: a pass asks the event dispatcher for
// waiting events once, and the dispatcher says it is awake at each asking.
class PassWatch
{
  public:
    PassWatch()
    {
        m_connection = QObject::connect(QAbstractEventDispatcher::instance(),
                                        &QAbstractEventDispatcher::awake, [this] { OnPass(); });
        m_passes.reserve(8'000'000);
    }
    ~PassWatch() { QObject::disconnect(m_connection); }
    PassWatch(const PassWatch&) = delete;
    PassWatch& operator=(const PassWatch&) = delete;

    // Starts timing from the next pass on.
    void Start() { m_last = Nanoseconds(); }
    // Stops timing.
    void Stop() { m_last = 0; }
    // The length of every pass timed, in nanoseconds.
    const std::vector<double>& Passes() const { return m_passes; }

  private:
    void OnPass()
    {
        if (m_last == 0)
            return;
        const std::uint64_t now = Nanoseconds();
        m_passes.push_back(static_cast<double>(now - m_last));
        m_last = now;
    }

    QMetaObject::Connection m_connection;
    std::uint64_t m_last = 0;
    std::vector<double> m_passes;
};

// Paused, the loop only dispatches events and offers frames (a frame is
// wanted at every refresh, changed or not), so a pass longer than the usual
// one is time spent on the screen's behalf: the excess over the median
// pass, summed and shared out over the refreshes, is what scan-out costs
// the loop per frame.
void BM_LoopWhilePaused(benchmark::State& state)
{
    for (auto _ : state) {
        PrepareRun(0);
        PassWatch watch;
        QTimer::singleShot(kSettleMs, [&] { watch.Start(); });
        QTimer::singleShot(kSettleMs + 1000 - 1, [&] { watch.Stop(); });
        ProcessorShare cpu;
        cpu.CoverRun(1000);
        RunFor(1000, false);
        state.counters["cpu_share"] = cpu.Share();
        const std::vector<double>& passes = watch.Passes();
        const double usual = Percentile(passes, 0.5);
        double excess = 0;
        for (double pass : passes)
            excess += std::max(0.0, pass - usual);
        const double refreshes = QGuiApplication::primaryScreen()->refreshRate();
        state.counters["passes_per_s"] = static_cast<double>(passes.size());
        state.counters["loop_us_per_refresh"] = excess / refreshes / 1e3;
        state.counters["p999_pass_us"] = Percentile(passes, 0.999) / 1e3;
        state.counters["max_pass_us"] = Percentile(passes, 1.0) / 1e3;
    }
}
BENCHMARK(BM_LoopWhilePaused)->Iterations(1)->Unit(benchmark::kMillisecond);

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
// between two steps strays from the step interval; how many rows (one a
// step) the text moved between one frame reaching the screen and the next,
// counted from the steps taken before each of the two was posted; and how
// far the time between two frames reaching the screen strays from one
// refresh. At 60 frames a second the speed values give about 1, 3 and 10
// rows a frame. With the second argument 1 the run shows the operator's
// preview on the last screen (a desk of two screens), so the figures of the
// two can be set side by side; with the third 1 the glass carries all it can
// (a margin, the reading cue, the clock and a message); the fourth is how
// many further screens show the run too (a desk of that many more screens,
// scripts/three-screen-x.sh), the first forward, the second reversed.
void BM_StepIntervalSpread(benchmark::State& state)
{
    const int speedValue = static_cast<int>(state.range(0));
    const bool preview = state.range(1) != 0;
    const bool glass = state.range(2) != 0;
    const auto outputs = static_cast<qsizetype>(state.range(3));
    if (preview && QGuiApplication::screens().size() < 2) {
        state.SkipWithError("the preview needs a second screen");
        return;
    }
    if (QGuiApplication::screens().size() <= outputs) {
        state.SkipWithError("the further outputs need as many more screens");
        return;
    }
    for (auto _ : state) {
        PrepareRun(speedValue);
        if (preview)
            g_runParams.operatorScreen = QGuiApplication::screens().last();
        ShowPresenterMessage(glass ? QStringLiteral("WRAP IN 30") : QString(), 0,
                             std::chrono::steady_clock::now());
        if (glass) {
            g_runParams.readingCue = ReadingCue{true, kCueHeightDefault};
            g_runParams.glass = GlassLayout{10, 0, true};
        }
        for (qsizetype k = 1; k <= outputs; ++k)
            g_runParams.outputs.push_back(
                {QGuiApplication::screens().at(k)->name(),
                 k == 1 ? OutputChoice::Forward : OutputChoice::Reversed});
        std::vector<std::uint64_t> steps;
        std::vector<double> rowsPerFrame;
        std::vector<double> frameTimes;
        std::uint64_t seen = 0;
        std::uint64_t framesSeen = 0;
        // Steps taken before each frame was posted, by frame number. A step
        // is noticed at the next reading of the counter, and there is always
        // one between a post and the step after it.
        std::vector<std::size_t> stepsAtPost(1, 0);
        std::size_t stepsAtShownFrame = 0;
        long framesMissed = 0; // several frames shown between two looks
        // The longest time between two readings of the counter once the run
        // moves. The loop reads it at every pass and never waits beyond the
        // next step, so a gap much longer than a step is time the machine
        // gave the core to something else: the frames around it cannot hold
        // their rows.
        std::uint64_t lastReading = 0;
        std::uint64_t longestGap = 0;
        const ScanOutView* view = nullptr;
        ScopedTickSource watching([&] {
            const std::uint64_t now = Nanoseconds();
            if (steps.size() >= 2)
                longestGap = std::max(longestGap, now - lastReading);
            lastReading = now;
            if (g_runState.lastStepTime != seen) {
                seen = g_runState.lastStepTime;
                steps.push_back(seen);
            }
            if (!view)
                view = RunScanOut();
            if (!view)
                return now;
            while (stepsAtPost.size() <= view->FramesPosted())
                stepsAtPost.push_back(steps.size());
            const std::uint64_t frames = view->FramesShown();
            if (frames != framesSeen) {
                const std::size_t stepsAtFrame = stepsAtPost[view->LastFrameShown()];
                if (framesSeen != 0 && frames == framesSeen + 1) {
                    // Only from a frame posted while the run moved (the
                    // first step noted may be the last run's): before that,
                    // the rows count the start, not the refresh.
                    if (stepsAtShownFrame >= 2)
                        rowsPerFrame.push_back(
                            static_cast<double>(stepsAtFrame - stepsAtShownFrame));
                    frameTimes.push_back(static_cast<double>(now));
                } else if (framesSeen != 0) {
                    ++framesMissed;
                }
                framesSeen = frames;
                stepsAtShownFrame = stepsAtFrame;
            }
            return now;
        });
        ProcessorShare cpu;
        cpu.CoverRun(3000);
        RunFor(3000);
        state.counters["cpu_share"] = cpu.Share();
        std::vector<double> deviation;
        // The first time seen is the previous run's last step (the run state
        // outlives a run), so the first interval is not one of this run's.
        for (std::size_t i = 2; i < steps.size(); ++i)
            deviation.push_back(std::abs(static_cast<double>(steps[i] - steps[i - 1]) -
                                         static_cast<double>(speedValue) * 1000) /
                                1e6);
        state.counters["steps"] = static_cast<double>(steps.size());
        state.counters["p50_dev_ms"] = Percentile(deviation, 0.50);
        // Below the rare moments the machine gives the core to another
        // process: the hold-ups of the loop's own work.
        state.counters["p90_dev_ms"] = Percentile(deviation, 0.90);
        state.counters["p99_dev_ms"] = Percentile(deviation, 0.99);
        state.counters["max_dev_ms"] = Percentile(deviation, 1.0);
        state.counters["rows_per_s"] = 1e6 / speedValue;

        // The last frame straddles the stop.
        if (!rowsPerFrame.empty())
            rowsPerFrame.pop_back();
        const double frames = static_cast<double>(rowsPerFrame.size());
        const double mean =
            frames > 0 ? std::accumulate(rowsPerFrame.begin(), rowsPerFrame.end(), 0.0) / frames
                       : 0;
        double square = 0;
        double furthest = 0;
        long framesOffByMoreThanARow = 0;
        for (double rows : rowsPerFrame) {
            square += (rows - mean) * (rows - mean);
            furthest = std::max(furthest, std::abs(rows - mean));
            if (std::abs(rows - mean) > 1)
                ++framesOffByMoreThanARow;
        }
        state.counters["frames"] = frames;
        state.counters["frames_missed"] = static_cast<double>(framesMissed);
        state.counters["rows_frame_mean"] = mean;
        state.counters["rows_frame_sd"] = frames > 0 ? std::sqrt(square / frames) : 0;
        state.counters["rows_frame_min"] = Percentile(rowsPerFrame, 0.0);
        state.counters["rows_frame_max"] = Percentile(rowsPerFrame, 1.0);
        state.counters["rows_frame_furthest"] = furthest;
        state.counters["frames_off_over_a_row"] = static_cast<double>(framesOffByMoreThanARow);
        state.counters["longest_pass_gap_ms"] = static_cast<double>(longestGap) / 1e6;

        std::vector<double> frameDeviation;
        const double refresh = 1e9 / QGuiApplication::primaryScreen()->refreshRate();
        for (std::size_t i = 1; i < frameTimes.size(); ++i)
            frameDeviation.push_back(std::abs(frameTimes[i] - frameTimes[i - 1] - refresh) / 1e6);
        state.counters["frame_p50_dev_ms"] = Percentile(frameDeviation, 0.50);
        state.counters["frame_p99_dev_ms"] = Percentile(frameDeviation, 0.99);
    }
}
BENCHMARK(BM_StepIntervalSpread)
    ->ArgNames({"speed", "preview", "glass", "outputs"})
    ->ArgsProduct({{16667, 5556, 1667}, {0, 1}, {0}, {0}})
    ->ArgsProduct({{16667, 5556, 1667}, {0}, {1}, {0}})
    ->ArgsProduct({{16667, 5556, 1667}, {0}, {0}, {2}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// How late the machine hands the loop back its core after a wait for the
// next step, 1.5 ms off as at about 10 rows a frame. The wait spins its last
// stretch, so it returns on time unless the thread was woken later than
// that: each such late return is a step taken late, and the run, paced from
// each step, has a row less in that frame. Beside the figures of the spread
// above, this tells the machine's share of a frame that is off.
void BM_WaitForAStep(benchmark::State& state)
{
    using Clock = EventWait::Clock;
    for (auto _ : state) {
        EventWait wait;
        std::vector<double> late;
        const Clock::time_point end = Clock::now() + std::chrono::seconds(3);
        while (Clock::now() < end) {
            const Clock::time_point step = Clock::now() + std::chrono::microseconds(1500);
            // An event ends the wait before its moment.
            while (Clock::now() < step)
                wait.Until(step);
            late.push_back(static_cast<double>((Clock::now() - step).count()));
        }
        state.counters["waits"] = static_cast<double>(late.size());
        state.counters["late_p50_us"] = Percentile(late, 0.50) / 1e3;
        state.counters["late_p99_us"] = Percentile(late, 0.99) / 1e3;
        state.counters["late_max_ms"] = Percentile(late, 1.0) / 1e6;
        state.counters["late_over_a_ms"] = static_cast<double>(
            std::count_if(late.begin(), late.end(), [](double ns) { return ns > 1e6; }));
    }
}
BENCHMARK(BM_WaitForAStep)->Iterations(1)->Unit(benchmark::kMillisecond);
// The processor time this thread has had, in nanoseconds: on a machine
// shared with other work, the wall clock would time the waits as well.
std::uint64_t ThreadNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000U +
           static_cast<std::uint64_t>(now.tv_nsec);
}

// A picture as a run shows it: lines of text at the prompter's pitch.
void DrawTextPicture(Surface& surface, int firstLine)
{
    SurfaceDc dc(surface);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(48);
    dc.SelectFont(font);
    dc.FillRect(QRect(0, 0, Surface::kWidth, Surface::kHeight), SurfaceDc::kBackgroundIndex);
    const int pitch = dc.LineHeight() + 1;
    for (int y = 0, line = firstLine; y < Surface::kHeight; y += pitch, ++line)
        dc.DrawTextLine(QRect(0, y, Surface::kWidth, pitch - 1),
                        QStringLiteral("Line %1 of the benchmark script, read aloud").arg(line));
}

// A text picture that moves as a run's does, a frame a refresh apart.
class MovingPicture
{
  public:
    MovingPicture()
    {
        DrawTextPicture(m_surface, 0);
        DrawTextPicture(m_strip, 100);
    }

    // Waits for the next frame's time, then moves the picture by rows since
    // the frame before, the lines entering as the line strip holds them
    // (480 or more: every row new).
    const Surface& NextFrame(int rows)
    {
        std::this_thread::sleep_until(m_frameBegins);
        m_frameBegins += std::chrono::microseconds(16667);
        if (rows >= Surface::kHeight)
            DrawTextPicture(m_surface, m_entering++);
        for (int k = 0; k < rows && rows < Surface::kHeight; ++k) {
            m_surface.ScrollUp();
            m_surface.CopyRowFrom(Surface::kHeight - 1, m_strip, m_entering++ % Surface::kHeight);
        }
        return m_surface;
    }

  private:
    Surface m_surface;
    Surface m_strip;
    int m_entering = 0;
    std::chrono::steady_clock::time_point m_frameBegins = std::chrono::steady_clock::now();
};

// One memcpy of a screen's picture, the yardstick of a frame's work: its
// processor time in nanoseconds.
class PictureCopy
{
  public:
    explicit PictureCopy(std::size_t bytes) : m_from(bytes, 1), m_to(bytes, 2) {}

    double Time()
    {
        const std::uint64_t start = ThreadNanoseconds();
        std::memcpy(m_to.data(), m_from.data(), m_to.size());
        benchmark::DoNotOptimize(m_to.data());
        const auto took = static_cast<double>(ThreadNanoseconds() - start);
        std::swap(m_from, m_to);
        return took;
    }

  private:
    std::vector<char> m_from;
    std::vector<char> m_to;
};

// What the loop spends on the screen's behalf per frame when no OpenGL
// presenter takes it off the loop's thread, on a screen of the first two
// arguments: the picture moved by the third argument's rows since the frame
// before (480: every row new), scaled a band at a pass, then one repaint.
// Per frame: the work in all, the longest band and the repaint (the flush
// to the screen), which the loop places between two steps; and the work
// against one memcpy of the frame's output pixels (the 4:3 part), timed in
// the same run. All in processor time of this thread, except the longest
// any one piece held the loop up by the wall clock, waits for the window
// system included; frames begin a refresh apart, as a run has them. With
// the fourth argument 1 the glass carries all it can over every frame (the
// reading cue in a margin, the clock and a message).
void BM_RasterScanOutWorkPerFrame(benchmark::State& state)
{
    const QSize screen(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const int rowsPerFrame = static_cast<int>(state.range(2));
    QWidget window;
    window.resize(screen);
    window.show();
    FrameMailbox mailbox;
    GlassOverlay glass(GlassLook{{true, kCueHeightDefault},
                                 {10, 0, true},
                                 false,
                                 Qt::black,
                                 Qt::white,
                                 QFont(QStringLiteral("DejaVu Sans"))});
    glass.Show({QStringLiteral("WRAP IN 30"), QStringLiteral("12:34:56"), std::nullopt});
    RasterScanOut view(&window, mailbox,
                       {SurfacePalette(0xFFFFFF, 0), state.range(3) != 0 ? &glass : nullptr}, 60);
    for (int k = 0; k < 50; ++k)
        QApplication::processEvents();
    MovingPicture moving;
    const QRect picture = ScanOutRect(screen * view.devicePixelRatioF());
    PictureCopy copy(std::size_t{4} * static_cast<std::size_t>(picture.width()) *
                     static_cast<std::size_t>(picture.height()));
    std::vector<double> work;
    std::vector<double> copies;
    std::vector<double> bands;
    std::vector<double> repaints;
    std::vector<double> walls;
    for (auto _ : state) {
        const Surface& surface = moving.NextFrame(rowsPerFrame);
        mailbox.Want();
        mailbox.Offer(surface);
        const std::uint64_t shown = view.FramesShown();
        double total = 0;
        while (view.FramesShown() == shown) {
            const std::uint64_t start = ThreadNanoseconds();
            const std::uint64_t wallStart = Nanoseconds();
            view.OnLoopPass(std::chrono::hours(1), false);
            walls.push_back(static_cast<double>(Nanoseconds() - wallStart));
            const auto piece = static_cast<double>(ThreadNanoseconds() - start);
            total += piece;
            (view.FramesShown() == shown ? bands : repaints).push_back(piece);
        }
        work.push_back(total);
        copies.push_back(copy.Time());
    }
    state.counters["work_ms_p50"] = Percentile(work, 0.5) / 1e6;
    state.counters["memcpy_ms_p50"] = Percentile(copies, 0.5) / 1e6;
    state.counters["work_per_memcpy"] = Percentile(work, 0.5) / Percentile(copies, 0.5);
    state.counters["band_us_p99"] = Percentile(bands, 0.99) / 1e3;
    state.counters["band_us_max"] = Percentile(bands, 1.0) / 1e3;
    state.counters["repaint_ms_p50"] = Percentile(repaints, 0.5) / 1e6;
    state.counters["repaint_ms_p99"] = Percentile(repaints, 0.99) / 1e6;
    state.counters["piece_wall_us_p99"] = Percentile(walls, 0.99) / 1e3;
    state.counters["piece_wall_us_max"] = Percentile(walls, 1.0) / 1e3;
}
BENCHMARK(BM_RasterScanOutWorkPerFrame)
    ->ArgNames({"width", "height", "rows", "glass"})
    ->ArgsProduct({{1920}, {1080}, {1, 3, 10, 480}, {0, 1}})
    ->Args({3840, 2160, 3, 0})
    ->Args({3840, 2160, 480, 0})
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

// What the further outputs cost the loop per frame, on the screens after
// the first (a desk of 1920 x 1080 monitors, scripts/three-screen-x.sh):
// the first argument's number of them, the second of them reversed when
// the second argument is 1; the picture moved by the third argument's rows
// since the frame before (480: every row new). Per frame: the work in all (taking the frame,
// scaling it for each distinct size and direction, a band at a pass, and putting each on its
// screen) against one memcpy of a 1440 x 1080 picture, in processor time of this thread, in all and
// per output; and the longest any one piece held the loop up. The window system's events are
// handled before each frame, outside the time.
void BM_FurtherOutputsWorkPerFrame(benchmark::State& state)
{
    const auto count = static_cast<qsizetype>(state.range(0));
    if (QGuiApplication::screens().size() <= count) {
        state.SkipWithError("needs as many screens after the first");
        return;
    }
    std::vector<FurtherScreen> screens;
    for (qsizetype k = 1; k <= count; ++k)
        screens.push_back({QGuiApplication::screens().at(k), k == 2 && state.range(1) != 0});
    FrameMailbox mailbox;
    FurtherOutputs outputs(screens, mailbox, {SurfacePalette(0xFFFFFF, 0)});
    for (int k = 0; k < 50; ++k)
        QApplication::processEvents();
    MovingPicture moving;
    PictureCopy copy(std::size_t{4} * 1440 * 1080);
    std::vector<double> work;
    std::vector<double> copies;
    std::vector<double> walls;
    for (auto _ : state) {
        mailbox.Post(moving.NextFrame(static_cast<int>(state.range(2))));
        QApplication::processEvents();
        const std::uint64_t shown = outputs.FramesShown();
        const std::uint64_t start = ThreadNanoseconds();
        while (outputs.FramesShown() == shown) {
            const std::uint64_t wallStart = Nanoseconds();
            outputs.OnLoopPass(std::chrono::hours(1), false);
            walls.push_back(static_cast<double>(Nanoseconds() - wallStart));
        }
        work.push_back(static_cast<double>(ThreadNanoseconds() - start));
        copies.push_back(copy.Time());
    }
    state.counters["scalings"] = static_cast<double>(outputs.Scalings());
    state.counters["work_ms_p50"] = Percentile(work, 0.5) / 1e6;
    state.counters["memcpy_ms_p50"] = Percentile(copies, 0.5) / 1e6;
    state.counters["work_per_memcpy"] = Percentile(work, 0.5) / Percentile(copies, 0.5);
    state.counters["memcpys_per_output"] =
        Percentile(work, 0.5) / Percentile(copies, 0.5) / static_cast<double>(count);
    state.counters["piece_wall_us_p99"] = Percentile(walls, 0.99) / 1e3;
    state.counters["piece_wall_us_max"] = Percentile(walls, 1.0) / 1e3;
}
BENCHMARK(BM_FurtherOutputsWorkPerFrame)
    ->ArgNames({"outputs", "reversed", "rows"})
    ->Args({1, 0, 3})
    ->Args({2, 0, 3})
    ->Args({2, 1, 3})
    ->Args({1, 0, 1})
    ->Args({1, 0, 10})
    ->Args({1, 0, 480})
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

// What one jump costs the loop: the picture redrawn whole at a paragraph's
// first line (the strip drawn for every line on it), measured against one
// refresh of a 60 Hz screen. The argument is the prompter font's points:
// the smaller the font, the more lines a picture holds. Mirrored, every
// line is mirrored as well.
void BM_JumpRedrawsThePictureOnce(benchmark::State& state)
{
    PrepareRun(0);
    g_runState = ScrollRunState{};
    CreatePrompterFont(QStringLiteral("DejaVu Sans"), static_cast<int>(state.range(0)), 400);
    g_runParams.mirror = state.range(1) != 0;
    g_runParams.readingCue = ReadingCue{true, kCueHeightDefault};
    Surface primary, offscreen, work;
    g_runState.primarySurface = &primary;
    g_runState.offscreenSurface = &offscreen;
    g_runState.mirrorSurface = &work;
    g_runState.lineHeight = MeasureLineHeight(primary);
    ResetMotionForNewRun();
    RecordLineStarts(0);
    DrawInitialImage();
    int line = 0;
    for (auto _ : state) {
        line = (line + 997) % g_runParams.lineCount;
        benchmark::DoNotOptimize(ShowLineForReading(line));
    }
    state.counters["lines_on_picture"] = Surface::kHeight / (g_runState.lineHeight + 1.0);
    state.counters["frame_ms"] = 1000.0 / 60;
    g_runState = ScrollRunState{};
}
BENCHMARK(BM_JumpRedrawsThePictureOnce)
    ->Args({24, 0})
    ->Args({48, 0})
    ->Args({48, 1})
    ->Args({8, 1})
    ->Unit(benchmark::kMicrosecond);
} // namespace
