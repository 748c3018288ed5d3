#include "WaitingRoom.h"

#include <QHash>

#include <algorithm>

WaitingRoom::WaitingRoom(int places, int perAddress) : m_places(places), m_perAddress(perAddress) {}

WaitingRoom::Entry WaitingRoom::Enter(quint64 id, const QString& address)
{
    if (Holding(address) >= m_perAddress)
        return {};
    Entry entry{true, std::nullopt};
    if (Count() >= m_places) {
        QHash<QString, int> held;
        for (const Seat& seat : m_seats)
            ++held[seat.address];
        const int most = *std::max_element(held.begin(), held.end());
        // Of the addresses holding the most, the one that has waited longest.
        const auto oldest = std::find_if(m_seats.begin(), m_seats.end(), [&](const Seat& seat) {
            return held.value(seat.address) == most;
        });
        entry.dropped = oldest->id;
        m_seats.erase(oldest);
    }
    m_seats.push_back({id, address});
    return entry;
}

void WaitingRoom::Leave(quint64 id)
{
    m_seats.remove_if([id](const Seat& seat) { return seat.id == id; });
}

int WaitingRoom::Holding(const QString& address) const
{
    return static_cast<int>(std::count_if(
        m_seats.begin(), m_seats.end(), [&](const Seat& seat) { return seat.address == address; }));
}
