// Editing while prompting: the time from a key typed in the editor to the
// picture that shows it, on a short and a 20 MB script, near the line being
// read and far from it; what one edit of a 20 MB script costs the run's
// loop; and how regular the steps stay at 3 rows a frame while the operator
// types 10 keys a second or the remote pushes a 1 MB script. Run under the
// platform to be measured, e.g.
//   xvfb-run -s "-screen 0 1920x1080x24" bench_live_edit
#include "LineJump.h"
#include "LineStarts.h"
#include "LiveScript.h"
#include "ReadingPosition.h"
#include "RunScriptLink.h"
#include "ScriptEditor.h"
#include "ScrollRun.h"
#include "ScrollRunState.h"
#include "Surface.h"
#include "TextRaster.h"
#include "TickSource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBlock>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

constexpr int kShortScript = 60;
constexpr int kBigScript = 400'000; // lines of about 52 bytes: 20 MB
constexpr int kLinesAtOnce = 1000;
constexpr int kSettleMs = 200;

QByteArray ScriptOfLines(int lines)
{
    QByteArray text;
    text.reserve(static_cast<qsizetype>(lines) * 54);
    for (int k = 0; k < lines; ++k)
        text += "Line " + QByteArray::number(k) + " of the script the operator edits live\r\n";
    return text;
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Share(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

void Report(benchmark::State& state, const char* name, const std::vector<double>& values)
{
    state.counters[std::string("p50_") + name] = Share(values, 0.5);
    state.counters[std::string("p99_") + name] = Share(values, 0.99);
    state.counters[std::string("max_") + name] = Share(values, 1.0);
}

void PrepareParams(int speedValue)
{
    g_runParams = ScrollRunParams{};
    g_runParams.textColor = 0;
    g_runParams.backColor = 0xFFFFFF;
    g_runParams.speedValue = speedValue;
    g_runParams.liveEdit = true;
    CreatePrompterFont(QStringLiteral("DejaVu Sans"), 24, 400);
}

// An editor of the control window's width holding the script.
struct Editor {
    explicit Editor(int lines)
    {
        widget.resize(600, 400);
        widget.SetText(ScriptOfLines(lines));
    }
    void CursorToLine(int line)
    {
        QTextCursor cursor(widget.document()->findBlockByLineNumber(line));
        widget.setTextCursor(cursor);
    }
    ScriptEditor widget;
};

// The picture of a run of the script in the run parameters, on surfaces of
// its own, with line `read` where the talent reads.
struct RunPicture {
    explicit RunPicture(int read)
    {
        g_runState.primarySurface = &primary;
        g_runState.offscreenSurface = &offscreen;
        g_runState.lineHeight = MeasureLineHeight(primary);
        ResetMotionForNewRun();
        RecordLineStarts(0);
        DrawInitialImage();
        ShowLineForReading(read);
    }
    ~RunPicture() { g_runState = ScrollRunState{}; }
    RunPicture(const RunPicture&) = delete;
    RunPicture& operator=(const RunPicture&) = delete;

    Surface primary, offscreen;
};

void Type(QWidget& widget, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
}

// A key typed in the editor until the picture holds it, on the run's own
// surfaces: what the loop spends before it offers the next frame, which the
// screen then shows at its next refresh. Arguments: the script's lines, and
// whether the edit is in the line being read (else in the last line).
void BM_KeyToPicture(benchmark::State& state)
{
    const int lines = static_cast<int>(state.range(0));
    const bool near = state.range(1) != 0;
    PrepareParams(0);
    Editor editor(lines);
    RunScriptLink link(editor.widget, kLinesAtOnce);
    if (const ScriptFeed rest = link.Rest())
        while (rest(Clock::now() + std::chrono::hours(1))) {
        }
    const int read = lines / 2;
    const RunPicture picture(read);
    editor.CursorToLine(near ? read : lines - 1);
    std::vector<double> times;
    bool add = true;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        if (add)
            Type(editor.widget, Qt::Key_X, QStringLiteral("x"));
        else
            Type(editor.widget, Qt::Key_Backspace, {});
        times.push_back(Milliseconds(Clock::now() - start));
        add = !add;
    }
    Report(state, "ms", times);
    state.counters["refresh_ms"] = 1000.0 / QGuiApplication::primaryScreen()->refreshRate();
}
BENCHMARK(BM_KeyToPicture)
    ->Args({kShortScript, 1})
    ->Args({kShortScript, 0})
    ->Args({kBigScript, 1})
    ->Args({kBigScript, 0})
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

// One edit of one line of a 20 MB run script, as the loop carries it out:
// the text and line starts spliced and the picture drawn anew. Argument:
// the line edited (0: the whole text after it moves).
void BM_OneEditOfABigScript(benchmark::State& state)
{
    const int line = static_cast<int>(state.range(0));
    PrepareParams(0);
    g_runParams.scriptText = ScriptOfLines(kBigScript).toStdString();
    g_runParams.lineCount = kBigScript;
    const RunPicture picture(kBigScript / 2);
    std::vector<double> times;
    bool longer = true;
    for (auto _ : state) {
        const std::string text = longer ? "A changed line, longer than it was before\r\n"
                                        : "Line of the script the operator edits live\r\n";
        const Clock::time_point start = Clock::now();
        ApplyRunScriptEdit({line, 1, text});
        times.push_back(Milliseconds(Clock::now() - start));
        longer = !longer;
    }
    Report(state, "ms", times);
}
BENCHMARK(BM_OneEditOfABigScript)
    ->Arg(0)
    ->Arg(kBigScript / 2)
    ->Arg(kBigScript - 1)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

// A moving run of a live script at 3 rows a frame (speed value 5555: one
// step every 5.555 ms with the nanosecond ticks used here), for three
// seconds: the deviation of each step interval from 5.555 ms. Argument:
// 0 nothing else, 1 the operator types 10 keys a second near the line
// being read, 2 a 1 MB script replaces the text half way through, as the
// remote's PUT does (its time to the picture is reported, and the time the
// editor alone takes for it).
void BM_StepsWhileEditing(benchmark::State& state)
{
    const int what = static_cast<int>(state.range(0));
    constexpr int kSpeed = 5555;
    for (auto _ : state) {
        PrepareParams(kSpeed);
        Editor editor(4000);
        RunScriptLink link(editor.widget, kLinesAtOnce);
        std::vector<std::uint64_t> steps;
        ScopedTickSource ticks([&] {
            const auto now =
                static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                               Clock::now().time_since_epoch())
                                               .count());
            if (g_runState.running && !g_runState.paused &&
                (steps.empty() || steps.back() != g_runState.lastStepTime))
                steps.push_back(g_runState.lastStepTime);
            return now;
        });
        QObject timers;
        QTimer::singleShot(kSettleMs, Qt::PreciseTimer, &timers, [] {
            QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
            QApplication::sendEvent(g_runState.prompterWindow, &space);
        });
        QTimer typing;
        double putMs = 0;
        if (what == 1) {
            QObject::connect(&typing, &QTimer::timeout, [&] {
                editor.CursorToLine(std::max(LineBeingRead(), 0));
                Type(editor.widget, Qt::Key_X, QStringLiteral("x"));
            });
            QTimer::singleShot(kSettleMs, &timers, [&] { typing.start(100); });
        } else if (what == 2) {
            // The editor's own part: the same text into an editor no run follows.
            Editor alone(4000);
            const Clock::time_point start = Clock::now();
            alone.widget.ReplaceText(QString::fromUtf8(ScriptOfLines(19'000).left(1 << 20)));
            state.counters["editor_alone_ms"] = Milliseconds(Clock::now() - start);
            QTimer::singleShot(kSettleMs + 1500, Qt::PreciseTimer, &timers, [&] {
                const QString pushed = QString::fromUtf8(ScriptOfLines(19'000).left(1 << 20));
                const Clock::time_point start = Clock::now();
                editor.widget.ReplaceText(pushed);
                putMs = Milliseconds(Clock::now() - start);
            });
        }
        QTimer::singleShot(kSettleMs + 3000, Qt::PreciseTimer, &timers,
                           [] { g_runState.running = false; });
        StartScrollRun(false, link.Rest());
        typing.stop();
        std::vector<double> deviation;
        for (std::size_t i = 2; i < steps.size(); ++i)
            deviation.push_back(
                std::abs(static_cast<double>(steps[i] - steps[i - 1]) - kSpeed * 1000.0) / 1e6);
        state.counters["steps"] = static_cast<double>(steps.size());
        Report(state, "dev_ms", deviation);
        if (what == 2)
            state.counters["put_to_picture_ms"] = putMs;
    }
    g_runParams = ScrollRunParams{};
}
BENCHMARK(BM_StepsWhileEditing)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
} // namespace
