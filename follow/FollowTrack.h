#pragma once

#include "FollowGlide.h"
#include "FollowMessages.h"

#include <cstdint>
#include <optional>

// The row a follower shows at each refresh: where the leader's place puts
// it by the leader's clock, in this prompter's line pitch, glided
// (FollowGlide.h) so that a correction never shows as a jump.
class FollowTrack
{
  public:
    /// The row to show at `here` on the follower's clock, when the leader's
    /// clock reads `leaderNow`, its lines `leaderPitch` rows apart and ours `ownPitch`.
    std::int64_t Next(const FollowKeypoint& keypoint, int leaderPitch, int ownPitch,
                      qint64 leaderNow, qint64 here);

  private:
    FollowGlide m_glide;
    std::optional<qint64> m_lastRefresh;
};

/// The leader's row in another pitch: the same line, as far into it.
double RowInOwnPitch(double leaderRow, int leaderPitch, int ownPitch);
