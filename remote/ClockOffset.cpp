#include "ClockOffset.h"

#include <algorithm>
#include <limits>

namespace
{
constexpr qint64 kMillion = 1'000'000;
} // namespace

bool ClockOffset::Take(qint64 sent, qint64 leader, qint64 heard)
{
    const qint64 length = heard - sent;
    if (length < 0 || length > kLongestTripUs)
        return false;
    const Bounds bounds{leader - heard, leader - sent};
    const std::optional<qint64> given = Offset(heard);
    if (m_count > 0) {
        const Bounds kept = Tightest(heard);
        if (bounds.least > kept.most || bounds.most < kept.least) {
            m_count = 0;
            m_next = 0;
        }
    }
    const bool fresh = m_count == 0;
    m_trips[static_cast<std::size_t>(m_next)] = {bounds, heard};
    m_next = (m_next + 1) % kTripsKept;
    m_count = std::min(m_count + 1, kTripsKept);
    const Bounds tightest = Tightest(heard);
    m_estimate = tightest.least + (tightest.most - tightest.least) / 2;
    m_from = fresh ? m_estimate : *given;
    m_since = heard;
    return true;
}

ClockOffset::Bounds ClockOffset::Tightest(qint64 now) const
{
    Bounds tightest{std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()};
    for (int i = 0; i < m_count; ++i) {
        const Trip& trip = m_trips[static_cast<std::size_t>(i)];
        const qint64 drift = std::max<qint64>(now - trip.heard, 0) * kDriftPerMillion / kMillion;
        tightest.least = std::max(tightest.least, trip.bounds.least - drift);
        tightest.most = std::min(tightest.most, trip.bounds.most + drift);
    }
    return tightest;
}

std::optional<qint64> ClockOffset::Offset(qint64 now) const
{
    if (m_count == 0)
        return std::nullopt;
    const qint64 step = std::max<qint64>(now - m_since, 0) * kSlewUsPerSecond / kMillion;
    return m_from + std::clamp(m_estimate - m_from, -step, step);
}
