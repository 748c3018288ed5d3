#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class QAbstractEventDispatcher;

// Lets the scroll loop wait for the next thing that can happen: any event
// (keys, the mouse, timers, sockets) or a moment it names, whichever comes
// first. The waiting is done inside the event dispatcher, so every event
// ends it. Qt's timers keep whole milliseconds, too coarse for a step, so an
// alarm thread wakes the dispatcher at the moment instead, its own sleep
// kept to the microsecond (no timer slack); the dispatcher's thread comes
// back some tens of microseconds after that, so the last stretch before
// the moment is spun on the clock.
class EventWait
{
  public:
    using Clock = std::chrono::steady_clock;

    // How long before the moment the waiting turns into spinning, at the
    // least: a longer wait spins a little longer (EventWait.cpp).
    static constexpr std::chrono::microseconds kSpunStretch{150};

    // Starts the alarm thread for this thread's event dispatcher.
    EventWait();
    // Stops and joins the alarm thread.
    ~EventWait();
    EventWait(const EventWait&) = delete;
    EventWait& operator=(const EventWait&) = delete;

    // Returns once events have been dispatched or the moment until has come;
    // Clock::time_point::max() waits for an event alone. Returns at once when
    // the moment is already near.
    void Until(Clock::time_point until);

  private:
    void SetAlarm(Clock::time_point at);
    void RunAlarm();

    QAbstractEventDispatcher* m_events;
    std::mutex m_lock;                                            // guards the three below
    std::condition_variable m_changed;                            // an earlier alarm, or the end
    Clock::time_point m_alarm = Clock::time_point::max();         // when to wake the dispatcher
    Clock::time_point m_sleepingUntil = Clock::time_point::max(); // the alarm thread's own wait
    bool m_quit = false;
    std::thread m_alarmThread;
};
