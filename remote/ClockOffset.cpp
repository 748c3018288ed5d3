#include "ClockOffset.h"

#include <algorithm>

bool ClockOffset::Take(qint64 sent, qint64 leader, qint64 heard)
{
    const qint64 length = heard - sent;
    if (length < 0 || length > kLongestTripUs)
        return false;
    m_trips[static_cast<std::size_t>(m_next)] = {length, leader - (sent + length / 2)};
    m_next = (m_next + 1) % kTripsKept;
    m_count = std::min(m_count + 1, kTripsKept);
    return true;
}

const ClockOffset::Trip* ClockOffset::Shortest() const
{
    const Trip* shortest = nullptr;
    for (int i = 0; i < m_count; ++i) {
        const Trip& trip = m_trips[static_cast<std::size_t>(i)];
        if (!shortest || trip.length < shortest->length)
            shortest = &trip;
    }
    return shortest;
}

std::optional<qint64> ClockOffset::Offset() const
{
    const Trip* shortest = Shortest();
    return shortest ? std::optional<qint64>(shortest->offset) : std::nullopt;
}

std::optional<qint64> ClockOffset::ShortestTrip() const
{
    const Trip* shortest = Shortest();
    return shortest ? std::optional<qint64>(shortest->length) : std::nullopt;
}
