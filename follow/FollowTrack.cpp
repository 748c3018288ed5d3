#include "FollowTrack.h"

#include "LeaderFeed.h"

#include <cmath>

double RowInOwnPitch(double leaderRow, int leaderPitch, int ownPitch)
{
    if (ownPitch == leaderPitch)
        return leaderRow;
    const double line = std::floor(leaderRow / leaderPitch);
    return line * ownPitch + (leaderRow - line * leaderPitch) * ownPitch / leaderPitch;
}

std::int64_t FollowTrack::Next(const FollowKeypoint& keypoint, int leaderPitch, int ownPitch,
                               qint64 leaderNow, qint64 here)
{
    const auto ownRowAt = [&](qint64 leaderAt) {
        return RowInOwnPitch(RowAt(keypoint, leaderAt), leaderPitch, ownPitch);
    };
    const double target = ownRowAt(leaderNow);
    // What the leader's own pace moved since the last refresh, by the same
    // place and clock: anything beyond is a correction, and glides.
    const double moved = m_lastRefresh ? target - ownRowAt(leaderNow - (here - *m_lastRefresh)) : 0;
    m_lastRefresh = here;
    return m_glide.Next(target, moved);
}
