#pragma once

#include <cstdint>
#include <optional>

// The row a follower shows, refresh by refresh, given the row it works out
// for its leader at each. When that moves as it moved before, the shown row
// moves with it; when it is off (a new clock offset, a late keypoint, the
// link back after a loss), the shown row closes in by at most one row a
// refresh beyond the leader's own movement, so the text never visibly
// jumps; when it is farther off than a second of that closes, it is shown
// at once, as the leader's own jump is.
class FollowGlide
{
  public:
    /// The row to show at a refresh for the leader's row `target`, which
    /// its own pace moved by `moved` since the last refresh; `refreshes`,
    /// the share of a refresh since then, when that was sooner (a pass
    /// between refreshes closes in by no more than its share).
    std::int64_t Next(double target, double moved, double refreshes = 1);

    /// Rows off beyond which the leader's row is shown at once.
    static constexpr double kFarthestSlideRows = 60;

  private:
    std::optional<double> m_shown;
};
