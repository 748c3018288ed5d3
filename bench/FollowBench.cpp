// A follower against its leader. The leader is this program's remote
// server on a run whose motion the benchmark writes into the run state
// (the row, the last step's time, the speed value), so that the truth is
// known at every moment; the follower is a follower's link and the row
// rule it shows by, on a thread of its own, reaching the leader through
// follow_delay_proxy.py, which holds every chunk 20 +- 10 ms each way. At
// each refresh (60 a second) the follower's row is set against the leader's
// at the same moment, and its clock against the leader's (on one machine
// they are the same clock, so every microsecond of offset is an error):
//   BM_FollowerInStep/<rows a frame>: 60 s; a 700-row jump at 20 s and half
//     as fast again at 40 s, each timed until the follower is within a row
//     (the rows of the second after each are left out of the in-step figures);
//   BM_FollowerLinkCut/<0|1>: the link cut for 5 s at 10 s, the leader going
//     on as it was (0) or slowing to half its pace 2 s into the cut (1).
// And BM_LeaderWithFollowers/<0|16>: a real run at three rows a frame for
// 8 s with that many followers connected (on another thread), its step
// deviation and its thread's processor share. Run under the platform to be
// measured, e.g.
//   xvfb-run -s "-screen 0 1920x1080x24" bench_follow
#include "FollowLink.h"
#include "FollowTrack.h"
#include "PrompterCommands.h"
#include "RemoteServer.h"
#include "ScrollRun.h"
#include "ScrollRunState.h"
#include "Surface.h"
#include "TextRaster.h"
#include "TickSource.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace
{
const QByteArray kFollowBenchToken = "00112233445566778899aabbccddeeff";
constexpr int kBenchPitch = 21; // lines 20 rows high
constexpr double kRefreshMs = 1000.0 / 60;
constexpr int kFollowerSpacingMs = 70;

qint64 NowUs()
{
    return FollowLink::Now();
}

double QuantileOf(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(q * double(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// The leader's motion: pieces of steady pace, each from its start.
struct Motion {
    struct Piece {
        qint64 from; // microseconds of the steady clock
        double row;
        int speedValue;
    };
    std::vector<Piece> pieces;

    const Piece& At(qint64 t) const
    {
        const Piece* found = &pieces.front();
        for (const Piece& piece : pieces)
            if (piece.from <= t)
                found = &piece;
        return *found;
    }
    static double Pace(int speedValue) { return 1e6 / speedValue; }
    // The row the leader has stepped to by t, as its steps give it.
    std::int64_t RowAt(qint64 t) const
    {
        const Piece& piece = At(t);
        return static_cast<std::int64_t>(
            std::floor(piece.row + Pace(piece.speedValue) * double(t - piece.from) / 1e6));
    }
    // When the leader stepped onto `row`, within the piece at t.
    qint64 StepTime(qint64 t, std::int64_t row) const
    {
        const Piece& piece = At(t);
        return piece.from +
               static_cast<qint64>((double(row) - piece.row) / Pace(piece.speedValue) * 1e6);
    }
    // Continues from the row reached at `from` at a new speed, or jumps by `jump`.
    void Change(qint64 from, int speedValue, double jump = 0)
    {
        const Piece& last = pieces.back();
        const double row = last.row + Pace(last.speedValue) * double(from - last.from) / 1e6;
        pieces.push_back({from, row + jump, speedValue});
    }
};

// Writes the leader's motion into the run state, as its steps would leave it.
void ShowLeaderAt(const Motion& motion, qint64 now)
{
    const std::int64_t row = motion.RowAt(now);
    g_runState.running = true;
    g_runState.paused = false;
    g_runState.direction = ScrollDirection::Forward;
    g_runState.lineHeight = kBenchPitch - 1;
    g_runState.lineIndex = 1; // the strip holds line 0, so the row is its offset
    g_runState.stripRow = static_cast<int>(row + Surface::kHeight);
    g_runState.speedValue = motion.At(now).speedValue;
    g_runState.lastStepTime = static_cast<std::uint64_t>(motion.StepTime(now, row)) * 1000;
}

// The delay proxy, started beside the benchmark.
class DelayProxy
{
  public:
    explicit DelayProxy(quint16 to)
    {
        m_process.start(QStringLiteral("python3"),
                        {QStringLiteral(VELLOR_BENCH_DIR "/follow_delay_proxy.py"),
                         QStringLiteral("--to"), QString::number(to)});
        // A loaded machine may take a while to start the interpreter.
        for (int i = 0; i < 60 && !m_process.canReadLine(); ++i)
            m_process.waitForReadyRead(500);
        port = static_cast<quint16>(m_process.readLine().split(' ').value(1).trimmed().toInt());
    }
    ~DelayProxy()
    {
        m_process.closeWriteChannel();
        m_process.kill();
        m_process.waitForFinished(2000);
    }
    void Cut(int seconds) { m_process.write("cut " + QByteArray::number(seconds) + '\n'); }
    quint16 port = 0;

  private:
    QProcess m_process;
};

// What the follower showed at each refresh, against the truth then.
struct Sample {
    qint64 at;
    double off;     // follower's row less the leader's
    double clockMs; // the leader's clock as the follower reads it, less the real one
};

// Followers on a thread of their own; the first one's rows are sampled at
// each refresh against `motion`, when given.
class Followers
{
  public:
    Followers(int count, quint16 port, const Motion* motion)
    {
        m_thread.reset(QThread::create([=, this] {
            std::vector<std::unique_ptr<FollowLink>> links;
            // Opened a little apart: from one address they share its command limit.
            for (int i = 0; i < count; ++i) {
                links.push_back(std::make_unique<FollowLink>(
                    FollowTarget{QUrl(QStringLiteral("ws://127.0.0.1:%1/api/ws").arg(port)),
                                 QString::fromLatin1(kFollowBenchToken)}));
                QTimer::singleShot(i * kFollowerSpacingMs, links.back().get(), &FollowLink::Open);
            }
            FollowTrack track(static_cast<qint64>(kRefreshMs * 1000));
            QEventLoop loop;
            QTimer refresh;
            refresh.setTimerType(Qt::PreciseTimer);
            QObject::connect(&refresh, &QTimer::timeout, [&] {
                if (m_stop.load())
                    loop.quit();
                const FollowLink& link = *links.front();
                const auto& keypoint = link.Stream().Keypoint();
                if (!motion || !keypoint || !link.Stream().Look())
                    return;
                const qint64 here = NowUs();
                const qint64 leaderNow = link.LeaderNow().value_or(keypoint->at);
                const std::int64_t row = track.Next(*keypoint, link.Stream().Look()->pitch,
                                                    kBenchPitch, leaderNow, here);
                const std::lock_guard lock(m_mutex);
                m_samples.push_back(
                    {here, double(row - motion->RowAt(here)), double(leaderNow - here) / 1e3});
            });
            refresh.start(static_cast<int>(kRefreshMs));
            loop.exec();
        }));
        m_thread->start();
    }
    ~Followers()
    {
        m_stop = true;
        m_thread->wait();
    }
    std::vector<Sample> Samples()
    {
        const std::lock_guard lock(m_mutex);
        return m_samples;
    }

  private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Sample> m_samples;
};

void Wait(int ms)
{
    QElapsedTimer waited;
    waited.start();
    while (!waited.hasExpired(ms))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A leader moving by `motion`, its state brought up to date every
// millisecond, and one follower through the delay proxy.
struct FollowedLeader {
    explicit FollowedLeader(const Motion& motion)
    {
        g_runParams = ScrollRunParams{};
        g_runParams.scriptText = "Follow bench\r\n";
        g_runParams.lineCount = 1'000'000; // the leader never reaches the end
        g_runParams.fontFace = QStringLiteral("DejaVu Sans");
        g_runParams.fontPoints = 24;
        g_runParams.fontWeight = 400;
        g_runState = ScrollRunState{};
        server.Listen(0, false, kFollowBenchToken);
        ShowLeaderAt(motion, NowUs());
        leader.setTimerType(Qt::PreciseTimer);
        QObject::connect(&leader, &QTimer::timeout, [&motion] { ShowLeaderAt(motion, NowUs()); });
        leader.start(1);
        proxy = std::make_unique<DelayProxy>(server.Port());
        follower = std::make_unique<Followers>(1, proxy->port, &motion);
    }

    RemoteServer server{RemoteHost{[] { return false; }, [] { return QString(); }}};
    QTimer leader;
    std::unique_ptr<DelayProxy> proxy;
    std::unique_ptr<Followers> follower;
};

void WaitUntil(qint64 at)
{
    Wait(static_cast<int>(std::max<qint64>(at - NowUs(), 0) / 1000));
}

// When the follower is first within a row of the leader after `from`,
// in milliseconds; -1 when never.
double BackWithinARow(const std::vector<Sample>& samples, qint64 from)
{
    for (const Sample& sample : samples)
        if (sample.at >= from && std::abs(sample.off) <= 1)
            return double(sample.at - from) / 1e3;
    return -1;
}

void ReportOff(benchmark::State& state, const std::vector<double>& off)
{
    state.counters["refreshes"] = double(off.size());
    state.counters["off_p50_rows"] = QuantileOf(off, 0.5);
    state.counters["off_p99_rows"] = QuantileOf(off, 0.99);
    state.counters["off_max_rows"] = QuantileOf(off, 1.0);
}

int SpeedValueFor(int rowsAFrame)
{
    return static_cast<int>(std::lround(1e6 / (rowsAFrame * 60.0)));
}

void BM_FollowerInStep(benchmark::State& state)
{
    const int speedValue = SpeedValueFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const qint64 start = NowUs() + 2'000'000; // once the follower is in step
        Motion motion{{{start - 2'000'000, 0, speedValue}}};
        const qint64 jumpAt = start + 20'000'000;
        const qint64 fasterAt = start + 40'000'000;
        motion.Change(jumpAt, speedValue, 700);
        motion.Change(fasterAt, speedValue * 2 / 3);
        FollowedLeader leader(motion);
        WaitUntil(start + 60'000'000);
        const std::vector<Sample> samples = leader.follower->Samples();
        std::vector<double> off;
        std::vector<double> clock;
        std::vector<double> clockSigned;
        for (const Sample& sample : samples) {
            const bool settling = (sample.at >= jumpAt && sample.at < jumpAt + 1'000'000) ||
                                  (sample.at >= fasterAt && sample.at < fasterAt + 1'000'000);
            if (sample.at >= start && !settling)
                off.push_back(std::abs(sample.off));
            if (sample.at >= start) {
                clock.push_back(std::abs(sample.clockMs));
                clockSigned.push_back(sample.clockMs);
            }
        }
        ReportOff(state, off);
        state.counters["clock_bias_p50_ms"] = QuantileOf(clockSigned, 0.5);
        state.counters["clock_off_p99_ms"] = QuantileOf(clock, 0.99);
        state.counters["clock_off_max_ms"] = QuantileOf(clock, 1.0);
        state.counters["jump_shown_ms"] = BackWithinARow(samples, jumpAt);
        state.counters["faster_within_row_ms"] = BackWithinARow(samples, fasterAt);
        // When the follower first moves at the new pace: a refresh moving more than before.
        double shownFaster = -1;
        std::vector<Sample> after;
        for (const Sample& sample : samples)
            if (sample.at >= fasterAt)
                after.push_back(sample);
        for (std::size_t i = 1; i < after.size() && shownFaster < 0; ++i) {
            const double followerMoved = (after[i].off + motion.RowAt(after[i].at)) -
                                         (after[i - 1].off + motion.RowAt(after[i - 1].at));
            const double oldPace =
                Motion::Pace(speedValue) * double(after[i].at - after[i - 1].at) / 1e6;
            if (followerMoved > oldPace * 1.25)
                shownFaster = double(after[i].at - fasterAt) / 1e3;
        }
        state.counters["faster_shown_ms"] = shownFaster;
    }
}
BENCHMARK(BM_FollowerInStep)->Arg(1)->Arg(3)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FollowerLinkCut(benchmark::State& state)
{
    const int speedValue = SpeedValueFor(10);
    for (auto _ : state) {
        const qint64 start = NowUs() + 2'000'000;
        const qint64 cutAt = start + 10'000'000;
        const qint64 backAt = cutAt + 5'000'000;
        Motion motion{{{start - 2'000'000, 0, speedValue}}};
        if (state.range(0) == 1)
            motion.Change(cutAt + 2'000'000, speedValue * 2);
        FollowedLeader leader(motion);
        WaitUntil(cutAt);
        leader.proxy->Cut(5);
        WaitUntil(backAt + 5'000'000);
        const std::vector<Sample> taken = leader.follower->Samples();
        std::vector<double> during;
        for (const Sample& sample : taken)
            if (sample.at >= cutAt && sample.at < backAt)
                during.push_back(std::abs(sample.off));
        state.counters["cut_off_max_rows"] = QuantileOf(during, 1.0);
        state.counters["back_within_row_ms"] = BackWithinARow(taken, backAt);
        std::vector<double> after;
        for (const Sample& sample : taken)
            if (sample.at >= backAt + 2'000'000)
                after.push_back(std::abs(sample.off));
        state.counters["after_off_max_rows"] = QuantileOf(after, 1.0);
        // The largest change of the offset between two refreshes: a visible jump.
        double jump = 0;
        for (std::size_t i = 1; i < taken.size(); ++i)
            if (taken[i].at >= backAt)
                jump = std::max(jump, std::abs(taken[i].off - taken[i - 1].off));
        state.counters["back_largest_step_rows"] = jump;
    }
}
BENCHMARK(BM_FollowerLinkCut)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// The processor time the calling thread has used, in nanoseconds.
std::uint64_t ThreadTimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000U +
           static_cast<std::uint64_t>(now.tv_nsec);
}

void BM_LeaderWithFollowers(benchmark::State& state)
{
    constexpr int kSpeedValue = 5556; // about three rows a frame at 60 frames a second
    for (auto _ : state) {
        g_runParams = ScrollRunParams{};
        g_runParams.lineCount = 40000;
        for (int line = 1; line <= g_runParams.lineCount; ++line)
            g_runParams.scriptText += "Follower soak line " + std::to_string(line) + "\r\n";
        g_runParams.backColor = 0xFFFFFF;
        g_runParams.speedValue = kSpeedValue;
        g_runParams.fontFace = QStringLiteral("DejaVu Sans");
        g_runParams.fontPoints = 24;
        g_runParams.fontWeight = 400;
        CreatePrompterFont(g_runParams.fontFace, 24, 400);
        RemoteServer server(RemoteHost{[] { return false; }, [] { return QString(); }});
        server.Listen(0, false, kFollowBenchToken);
        std::unique_ptr<Followers> followers;
        if (state.range(0) > 0)
            followers = std::make_unique<Followers>(static_cast<int>(state.range(0)), server.Port(),
                                                    nullptr);
        std::vector<std::uint64_t> steps;
        std::uint64_t lastStep = 0;
        ScopedTickSource tracing([&] {
            if (g_runState.lastStepTime != lastStep) {
                lastStep = g_runState.lastStepTime;
                steps.push_back(lastStep);
            }
            return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch() /
                                              std::chrono::nanoseconds(1));
        });
        std::uint64_t cpuFrom = 0;
        QElapsedTimer wall;
        QTimer::singleShot(2000, [&] {
            RunPrompterCommand(PrompterCommand::Resume);
            cpuFrom = ThreadTimeNs();
            wall.start();
        });
        double cpuShare = 0;
        QTimer::singleShot(10000, [&] {
            cpuShare = double(ThreadTimeNs() - cpuFrom) / double(wall.nsecsElapsed());
            RunPrompterCommand(PrompterCommand::Stop);
        });
        StartScrollRun(false);
        std::vector<double> deviation;
        for (std::size_t i = 2; i < steps.size(); ++i)
            deviation.push_back(std::abs(double(steps[i] - steps[i - 1]) - kSpeedValue * 1000.0) /
                                1e6);
        state.counters["followers"] = double(server.ClientCount());
        state.counters["steps"] = double(steps.size());
        state.counters["p50_dev_ms"] = QuantileOf(deviation, 0.5);
        state.counters["p99_dev_ms"] = QuantileOf(deviation, 0.99);
        state.counters["max_dev_ms"] = QuantileOf(deviation, 1.0);
        state.counters["leader_cpu_share"] = cpuShare;
    }
}
BENCHMARK(BM_LeaderWithFollowers)->Arg(0)->Arg(16)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
