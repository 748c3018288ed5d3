#pragma once

#include <array>
#include <cstdint>
#include <optional>

// The run's real pace: the rows it has moved a second over the last few
// seconds of moving, from the ticks of its steps. The speed value says what
// the run asks for; a loop that cannot keep up moves slower, and the time
// left and the lines a minute must say what it really does.
class PaceMeter
{
  public:
    // One row moved, at the tick counter's ticks (nanoseconds).
    void NoteRow(std::uint64_t tick);

    // The text stood still: the time until the next row is no row's.
    void Break() { m_inStretch = false; }

    // The rows a second over the last kWindowNs of moving; none before
    // enough of moving has been measured (kEnoughNs unless told).
    std::optional<double> RowsPerSecond(std::int64_t enoughNs = kEnoughNs) const;

    static constexpr std::int64_t kWindowNs = 3'000'000'000;
    static constexpr std::int64_t kEnoughNs = 1'000'000'000;
    // What does when nothing else tells the pace (at speed value 0).
    static constexpr std::int64_t kGlimpseNs = 100'000'000;

  private:
    static constexpr std::int64_t kSampleEveryNs = 250'000'000;

    // The time moved and the rows counted, up to some row.
    struct Sample {
        std::int64_t movedNs = 0;
        std::int64_t rows = 0;
    };

    Sample m_now;                 // up to the last row
    std::uint64_t m_lastTick = 0; // of the last row
    bool m_inStretch = false;     // the last row was moving, with no pause since
    // Samples a quarter of a second of moving apart, the newest at m_newest,
    // enough to span the window; the first holds nothing moved yet.
    std::array<Sample, kWindowNs / kSampleEveryNs + 2> m_samples{};
    std::size_t m_newest = 0;
    std::size_t m_count = 1;
};
