#include "FollowTrack.h"

#include <gtest/gtest.h>

#include <vector>

TEST(FollowTrack, ClosesAGapByARowARefreshHoweverOftenItIsAsked)
{
    constexpr qint64 kRefreshUs = 16'000;
    const FollowKeypoint standing{0, 200, 0, ScrollDirection::Forward, false, true, 100};
    FollowKeypoint foundOn = standing;
    foundOn.row = 210;
    // Asked once a refresh, or at four passes a refresh: a row a refresh either way.
    for (const int passes : {1, 4}) {
        FollowTrack track(kRefreshUs);
        qint64 here = 0;
        EXPECT_EQ(track.Next(standing, 20, 20, 0, here), 200);
        std::vector<std::int64_t> refreshes;
        for (int refresh = 0; refresh < 3; ++refresh) {
            std::int64_t shown = 0;
            for (int pass = 0; pass < passes; ++pass)
                shown = track.Next(foundOn, 20, 20, 0, here += kRefreshUs / passes);
            refreshes.push_back(shown);
        }
        EXPECT_EQ(refreshes, (std::vector<std::int64_t>{201, 202, 203})) << passes;
    }
}
