// How long SCROLL takes to put the prompter on the screen: from the press to
// the first frame of the run shown, for a short script and for a 20 MB one
// (360,000 lines of 55 characters) open in the control window. Run under the
// platform to be measured, e.g.
//   xvfb-run -s "-screen 0 1920x1080x24" bench_scroll_start
#include "QtDialogService.h"
#include "ResourceIds.h"
#include "ScanOutView.h"
#include "ScriptEditor.h"
#include "ScrollRunState.h"
#include "VellorDlg.h"
#include "XButton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <vector>

namespace
{
// A script of `lines` lines of 55 characters, CR LF after each.
QByteArray MakeScript(int lines)
{
    QByteArray script;
    for (int k = 0; k < lines; ++k)
        script.append(QByteArray("Line ") + QByteArray::number(k).rightJustified(6, '0') +
                      " of the news, read at an even pace.....\r\n");
    return script;
}

// The control window as the operator has it: opened, shown, a script in its editor.
class OpenedWindow
{
  public:
    explicit OpenedWindow(const QByteArray& script) : m_window(m_dialogs)
    {
        // The script is opened at start, as the last one used is.
        m_window.m_settings.m_strMRF = m_dir.filePath(QStringLiteral("script.txt"));
        QFile file(m_window.m_settings.m_strMRF);
        if (file.open(QIODevice::WriteOnly))
            file.write(script);
        file.close();
        m_window.m_settings.m_crBack = 0x00FFFFFF;
        m_window.m_settings.m_strFontName = QStringLiteral("DejaVu Sans");
        m_window.m_settings.m_nFontSize = 120;
        m_window.OnInitDialog();
        m_window.show();
        QApplication::processEvents();
    }
    CVellorDlg& Window() { return m_window; }

  private:
    QTemporaryDir m_dir;
    QtDialogService m_dialogs;
    CVellorDlg m_window;
};

double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// From the press to the first frame shown: the wall time, and the processor
// time the process spent (steadier on a machine busy with other work), in
// seconds. The run is stopped there.
struct StartTimes {
    double wall = 0;
    double processor = 0;
};

StartTimes PressScrollUntilShown(CVellorDlg& window)
{
    QElapsedTimer clock;
    StartTimes shown;
    double processorAtPress = 0;
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* prompter = g_runState.prompterWindow;
        const auto* view = prompter ? prompter->findChild<ScanOutView*>() : nullptr;
        if (view && view->FramesShown() > 0) {
            shown.wall = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            shown.processor = ProcessSeconds() - processorAtPress;
            g_runState.running = false;
        }
    });
    watch.start();
    clock.start();
    processorAtPress = ProcessSeconds();
    window.Button(Ids::kScrollButton)->click();
    return shown;
}

void BM_ScrollStart(benchmark::State& state)
{
    const QByteArray script = MakeScript(static_cast<int>(state.range(0)));
    std::vector<double> wall;
    std::vector<double> processor;
    for (auto _ : state) {
        // A window of its own each time: the editor lays its lines out once.
        OpenedWindow opened(script);
        const StartTimes shown = PressScrollUntilShown(opened.Window());
        wall.push_back(shown.wall);
        processor.push_back(shown.processor);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(processor.begin(), processor.end());
    state.counters["shown_after_s_min"] = wall.front();
    state.counters["shown_after_s_median"] = wall[wall.size() / 2];
    state.counters["cpu_until_shown_s_min"] = processor.front();
    state.counters["lines_at_end"] = g_runParams.lineCount;
}
BENCHMARK(BM_ScrollStart)->Arg(60)->Arg(360000)->Iterations(3)->Unit(benchmark::kMillisecond);

// The rest of the 20 MB script comes in while the run waits, paused: the
// time from the press until the last line has reached the run, which then
// holds as many lines as the editor displays.
void BM_WholeScriptReachesThePausedRun(benchmark::State& state)
{
    const QByteArray script = MakeScript(360000);
    for (auto _ : state) {
        OpenedWindow opened(script);
        QElapsedTimer clock;
        double lastGrowth = 0;
        int lines = 0;
        QTimer watch;
        watch.setTimerType(Qt::PreciseTimer);
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const double now = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            if (g_runParams.lineCount != lines) {
                lines = g_runParams.lineCount;
                lastGrowth = now;
            } else if (now - lastGrowth > 0.5) {
                g_runState.running = false;
            }
        });
        watch.start();
        clock.start();
        opened.Window().Button(Ids::kScrollButton)->click();
        state.counters["whole_script_after_s"] = lastGrowth;
        state.counters["lines"] = lines;
        if (lines != opened.Window().Editor().LineCount())
            state.SkipWithError(("the run got " + std::to_string(lines) + " of " +
                                 std::to_string(opened.Window().Editor().LineCount()) + " lines")
                                    .c_str());
    }
}
BENCHMARK(BM_WholeScriptReachesThePausedRun)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
