#include "EngineFixture.h"
#include "FollowGlide.h"
#include "RowPlacement.h"

namespace
{
class RowPlacement : public EngineFixture
{
  protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        StartRun(NumberedScript(80), 80, false, 20);
    }
};
} // namespace

TEST_F(RowPlacement, PutsThePictureOnTheRowAskedNearOrFarEitherWay)
{
    const int pitch = 21;
    const std::int64_t rows[] = {1, 6, 300, 297, 2 * pitch, 60 * pitch + 5, 60 * pitch - 2, 3};
    for (const std::int64_t row : rows) {
        ASSERT_TRUE(MovePictureToRow(row));
        EXPECT_EQ(PictureRow(), row);
        EXPECT_TRUE(g_runState.paused) << "pause stays as it was";
        EXPECT_FALSE(g_runState.directionChangeRequested) << row;
    }
    // Stepping past the start stops there, as a run's own steps do.
    ASSERT_TRUE(MovePictureToRow(-200));
    EXPECT_GT(PictureRow(), -200);
    EXPECT_TRUE(g_runState.paused);
    g_runState.primarySurface = nullptr;
    EXPECT_FALSE(MovePictureToRow(10));
}

TEST(FollowGlideRule, MovesWithTheLeaderAndClosesAGapByARowARefreshAtMost)
{
    FollowGlide glide;
    EXPECT_EQ(glide.Next(100.5, 0), 100) << "the first refresh shows the row";
    EXPECT_EQ(glide.Next(110.5, 10), 110) << "moving as the leader moves";
    // The leader is found 8 rows on while standing: closed a row a refresh.
    std::vector<std::int64_t> closing;
    for (int i = 0; i < 10; ++i)
        closing.push_back(glide.Next(118.5, 0));
    EXPECT_EQ(closing,
              (std::vector<std::int64_t>{111, 112, 113, 114, 115, 116, 117, 118, 118, 118}));
    // Moving 10 a refresh, and a late place puts it 5 behind: 11 a refresh until in step.
    double target = 128.5;
    std::int64_t last = glide.Next(target, 10);
    EXPECT_EQ(last, 128);
    target += 5;
    std::vector<std::int64_t> steps;
    for (int i = 0; i < 7; ++i) {
        target += 10;
        const std::int64_t shown = glide.Next(target, 10);
        steps.push_back(shown - last);
        last = shown;
    }
    EXPECT_EQ(steps, (std::vector<std::int64_t>{11, 11, 11, 11, 11, 10, 10}));
    // Farther off than a second of closing: shown at once, as a jump is.
    EXPECT_EQ(glide.Next(target + FollowGlide::kFarthestSlideRows + 1, 0),
              static_cast<std::int64_t>(target + FollowGlide::kFarthestSlideRows + 1));
}
