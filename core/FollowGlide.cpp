#include "FollowGlide.h"

#include <algorithm>
#include <cmath>

std::int64_t FollowGlide::Next(double target, double moved)
{
    if (!m_shown || std::abs(target - (*m_shown + moved)) > kFarthestSlideRows)
        m_shown = target;
    else
        m_shown = *m_shown + std::clamp(target - *m_shown, moved - 1, moved + 1);
    return static_cast<std::int64_t>(std::floor(*m_shown));
}
