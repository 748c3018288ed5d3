#include "FollowGlide.h"

#include <algorithm>
#include <cmath>

std::int64_t FollowGlide::Next(double target, double moved, double refreshes)
{
    const double closing = std::min(refreshes, 1.0);
    if (!m_shown || std::abs(target - (*m_shown + moved)) > kFarthestSlideRows)
        m_shown = target;
    else
        m_shown = *m_shown + std::clamp(target - *m_shown, moved - closing, moved + closing);
    return static_cast<std::int64_t>(std::floor(*m_shown));
}
