#include "VoiceSteering.h"

#include "SpeedValue.h"

#include <algorithm>

namespace
{
// The gap to the voice shrinks by two thirds in this time; twice as long
// left a new line's first words a second behind the speaker.
constexpr double kCatchUpSeconds = 0.3;
// Never slower than this, so that the gap's last rows do not crawl: a line
// coming up from the picture's foot took a second to settle.
constexpr double kLeastLinesPerSecond = 2.0;
// Further ahead than this the place is shown at once rather than scrolled to.
constexpr double kScrollAtMostLines = 8.0;
} // namespace

VoiceSteer SteerTowardsVoice(double gapRows, int pitch)
{
    if (gapRows > kScrollAtMostLines * pitch || gapRows < -pitch)
        return {VoiceSteer::Kind::Show, 0};
    return ScrollTowardsVoice(gapRows, pitch);
}

VoiceSteer ScrollTowardsVoice(double gapRows, int pitch)
{
    if (gapRows < 1)
        return {VoiceSteer::Kind::Hold, 0};
    const double rowsPerSecond = std::max(gapRows / kCatchUpSeconds, kLeastLinesPerSecond * pitch);
    return {VoiceSteer::Kind::Scroll,
            static_cast<int>(std::clamp(1e6 / rowsPerSecond, 0.0, double{kSlowestSpeed}))};
}
