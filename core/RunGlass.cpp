#include "RunGlass.h"

#include "ColorRef.h"
#include "Countdown.h"
#include "PresenterMessage.h"
#include "ScrollRunState.h"
#include "TextRaster.h"

#include <QTime>

#include <algorithm>

using Clock = std::chrono::steady_clock;

GlassLook RunGlassLook(bool mirrored)
{
    return {g_runParams.readingCue,
            g_runParams.glass,
            mirrored,
            ToQColor(g_runParams.textColor),
            ToQColor(g_runParams.backColor),
            PrompterFont()};
}

GlassTexts RunGlassTextsAt(Clock::time_point now)
{
    GlassTexts texts;
    texts.message = PresenterMessageAt(now);
    if (g_runParams.glass.clock)
        texts.clock = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    texts.countdown = CountdownShown(now);
    texts.leaderLost = g_runState.followState == FollowState::Lost;
    return texts;
}

Clock::time_point RunGlassFeed::Follow(Clock::time_point now)
{
    const ScrollRunState& run = g_runState;
    if (run.glassChanges == m_seenChanges && now < m_due)
        return m_due;
    EndCountdownWhenDue(now);
    m_seenChanges = run.glassChanges;
    m_overlay.Show(RunGlassTextsAt(now));
    // The clock and the countdown change on the second; a message at its end.
    m_due = Clock::time_point::max();
    if (g_runParams.glass.clock) {
        const int toNextSecond = 1000 - QTime::currentTime().msec();
        m_due = now + std::chrono::milliseconds(toNextSecond);
    }
    if (run.countdownEnds) {
        const auto left = *run.countdownEnds - now;
        m_due = std::min(m_due, now + left % std::chrono::seconds(1));
        m_due = std::min(m_due, *run.countdownEnds);
    }
    if (run.message.until && now < *run.message.until)
        m_due = std::min(m_due, *run.message.until);
    return m_due;
}
