#include "BackTime.h"

#include "SpeedValue.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr int kSecondsPerHour = 60 * 60;
constexpr int kSecondsPerMinute = 60;
} // namespace

std::optional<int> ParseTimeOfDay(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,2}):([0-9]{2}):([0-9]{2})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    const int seconds = match.captured(3).toInt();
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return hours * kSecondsPerHour + minutes * kSecondsPerMinute + seconds;
}

QString TimeOfDayText(int second)
{
    const int s = ((second % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
    return QStringLiteral("%1:%2:%3")
        .arg(s / kSecondsPerHour, 2, 10, QLatin1Char('0'))
        .arg(s / kSecondsPerMinute % 60, 2, 10, QLatin1Char('0'))
        .arg(s % kSecondsPerMinute, 2, 10, QLatin1Char('0'));
}

BackTime WorkOutBackTime(const BackTimeInput& input)
{
    BackTime back;
    double toEnd = std::fmod(input.endAt - input.now, double(kSecondsPerDay));
    if (toEnd > kSecondsPerDay / 2)
        toEnd -= kSecondsPerDay;
    else if (toEnd <= -kSecondsPerDay / 2)
        toEnd += kSecondsPerDay;
    back.secondsToEnd = toEnd;

    const auto rowsLeft = static_cast<double>(std::max<std::int64_t>(input.rowsLeft, 0));
    const std::optional<double> pace =
        input.rowsPerSecond && *input.rowsPerSecond > 0 ? input.rowsPerSecond : std::nullopt;
    if (pace)
        back.overBy = rowsLeft / *pace - toEnd;
    if (toEnd <= 0 || rowsLeft <= 0)
        return back;

    const double needed = rowsLeft / toEnd;
    back.neededRowsPerSecond = needed;
    back.neededLinesPerMinute = needed * 60 / std::max(input.linePitch, 1);
    const double value = pace && input.speedValue > 0 ? input.speedValue * *pace / needed
                                                      : kMicrosecondsPerSecond / needed;
    back.neededSpeedValue =
        static_cast<int>(std::lround(std::min(value, double(std::numeric_limits<int>::max()))));
    return back;
}
