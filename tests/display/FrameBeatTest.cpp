#include "FrameBeat.h"
#include "StepWatch.h"
#include "TypicalOfLate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

// A run's steps as the scroll loop takes them, against the frames the beat
// wants: frames may fall anywhere among the steps, but every frame is to
// hold as many steps as the one before, give or take one, and one frame
// goes out a refresh all the same.

namespace
{
using std::chrono::microseconds;
using std::chrono::nanoseconds;
using Clock = FrameBeat::Clock;
constexpr nanoseconds kRefresh{16'666'667};
constexpr nanoseconds kPass = microseconds(50); // the loop's passes between steps

struct Frames {
    std::vector<int> steps; // the steps each wanted frame holds
    double mean = 0;
    double furthest = 0; // from the mean, in steps
};

// Runs for the time given with a step due every interval, each taken late
// by up to lateUpTo (the loop waking late), the next due an interval after
// it as the loop's are; passes come between the steps and at each.
Frames RunSteps(nanoseconds interval, nanoseconds lateUpTo, nanoseconds length, unsigned seed = 1)
{
    StepWatch watch;
    std::mt19937 noise(seed);
    std::uniform_int_distribution<long long> late(0, lateUpTo.count());
    const Clock::time_point start = Clock::time_point() + std::chrono::hours(1);
    FrameBeat beat(kRefresh, start);
    Clock::time_point due = start + interval;
    Clock::time_point stepAt = due + nanoseconds(late(noise));
    int steps = 0;
    int stepsAtFrame = 0;
    Frames frames;
    for (Clock::time_point now = start; now < start + length; now = std::min(now + kPass, stepAt)) {
        if (now >= stepAt) {
            ++steps;
            due = now + interval;
            stepAt = due + nanoseconds(late(noise));
        }
        // An overdue step leaves no time, as the loop tells it.
        const nanoseconds left = std::max(due - now, nanoseconds::zero());
        const bool stepped = watch.Seen(now, left);
        if (beat.Due(now, left, stepped, watch.Gap())) {
            frames.steps.push_back(steps - stepsAtFrame);
            stepsAtFrame = steps;
        }
    }
    // The first frame counts the start, not a refresh.
    frames.steps.erase(frames.steps.begin());
    frames.mean = std::accumulate(frames.steps.begin(), frames.steps.end(), 0.0) /
                  static_cast<double>(frames.steps.size());
    for (int held : frames.steps)
        frames.furthest = std::max(frames.furthest, std::abs(held - frames.mean));
    return frames;
}

constexpr nanoseconds kThreeSeconds = std::chrono::seconds(3);
constexpr int kRefreshesInThree = 180;
} // namespace

TEST(FrameBeat, StepsAsFastAsTheRefreshOrFasterFallEvenlyIntoFramesHoweverLate)
{
    // Ten steps a refresh, the beat on a step to start with (the worst
    // place for a frame taken at the first pass after its beat); one step
    // a refresh; and two and a half.
    for (const nanoseconds interval :
         {kRefresh / 10, kRefresh, kRefresh * 2 / 5, kRefresh * 3 / 10}) {
        for (unsigned seed = 1; seed <= 5; ++seed) {
            const Frames frames = RunSteps(interval, microseconds(300), kThreeSeconds, seed);
            EXPECT_LT(frames.furthest, 1.0) << "interval " << interval.count() << " seed " << seed;
            EXPECT_NEAR(static_cast<double>(frames.steps.size()), kRefreshesInThree - 1, 2)
                << "interval " << interval.count() << " seed " << seed;
        }
    }
}

TEST(FrameBeat, ARunSlowerThanTheRefreshOrPausedOrSteppingAtEveryPassWantsAFrameEveryBeat)
{
    const Frames slow = RunSteps(kRefresh * 5 / 2, microseconds(300), kThreeSeconds);
    EXPECT_NEAR(static_cast<double>(slow.steps.size()), kRefreshesInThree - 1, 1);

    for (const nanoseconds nextStepIn : {nanoseconds::max(), nanoseconds::zero()}) {
        const Clock::time_point start = Clock::time_point() + std::chrono::hours(1);
        FrameBeat beat(kRefresh, start);
        int wanted = 0;
        for (Clock::time_point now = start; now < start + kThreeSeconds; now += kPass)
            wanted += beat.Due(now, nextStepIn, false, nanoseconds::max()) ? 1 : 0;
        EXPECT_NEAR(wanted, kRefreshesInThree, 1) << nextStepIn.count();
    }
}

