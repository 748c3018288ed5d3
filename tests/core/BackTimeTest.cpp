#include "BackTime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr int At(int hours, int minutes, int seconds = 0)
{
    return (hours * 60 + minutes) * 60 + seconds;
}
} // namespace

TEST(BackTime, ReadsTimesOfDayWrittenHoursMinutesSecondsAndNothingElse)
{
    const struct {
        const char* text;
        std::optional<int> second;
    } rows[] = {
        {"14:32:05", At(14, 32, 5)},
        {"09:05:00", At(9, 5)},
        {"9:05:00", At(9, 5)},
        {"00:00:00", 0},
        {"23:59:59", At(23, 59, 59)},
        {"24:00:00", {}},
        {"12:60:00", {}},
        {"12:00:60", {}},
        {"12:30", {}},
        {" 12:30:00", {}},
        {"12:30:00pm", {}},
        {"", {}},
        {"1:2:3", {}},
        {"123:00:00", {}},
        {"-1:00:00", {}},
        {"ab:cd:ef", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseTimeOfDay(QString::fromLatin1(row.text)), row.second) << row.text;
    EXPECT_EQ(TimeOfDayText(At(9, 5)), QStringLiteral("09:05:00"));
    EXPECT_EQ(TimeOfDayText(At(23, 59, 59) + 1), QStringLiteral("00:00:00"));
}

TEST(BackTime, TellsHowFarOverThePresentPaceEndsAndTheSpeedEndingOnTimeNeeds)
{
    constexpr std::optional<double> kUnknown;
    constexpr int kNone = -1;
    const struct {
        const char* what;
        int now, endAt;
        std::int64_t rowsLeft;
        std::optional<double> pace;
        int speedValue;
        double secondsToEnd;
        std::optional<double> overBy;
        int neededSpeedValue; // kNone: none
        double neededLinesPerMinute;
    } rows[] = {
        {"on time", At(14, 0), At(14, 10), 30000, 50.0, 20000, 600, 0.0, 20000, 60},
        {"two minutes over", At(14, 0), At(14, 10), 36000, 50.0, 20000, 600, 120.0, 16667, 72},
        {"two minutes under", At(14, 0), At(14, 10), 24000, 50.0, 20000, 600, -120.0, 25000, 48},
        // The loop moves half as fast as the speed value asks: the value
        // needed is in proportion to the present one.
        {"a loop that lags", At(14, 0), At(14, 10), 60000, 50.0, 10000, 600, 600.0, 5000, 120},
        {"as fast as it goes", At(14, 0), At(14, 10), 30000, 2000.0, 0, 600, -585.0, 20000, 60},
        {"no pace known", At(14, 0), At(14, 10), 30000, kUnknown, 0, 600, {}, 20000, 60},
        {"past midnight", At(23, 55), At(0, 5), 30000, 50.0, 20000, 600, 0.0, 20000, 60},
        {"ended already", At(14, 20), At(14, 10), 30000, 50.0, 20000, -600, 1200.0, kNone, 0},
        {"ended two hours ago", At(1, 0), At(23, 0), 3000, 50.0, 20000, -7200, 7260.0, kNone, 0},
        {"the script is done", At(14, 0), At(14, 10), 0, 50.0, 20000, 600, -600.0, kNone, 0},
        {"slower than the slowest", At(14, 0), At(14, 10), 600, 31.25, 32000, 600, -580.8, 1000000,
         1.2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const BackTime back = WorkOutBackTime(
            {double(row.now), row.endAt, row.rowsLeft, row.pace, row.speedValue, 50});
        EXPECT_DOUBLE_EQ(back.secondsToEnd, row.secondsToEnd);
        ASSERT_EQ(back.overBy.has_value(), row.overBy.has_value());
        if (row.overBy) {
            EXPECT_NEAR(*back.overBy, *row.overBy, 0.05);
        }
        if (row.neededSpeedValue == kNone) {
            EXPECT_FALSE(back.neededSpeedValue);
            EXPECT_FALSE(back.neededLinesPerMinute);
            continue;
        }
        ASSERT_TRUE(back.neededSpeedValue);
        EXPECT_EQ(*back.neededSpeedValue, row.neededSpeedValue);
        EXPECT_NEAR(*back.neededLinesPerMinute, row.neededLinesPerMinute, 0.001);
        EXPECT_NEAR(*back.neededRowsPerSecond, row.rowsLeft / row.secondsToEnd, 1e-9);
    }
}
