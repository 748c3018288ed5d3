#include "FollowTrack.h"

#include "LeaderFeed.h"

#include <algorithm>
#include <cmath>
#include <utility>

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
    if (!m_lastRefresh) {
        m_lastRefresh = here;
        return m_glide.Next(target, 0);
    }
    // What the leader's own pace moved since the last refresh, by the same
    // place and clock: anything beyond is a correction, and glides.
    const qint64 since = here - std::exchange(*m_lastRefresh, here);
    const double moved = target - ownRowAt(leaderNow - since);
    return m_glide.Next(target, moved, double(since) / double(std::max<qint64>(m_refreshUs, 1)));
}