// A frame waits for a step only so long: one due but not taken (the loop
// held up) leaves the frame to be wanted by half a refresh after its beat.
TEST(FrameBeat, AStepThatDoesNotComeIsNotWaitedFor)
{
    const Clock::time_point start = Clock::time_point() + std::chrono::hours(1);
    FrameBeat beat(kRefresh, start);
    const nanoseconds gap = kRefresh / 10;
    ASSERT_FALSE(beat.Due(start, gap, true, gap));
    // Stuck just before a step that never comes, then with it overdue.
    Clock::time_point now = start;
    while (!beat.Due(now, now < start + gap ? nanoseconds(1) : nanoseconds::zero(), false, gap))
        now += kPass;
    EXPECT_GE(now, start + kRefresh / 2);
    EXPECT_LT(now, start + kRefresh + kRefresh / 2 + kPass);
}

// The loop passes at each step and, while there is work, between them;
// when it sleeps until each step it passes once a step and finds as much
// time left at each.
TEST(StepWatch, SeesEveryStepAndNothingElseHoweverTheLoopPasses)
{
    const Clock::time_point start = Clock::time_point() + std::chrono::hours(1);
    const nanoseconds gap = microseconds(1667);
    StepWatch watch;
    EXPECT_TRUE(watch.Seen(start, StepWatch::kNever)) << "paused";
    EXPECT_EQ(watch.Gap(), StepWatch::kNever);
    EXPECT_FALSE(watch.Seen(start + kPass, StepWatch::kNever));

    // Moving: a step at each multiple of the gap, passes between them.
    Clock::time_point stepAt = start + gap;
    EXPECT_FALSE(watch.Seen(start + kPass, gap - kPass)) << "the run starts moving";
    EXPECT_TRUE(watch.Seen(stepAt, gap));
    EXPECT_EQ(watch.Gap(), gap);
    EXPECT_FALSE(watch.Seen(stepAt + kPass, gap - kPass));
    EXPECT_FALSE(watch.Seen(stepAt + 2 * kPass, gap - 2 * kPass));
    for (int step = 0; step < 5; ++step) {
        stepAt += gap;
        EXPECT_TRUE(watch.Seen(stepAt, gap)) << "one pass a step, " << step;
    }
    // Overdue, with events dispatched at passes that take no step.
    EXPECT_FALSE(watch.Seen(stepAt + gap, nanoseconds::zero()));
    EXPECT_FALSE(watch.Seen(stepAt + gap + microseconds(900), nanoseconds::zero()));
    stepAt += gap + microseconds(900);
    EXPECT_TRUE(watch.Seen(stepAt, gap)) << "taken late";
    // A pass held up short of the next step is no step.
    EXPECT_FALSE(watch.Seen(stepAt + microseconds(700), gap - microseconds(700)));
}

// The copy to the screen, timed at every frame, decides whether the loop
// keeps its core; a copy the machine held up must not decide it alone.
TEST(TypicalOfLate, FollowsMostOfTheLastTimesAndNotTheOddOne)
{
    TypicalOfLate copy;
    EXPECT_EQ(copy.Typical(), nanoseconds::zero()) << "nothing timed yet";
    copy.Note(microseconds(1400));
    EXPECT_EQ(copy.Typical(), microseconds(1400)) << "the first time stands for all";
    for (int frame = 0; frame < 20; ++frame)
        copy.Note(microseconds(frame % 2 == 0 ? 1300 : 1500));
    copy.Note(std::chrono::milliseconds(20));
    EXPECT_LE(copy.Typical(), microseconds(1500)) << "one frame held up for a whole refresh";
    for (int frame = 0; frame < 3; ++frame)
        copy.Note(microseconds(3000));
    EXPECT_LE(copy.Typical(), microseconds(1500)) << "a few slow frames among more quick ones";
    for (int frame = 0; frame < 5; ++frame)
        copy.Note(microseconds(2500 + frame));
    EXPECT_GE(copy.Typical(), microseconds(2500)) << "most of the last frames slow";
    for (int frame = 0; frame < int(TypicalOfLate::kKept); ++frame)
        copy.Note(microseconds(1400));
    EXPECT_EQ(copy.Typical(), microseconds(1400)) << "the slow spell over";
}
