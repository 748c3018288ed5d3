#pragma once

#include <QtGlobal>

#include <array>
#include <optional>

// How far the leader's clock is ahead of ours, from round trips: the leader
// answers a question sent at t0 with its time, which reaches us at t1. The
// answer was given somewhere within the trip, so the shortest recent trip
// says most: its offset is the leader's time less the trip's middle.
class ClockOffset
{
  public:
    /// Takes a round trip asked at `sent` and answered with `leader`, heard
    /// at `heard`; false for one that cannot be (heard before it was asked,
    /// or longer than any link keeps a question).
    bool Take(qint64 sent, qint64 leader, qint64 heard);

    /// The offset in microseconds (leader less ours), none before the first trip.
    std::optional<qint64> Offset() const;

    /// The shortest recent round trip, none before the first.
    std::optional<qint64> ShortestTrip() const;

  private:
    struct Trip {
        qint64 length = 0;
        qint64 offset = 0;
    };
    static constexpr int kTripsKept = 16;
    static constexpr qint64 kLongestTripUs = 10'000'000;

    const Trip* Shortest() const;

    std::array<Trip, kTripsKept> m_trips{};
    int m_count = 0; // trips taken, up to kTripsKept
    int m_next = 0;  // where the next trip goes
};
