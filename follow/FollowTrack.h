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
    /// A track for a screen that refreshes every `refreshUs` microseconds.
    explicit FollowTrack(qint64 refreshUs) : m_refreshUs(refreshUs) {}

    /// The row to show at `here` on the follower's clock, when the leader's
    /// clock reads `leaderNow`, its lines `leaderPitch` rows apart and ours
    /// `ownPitch`. It may be asked more often than the screen refreshes.
    std::int64_t Next(const FollowKeypoint& keypoint, int leaderPitch, int ownPitch,
                      qint64 leaderNow, qint64 here);

  private:
    qint64 m_refreshUs;
    FollowGlide m_glide;
    std::optional<qint64> m_lastRefresh;
};

/// The leader's row in another pitch: the same line, as far into it.
double RowInOwnPitch(double leaderRow, int leaderPitch, int ownPitch);
