#pragma once

#include <QString>
#include <QtGlobal>

#include <list>
#include <optional>

// The connections whose request has not arrived whole, oldest first. Each
// address holds only a few places; when every place is taken, a newcomer
// takes the place of the oldest connection of the address holding the
// most. So clients that never finish a request shut out no one but
// themselves, however many addresses they come from.
class WaitingRoom
{
  public:
    struct Entry {
        bool admitted = false;
        std::optional<quint64> dropped; // the connection to close to make room
    };

    /// Room for at most `places`, `perAddress` of them from any one address.
    WaitingRoom(int places, int perAddress);

    /// Seats connection `id` from `address`, unless that address holds its
    /// share; makes room by dropping another when every place is taken.
    Entry Enter(quint64 id, const QString& address);

    /// Frees the place of `id`, if it holds one.
    void Leave(quint64 id);

    /// Connections waiting now.
    int Count() const { return static_cast<int>(m_seats.size()); }

  private:
    struct Seat {
        quint64 id;
        QString address;
    };
    int Holding(const QString& address) const;

    int m_places;
    int m_perAddress;
    std::list<Seat> m_seats; // oldest first
};
