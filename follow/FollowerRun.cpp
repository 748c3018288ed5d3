#include "FollowerRun.h"

#include "DisplayDevice.h"
#include "LeaderFeed.h"
#include "LineStarts.h"
#include "LiveScript.h"
#include "PrompterStatus.h"
#include "RemoteLimits.h"
#include "RowPlacement.h"
#include "ScrollRunState.h"
#include "SpeedValue.h"
#include "Surface.h"
#include "TextRaster.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace
{
using Clock = std::chrono::steady_clock;
constexpr double kUsualRefreshHz = 60;

bool SameLines(const FollowLook& a, const FollowLook& b)
{
    return a.face == b.face && a.points == b.points && a.weight == b.weight && a.text == b.text &&
           a.back == b.back && a.pitch == b.pitch;
}

// Waits in the event loop until the link's stream can show a run or the
// time for it is up.
bool WaitUntilReady(FollowLink& link)
{
    if (link.Stream().Ready())
        return true;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&link, &FollowLink::changed, &loop, [&] {
        if (link.Stream().Ready())
            loop.quit();
    });
    deadline.start(RemoteLimits::kFollowWaitMs);
    loop.exec();
    return link.Stream().Ready();
}
} // namespace

std::optional<QString> FollowerRun::Follow(const FollowTarget& target, const FollowerOwn& own)
{
    FollowLink link(target);
    link.Open();
    FollowerRun run(link, own);
    do {
        if (!WaitUntilReady(link)) {
            const QString why = link.Problem().isEmpty()
                                    ? QStringLiteral("It sent no run to follow.")
                                    : link.Problem();
            return QStringLiteral("Could not follow the prompter at %1. %2")
                .arg(target.webSocket.authority(), why);
        }
    } while (!run.RunOnce());
    return std::nullopt;
}

FollowerRun::FollowerRun(FollowLink& link, const FollowerOwn& own) : m_link(link), m_own(own)
{
    QObject::connect(&m_link, &FollowLink::changed, &m_link, [this](FollowerStream::Change change) {
        if (change == FollowerStream::Change::Look && !SameLines(*m_link.Stream().Look(), m_look))
            m_lookChanged = true;
    });
}

bool FollowerRun::RunOnce()
{
    const FollowerStream& stream = m_link.Stream();
    m_look = *stream.Look();
    m_lookChanged = false;
    g_runParams.scriptText = stream.Script()->toStdString();
    g_runParams.lineCount = RecordLineStarts(0);
    m_scriptChanges = stream.ScriptChanges();
    g_runParams.fontFace = m_look.face;
    g_runParams.fontPoints = m_look.points;
    g_runParams.fontWeight = m_look.weight;
    CreatePrompterFont(m_look.face, m_look.points, m_look.weight);
    g_runParams.textColor = m_look.text;
    g_runParams.backColor = m_look.back;
    g_runParams.speedValue = kSlowestSpeed;
    g_runParams.mirror = m_own.mirror;
    g_runParams.readingCue = m_own.readingCue;
    g_runParams.glass = m_own.glass;
    g_runParams.operatorScreen = m_own.operatorScreen;
    g_runParams.endAtSecond.reset();
    g_runParams.liveEdit = false;
    g_runParams.followsLeader = true;
    const QScreen* screen = ChooseDisplayScreen(m_own.useMonitor2);
    const double hz = screen && screen->refreshRate() > 1 ? screen->refreshRate() : kUsualRefreshHz;
    m_frame = std::chrono::nanoseconds(static_cast<std::int64_t>(1e9 / hz));
    m_track.emplace(std::chrono::duration_cast<std::chrono::microseconds>(m_frame).count());
    StartScrollRun(m_own.useMonitor2, {}, [this](Clock::time_point now) { return Pilot(now); });
    g_runParams.followsLeader = false;
    g_runState.followState = FollowState::Off;
    return !m_lookChanged;
}

void FollowerRun::TakeScript()
{
    const QByteArray& script = *m_link.Stream().Script();
    m_scriptChanges = m_link.Stream().ScriptChanges();
    ScriptText& text = g_runParams.scriptText;
    if (script.size() > static_cast<qsizetype>(text.size()) &&
        QByteArrayView(script).first(static_cast<qsizetype>(text.size())) ==
            QByteArrayView(text.View().data(), static_cast<qsizetype>(text.size()))) {
        text.append(script.constData() + text.size(), script.size() - text.size());
        g_runParams.lineCount = RecordLineStarts(g_runParams.lineCount);
        return;
    }
    ApplyRunScriptEdit({0, g_runParams.lineCount, script.toStdString()});
}

Clock::time_point FollowerRun::Pilot(Clock::time_point now)
{
    ScrollRunState& st = g_runState;
    if (m_lookChanged) {
        st.running = false;
        return now;
    }
    if (m_link.Stream().ScriptChanges() != m_scriptChanges)
        TakeScript();
    const FollowKeypoint& keypoint = *m_link.Stream().Keypoint();
    // Before the first round trip the leader's time is taken as its keypoint's.
    const qint64 leaderNow = m_link.LeaderNow().value_or(keypoint.at);
    const std::int64_t row =
        m_track->Next(keypoint, m_look.pitch, LinePitch(), leaderNow, FollowLink::Now());
    const std::int64_t highest = static_cast<std::int64_t>(g_runParams.lineCount) * LinePitch();
    MovePictureToRow(std::clamp<std::int64_t>(row, -Surface::kHeight, highest));
    st.paused = !keypoint.running || keypoint.paused;
    const FollowState link = m_link.InStep() ? FollowState::InStep : FollowState::Lost;
    if (st.followState != link) {
        st.followState = link;
        ++st.glassChanges;
    }
    return now + m_frame;
}
