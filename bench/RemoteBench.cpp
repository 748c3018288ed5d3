// The remote control under load, as the talent would notice it. A soak: a
// moving run measured alone, then again while 16 WebSocket clients on
// another thread send it 10,000 commands (each one acts and changes
// nothing: resume while moving, the speed it already has), comparing the
// spread of the step intervals and the rows the text moves from one shown
// frame to the next. And the longest loop passes while a paused run takes
// 1,000 commands over a WebSocket, against 1,000 F keys posted to the
// prompter window the same way: how long a command holds up the next step,
// next to a key. Passes are timed in the GUI thread's own processor time, so
// that a machine busy with other work does not pass for a slow command. Run under the platform to
// be measured, e.g.
//   xvfb-run -s "-screen 0 1920x1080x24" bench_remote
#include "PrompterCommands.h"
#include "RemoteServer.h"
#include "ScanOutView.h"
#include "ScrollRun.h"
#include "ScrollRunState.h"
#include "TextRaster.h"
#include "TickSource.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QThread>
#include <QTimer>
#include <QWebSocket>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>
#include <memory>
#include <numeric>
#include <vector>

namespace
{
const QByteArray kToken = "00112233445566778899aabbccddeeff";
constexpr int kSettleMs = 200;
constexpr int kSpeedValue = 5556; // about three rows a frame at 60 frames a second

std::uint64_t Now()
{
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch() /
                                      std::chrono::nanoseconds(1));
}

// The processor time the calling thread has used.
std::uint64_t ThreadTime()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000U +
           static_cast<std::uint64_t>(now.tv_nsec);
}

double Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(q * double(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

void LoadScript()
{
    g_runParams = ScrollRunParams{};
    g_runParams.lineCount = 40000; // the run never reaches the end
    g_runParams.scriptText.reserve(static_cast<std::size_t>(g_runParams.lineCount) * 24);
    for (int line = 1; line <= g_runParams.lineCount; ++line)
        g_runParams.scriptText += "Remote soak line " + std::to_string(line) + "\r\n";
    g_runParams.backColor = 0xFFFFFF;
    g_runParams.speedValue = kSpeedValue;
    CreatePrompterFont(QStringLiteral("DejaVu Sans"), 24, 400);
}

// Senders on a thread of their own, as clients on other machines would be:
// `each` of them calls `send` `perSecond` times a second until `total` calls
// have been made between them.
class Senders
{
  public:
    using Make = std::function<std::function<void()>(QObject* owner)>;

    Senders(int each, int perSecond, int total, Make make)
    {
        m_thread.reset(QThread::create([=, this] {
            QObject owner;
            QEventLoop loop;
            std::vector<std::unique_ptr<QTimer>> timers;
            for (int i = 0; i < each; ++i) {
                std::function<void()> send = make(&owner);
                auto timer = std::make_unique<QTimer>();
                timer->setTimerType(Qt::PreciseTimer);
                QObject::connect(timer.get(), &QTimer::timeout, [this, send, total, &loop] {
                    if (m_sent.load() < total) {
                        ++m_sent;
                        send();
                    }
                    if (m_sent.load() >= total)
                        loop.quit();
                });
                timer->start(1000 / perSecond);
                timers.push_back(std::move(timer));
            }
            loop.exec();
        }));
    }
    ~Senders() { m_thread->wait(); }
    Senders(const Senders&) = delete;
    Senders& operator=(const Senders&) = delete;

    void Start() { m_thread->start(); }
    bool Done() const { return m_thread->isFinished(); }
    int Sent() const { return m_sent.load(); }

  private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<int> m_sent{0};
};

// A WebSocket client that sends `commands` in turn, for Senders.
Senders::Make WebSocketCommands(quint16 port, std::vector<QByteArray> commands)
{
    return [port, commands](QObject* owner) {
        auto* socket = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, owner);
        socket->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/ws?token=%2")
                              .arg(port)
                              .arg(QString::fromLatin1(kToken))));
        auto next = std::make_shared<std::size_t>(0);
        return std::function<void()>([socket, commands, next] {
            socket->sendTextMessage(QString::fromLatin1(commands[(*next)++ % commands.size()]));
        });
    };
}

// What one moving run did: its step times and the steps between shown frames.
struct RunTrace {
    std::vector<std::uint64_t> steps;
    std::vector<double> rowsPerFrame;
};

// Runs the script moving until `done` says so, tracing it.
RunTrace TraceMovingRun(const std::function<bool()>& done)
{
    RunTrace trace;
    std::uint64_t lastStep = g_runState.lastStepTime;
    std::uint64_t framesSeen = 0;
    std::size_t stepsAtFrame = 0;
    ScopedTickSource tracing([&] {
        const std::uint64_t now = Now();
        if (g_runState.lastStepTime != lastStep) {
            lastStep = g_runState.lastStepTime;
            trace.steps.push_back(lastStep);
        }
        const QWidget* window = g_runState.prompterWindow;
        const ScanOutView* view = window ? window->findChild<ScanOutView*>() : nullptr;
        if (view && view->FramesShown() != framesSeen) {
            if (framesSeen != 0)
                trace.rowsPerFrame.push_back(double(trace.steps.size() - stepsAtFrame));
            framesSeen = view->FramesShown();
            stepsAtFrame = trace.steps.size();
        }
        return now;
    });
    QTimer::singleShot(kSettleMs, [] { RunPrompterCommand(PrompterCommand::Resume); });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (done())
            RunPrompterCommand(PrompterCommand::Stop);
    });
    watch.start(10);
    StartScrollRun(false);
    return trace;
}

