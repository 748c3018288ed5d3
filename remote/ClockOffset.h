#pragma once

#include <QtGlobal>

#include <array>
#include <optional>

// How far the leader's clock is ahead of ours, from round trips: the leader
// answers a question asked at `sent` with its time, heard at `heard`. The
// answer left the leader after the question left us and before it reached
// us, so each trip bounds the offset from both sides. The tightest bound on
// either side over half a minute of trips, each loosened by how far two
// clocks may have drifted apart since, meets the other in the middle: on a
// jittered link that is the quickest trip each way, where the one quickest
// round trip is seldom quick both ways. The offset given out moves to a new
// estimate gradually, so that it never steps.
class ClockOffset
{
  public:
    /// Takes a round trip asked at `sent` and answered with `leader`, heard
    /// at `heard`; false for one that cannot be (heard before it was asked,
    /// or longer than any link keeps a question). A trip that the kept ones
    /// contradict (the leader's clock began anew) starts them afresh.
    bool Take(qint64 sent, qint64 leader, qint64 heard);

    /// The offset in microseconds (leader less ours) at `now` on our clock,
    /// none before the first trip.
    std::optional<qint64> Offset(qint64 now) const;

    /// How fast the offset given out moves to a new estimate, in
    /// microseconds a second: the leader's pace looks 3 % off meanwhile at most.
    static constexpr qint64 kSlewUsPerSecond = 30'000;

  private:
    // What a trip says of the offset, as on our clock at `heard`.
    struct Bounds {
        qint64 least = 0; // the leader's time less when the answer was heard
        qint64 most = 0;  // the leader's time less when the question was asked
    };
    struct Trip {
        Bounds bounds;
        qint64 heard = 0;
    };
    static constexpr int kTripsKept = 64;
    static constexpr qint64 kLongestTripUs = 10'000'000;
    static constexpr qint64 kDriftPerMillion = 50; // two computers' clocks drift apart less

    Bounds Tightest(qint64 now) const;

    std::array<Trip, kTripsKept> m_trips{};
    int m_count = 0; // trips taken, up to kTripsKept
    int m_next = 0;  // where the next trip goes
    // The offset given out moves from m_from at m_since towards m_estimate.
    qint64 m_from = 0;
    qint64 m_since = 0;
    qint64 m_estimate = 0;
};
