#include "EventWait.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>

#include <algorithm>

#ifdef __linux__
#include <sys/prctl.h>
#endif

EventWait::EventWait()
    : m_events(QAbstractEventDispatcher::instance()), m_alarmThread([this] { RunAlarm(); })
{
}

EventWait::~EventWait()
{
    {
        const std::lock_guard lock(m_lock);
        m_quit = true;
    }
    m_changed.notify_one();
    m_alarmThread.join();
}

namespace
{
// A thread that slept longer comes back later (its core has idled more
// deeply): some 60 microseconds after a millisecond, 150 after sixteen. The
// stretch grows with the wait by a hundredth of it, up to a quarter of a
// millisecond more.
std::chrono::nanoseconds SpunStretch(std::chrono::nanoseconds wait)
{
    return EventWait::kSpunStretch +
           std::clamp(wait / 100, std::chrono::nanoseconds::zero(),
                      std::chrono::nanoseconds(std::chrono::microseconds(250)));
}
} // namespace

void EventWait::Until(Clock::time_point until)
{
    const Clock::time_point now = Clock::now();
    const Clock::time_point wakeAt =
        until == Clock::time_point::max() ? until : until - SpunStretch(until - now);
    if (now < wakeAt) {
        SetAlarm(wakeAt);
        m_events->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        SetAlarm(Clock::time_point::max());
        // Woken before the alarm: an event came, and the loop sees to it first.
        if (Clock::now() < wakeAt)
            return;
    }
    while (Clock::now() < until) {
    }
}

void EventWait::SetAlarm(Clock::time_point at)
{
    bool earlier = false;
    {
        const std::lock_guard lock(m_lock);
        m_alarm = at;
        earlier = at < m_sleepingUntil;
    }
    // A later alarm, or none, needs no waking: the alarm thread finds it
    // when its own wait ends.
    if (earlier)
        m_changed.notify_one();
}

void EventWait::RunAlarm()
{
#ifdef __linux__
    // By default a timed sleep may end some 50 microseconds late, which the
    // spun stretch would have to cover at the cost of a busy core.
    prctl(PR_SET_TIMERSLACK, 1UL);
#endif
    std::unique_lock lock(m_lock);
    while (!m_quit) {
        m_sleepingUntil = m_alarm;
        if (m_alarm == Clock::time_point::max()) {
            m_changed.wait(lock);
            continue;
        }
        const Clock::time_point at = m_alarm;
        if (m_changed.wait_until(lock, at) == std::cv_status::timeout && m_alarm == at) {
            m_alarm = Clock::time_point::max();
            m_events->wakeUp();
        }
    }
}
