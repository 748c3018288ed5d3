#pragma once

#include <algorithm>
#include <cstdint>

// A speed value is the time between two one-row steps, in microseconds:
// 0 is the fastest, kSlowestSpeed the slowest. The run, the settings and
// the speed slider all count in it.

/// The slowest speed value; the speed slider runs from 0 to it.
inline constexpr std::int32_t kSlowestSpeed = 32000;

/// The microseconds of a second: speed value v asks for this / v rows a second.
inline constexpr double kMicrosecondsPerSecond = 1e6;

/// The speed slider's position for a speed value, 32000 - value: worked out in
/// 64 bits, where no stored value can overflow it, and held to the slider's
/// range, so that a value beyond either end, however far, lands at that end.
constexpr int SliderPositionOf(std::int32_t speedValue)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(std::int64_t{kSlowestSpeed} - speedValue, 0, kSlowestSpeed));
}
