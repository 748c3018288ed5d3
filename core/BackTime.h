#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The back-time of a run: the time of day the script is to end by
// ([Prompter] EndAt), how far over or under it the present pace puts the
// end, and the pace the rest of the script needs to end then, in the
// program's own terms: a speed value (Preferences > Scroll Speed, the
// remote's `speed`) and lines a minute.

inline constexpr int kSecondsPerDay = 24 * 60 * 60;

// A time of day written HH:MM:SS (the hour may have one digit), in seconds
// from midnight; none for anything else.
std::optional<int> ParseTimeOfDay(const QString& text);

// Seconds from midnight written HH:MM:SS.
QString TimeOfDayText(int second);

struct BackTimeInput {
    double now = 0;                      // the time of day, in seconds from midnight
    int endAt = 0;                       // the time of day to end by, likewise
    std::int64_t rowsLeft = 0;           // the rows still to move to the end of the script
    std::optional<double> rowsPerSecond; // the present pace; none while unknown
    int speedValue = 0;                  // the present speed value
    int linePitch = 1;                   // the rows from one line to the next
};

struct BackTime {
    // The seconds from now to endAt: the nearer of its times today and
    // tomorrow, so negative once it has passed, by up to half a day.
    double secondsToEnd = 0;
    // At the present pace the script ends this many seconds after endAt
    // (negative: before it); none while the pace is unknown.
    std::optional<double> overBy;
    // What ending at endAt needs; none once it has passed or the script has
    // ended. The speed value may be beyond 32000: slower than the slowest.
    std::optional<double> neededRowsPerSecond;
    std::optional<double> neededLinesPerMinute;
    std::optional<int> neededSpeedValue;
};

// The speed value taken to give a pace is in proportion to the present
// one, so that a loop that moves slower than its speed value asks is
// allowed for; at speed value 0, or before any pace is known, it is the
// one whose steps give that pace.
BackTime WorkOutBackTime(const BackTimeInput& input);