void Report(benchmark::State& state, const RunTrace& trace)
{
    std::vector<double> deviation;
    for (std::size_t i = 2; i < trace.steps.size(); ++i)
        deviation.push_back(
            std::abs(double(trace.steps[i] - trace.steps[i - 1]) - kSpeedValue * 1000.0) / 1e6);
    state.counters["steps"] = double(trace.steps.size());
    state.counters["p50_dev_ms"] = Quantile(deviation, 0.5);
    state.counters["p99_dev_ms"] = Quantile(deviation, 0.99);
    state.counters["max_dev_ms"] = Quantile(deviation, 1.0);
    std::vector<double> rows = trace.rowsPerFrame;
    if (rows.size() > 2)
        rows = std::vector<double>(rows.begin() + 1, rows.end() - 1);
    const double mean =
        rows.empty() ? 0 : std::accumulate(rows.begin(), rows.end(), 0.0) / double(rows.size());
    double square = 0;
    for (double r : rows)
        square += (r - mean) * (r - mean);
    state.counters["frames"] = double(rows.size());
    state.counters["rows_frame_mean"] = mean;
    state.counters["rows_frame_sd"] = rows.empty() ? 0 : std::sqrt(square / double(rows.size()));
    state.counters["rows_frame_min"] = Quantile(rows, 0.0);
    state.counters["rows_frame_max"] = Quantile(rows, 1.0);
}

// Argument 0: the run alone for eight seconds; 1: the same run while
// 10,000 commands come over 16 WebSockets.
void BM_RemoteSoak(benchmark::State& state)
{
    for (auto _ : state) {
        LoadScript();
        RemoteServer server(RemoteHost{[] { return false; }, [] { return QString(); }});
        server.Listen(0, false, kToken);
        const std::vector<QByteArray> commands{R"({"command":"resume"})",
                                               QByteArray(R"({"command":"speed","value":)") +
                                                   QByteArray::number(kSpeedValue) + '}'};
        // 16 clients at 45 commands a second each stay below the limit of 50.
        Senders senders(16, 45, 10'000, WebSocketCommands(server.Port(), commands));
        RunTrace trace;
        if (state.range(0) == 0) {
            QTimer::singleShot(kSettleMs + 8000, [] { RunPrompterCommand(PrompterCommand::Stop); });
            trace = TraceMovingRun([] { return false; });
        } else {
            QTimer::singleShot(kSettleMs, [&] { senders.Start(); });
            trace = TraceMovingRun([&] { return senders.Done(); });
        }
        Report(state, trace);
        state.counters["commands"] = senders.Sent();
    }
}
BENCHMARK(BM_RemoteSoak)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// Argument 0: F keys posted to the prompter window; 1: "faster" over a
// WebSocket. A paused run takes a thousand of either, 200 a second, and the
// thousand longest passes of its loop are the ones that carried them.
void BM_PassCarryingACommand(benchmark::State& state)
{
    for (auto _ : state) {
        LoadScript();
        RemoteServer server(RemoteHost{[] { return false; }, [] { return QString(); }});
        server.Listen(0, false, kToken);
        constexpr int kCount = 1000;
        Senders senders(
            1, 200, kCount,
            state.range(0) == 0 ? Senders::Make([](QObject*) {
                return std::function<void()>([] {
                    QCoreApplication::postEvent(
                        g_runState.prompterWindow,
                        new QKeyEvent(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier));
                });
            })
                                : WebSocketCommands(server.Port(), {R"({"command":"faster"})"}));
        std::vector<double> passes;
        passes.reserve(8'000'000);
        std::uint64_t last = 0;
        const QMetaObject::Connection timing = QObject::connect(
            QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] {
                const std::uint64_t now = ThreadTime();
                if (last != 0 && !senders.Done())
                    passes.push_back(double(now - last));
                last = now;
            });
        QTimer::singleShot(kSettleMs, [&] { senders.Start(); });
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (senders.Done())
                RunPrompterCommand(PrompterCommand::Stop);
        });
        watch.start(10);
        StartScrollRun(false); // paused throughout, so no step hides in a pass
        QObject::disconnect(timing);
        std::vector<double> longest = passes;
        const auto cut = longest.end() - std::min<std::ptrdiff_t>(kCount, std::ssize(longest));
        std::nth_element(longest.begin(), cut, longest.end());
        longest.erase(longest.begin(), cut);
        state.counters["passes"] = double(passes.size());
        state.counters["idle_pass_us_p50"] = Quantile(passes, 0.5) / 1e3;
        state.counters["carrying_pass_us_p50"] = Quantile(longest, 0.5) / 1e3;
        state.counters["carrying_pass_us_p99"] = Quantile(longest, 0.99) / 1e3;
        state.counters["carrying_pass_us_max"] = Quantile(longest, 1.0) / 1e3;
    }
}
BENCHMARK(BM_PassCarryingACommand)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
