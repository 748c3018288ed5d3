#include "EventWait.h"
#include "LineStarts.h"
#include "ScrollRunState.h"

#include <QTimer>
#include <gtest/gtest.h>

using Clock = EventWait::Clock;

TEST(EventWait, AnEventEndsAWaitForEventsAloneAndTheAlarmEndsOneWithoutEvents)
{
    // Other events may end a wait first; each wait ends with one.
    EventWait wait;
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    while (!fired)
        wait.Until(Clock::time_point::max());

    // With no timer of Qt's to end it, only the alarm ends this wait; it is
    // asked again after a stray event, until the moment has come. Without
    // the alarm it would wait for the safety net.
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(20);
    bool safetyNet = false;
    QTimer::singleShot(5000, [&] { safetyNet = true; });
    while (Clock::now() < until && !safetyNet)
        wait.Until(until);
    EXPECT_FALSE(safetyNet);
}

TEST(LineStarts, RecordsEveryLineAndGoesOnFromWhereTheScriptGrew)
{
    g_runParams = ScrollRunParams{};
    g_runState = ScrollRunState{};
    g_runState.LineStartTable = {7, 7, 7}; // left by an earlier run
    g_runParams.scriptText = "one\r\n\r\nthree\r\r\n";
    EXPECT_EQ(RecordLineStarts(0), 3);
    g_runParams.scriptText += "four\r\n";
    EXPECT_EQ(RecordLineStarts(3), 4);
    EXPECT_EQ(g_runState.LineStartTable, (std::vector<int>{0, 5, 7, 15, 21}));
    g_runParams = ScrollRunParams{};
    g_runState = ScrollRunState{};
}
