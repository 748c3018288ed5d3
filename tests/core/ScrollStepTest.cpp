#include "EngineFixture.h"

#include <cstdlib>
#include <functional>

namespace
{
class ScrollStepTest : public EngineFixture
{
  protected:
    // The number of the line in lineBuffer ("Line 12\r" gives 12).
    static int BufferedLine() { return std::atoi(g_runState.lineBuffer.c_str() + 5); }

    // Steps until the run pauses itself, noting every line drawn into the
    // strip on the way, in order; afterEachStep looks at the state as it goes.
    std::vector<int> LinesDrawnUntilPaused(const std::function<void()>& afterEachStep = [] {})
    {
        std::vector<int> drawn;
        std::string last = g_runState.lineBuffer;
        while (!g_runState.paused) {
            ScrollStep();
            afterEachStep();
            if (g_runState.lineBuffer != last) {
                last = g_runState.lineBuffer;
                drawn.push_back(BufferedLine());
            }
        }
        return drawn;
    }

    // Steps forward from the start until lineIndex and stripRow are as given.
    void StepForwardTo(int lineIndex, int stripRow)
    {
        g_runState.paused = false;
        for (int i = 0; i < 100'000; ++i) {
            if (g_runState.lineIndex == lineIndex && g_runState.stripRow == stripRow)
                return;
            ScrollStep();
        }
        FAIL() << "never reached line " << lineIndex << ", strip row " << stripRow;
    }

    static std::vector<int> Range(int from, int to)
    {
        std::vector<int> r;
        for (int k = from; from <= to ? k <= to : k >= to; k += from <= to ? 1 : -1)
            r.push_back(k);
        return r;
    }
};

using ScrollStepFaults = ScrollStepTest;
} // namespace

TEST_F(ScrollStepTest, StepsOnlyWhenTheIntervalHasPassed)
{
    StartRun(NumberedScript(10), 10);
    g_runState.paused = false;
    g_runState.stepInterval = 1000;
    g_runState.lastStepTime = 5000;
    const auto before = Image(primary);
    tickNow = 5999;
    ScrollStep();
    EXPECT_EQ(Image(primary), before);
    EXPECT_EQ(g_runState.lastStepTime, 5000u);
    tickNow = 6000;
    ScrollStep();
    EXPECT_NE(Image(primary), before);
    EXPECT_EQ(g_runState.lastStepTime, 6000u);
    // A counter that runs backwards only delays the next step.
    const auto moved = Image(primary);
    tickNow = 100;
    ScrollStep();
    EXPECT_EQ(Image(primary), moved);
    EXPECT_EQ(g_runState.lastStepTime, 6000u);
}

TEST_F(ScrollStepTest, ForwardMoveBringsTheStripInAtTheBottomRow)
{
    StartRun(NumberedScript(10), 10, false, 40, 24);
    g_runState.paused = false;
    const auto before = Image(primary);
    ScrollStep();
    // The first step draws line 3 into the strip and shows its first row.
    EXPECT_EQ(g_runState.lineIndex, 4);
    EXPECT_EQ(g_runState.stripRow, 1);
    EXPECT_EQ(g_runState.LineStartTable[4], 32);
    const Surface line3 = RenderedLine(LineText(3), 40);
    EXPECT_EQ(RowOf(primary, 479), RowOf(line3, 0));
    for (int y = 0; y < 479; ++y)
        ASSERT_TRUE(std::equal(before.begin() + (y + 1) * 640, before.begin() + (y + 2) * 640,
                               primary.Row(y)));
    for (int r = 1; r <= 40; ++r)
        ScrollStep();
    // Rows 0..39 of the strip, then the gap row, which the initial image left blank.
    for (int r = 0; r < 40; ++r)
        ASSERT_EQ(RowOf(primary, 479 - 40 + r), RowOf(line3, r)) << r;
    EXPECT_EQ(RowOf(primary, 479), RowOf(offscreen, 40));
}

TEST_F(ScrollStepTest, WorkedExamplesTurnBackwardThenForwardAtHeight40)
{
    StartRun(NumberedScript(60), 60, false, 40, 24);
    StepForwardTo(20, 10);
    const auto row0 = RowOf(primary, 0);
    g_runState.directionChangeRequested = true;
    ScrollStep();
    EXPECT_EQ(g_runState.direction, ScrollDirection::Backward);
    EXPECT_FALSE(g_runState.directionChangeRequested);
    EXPECT_EQ(g_runState.lineIndex, 6);
    EXPECT_EQ(g_runState.stripRow, 20);
    EXPECT_EQ(g_runState.lineBuffer, "Line 7\r");
    EXPECT_EQ(RowOf(primary, 0), RowOf(RenderedLine(LineText(7), 40), 20));
    EXPECT_EQ(RowOf(primary, 1), row0);

    const auto row479 = RowOf(primary, 479);
    g_runState.directionChangeRequested = true;
    ScrollStep();
    EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
    EXPECT_FALSE(g_runState.directionChangeRequested);
    EXPECT_EQ(g_runState.lineIndex, 20);
    EXPECT_EQ(g_runState.stripRow, 9);
    EXPECT_EQ(g_runState.lineBuffer, "Line 19\r");
    EXPECT_EQ(g_runState.textPos, LineStart(20));
    EXPECT_EQ(RowOf(primary, 479), RowOf(RenderedLine(LineText(19), 40), 8));
    EXPECT_EQ(RowOf(primary, 478), row479);
}

TEST_F(ScrollStepTest, RunsToTheEndAndBackWithEveryLineInOrder)
{
    const std::string script = NumberedScript(60);
    StartRun(script, 60, false, 40, 24);
    g_runState.paused = false;
    EXPECT_EQ(LinesDrawnUntilPaused(), Range(3, 59));
    EXPECT_TRUE(g_runState.directionChangeRequested);
    EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
    EXPECT_EQ(g_runState.lineIndex, 60);
    EXPECT_EQ(g_runState.textPos, static_cast<int>(script.size()));
    // Only the first strip row of the last line reached the screen.
    EXPECT_EQ(g_runState.stripRow, 1);
    EXPECT_EQ(RowOf(primary, 479), RowOf(RenderedLine(LineText(59), 40), 0));

    const auto atEnd = Image(primary);
    const int reads = tickReads;
    for (int i = 0; i < 20; ++i)
        ScrollStep();
    EXPECT_EQ(Image(primary), atEnd) << "the screen stands still while paused";
    EXPECT_EQ(tickReads, reads);

    g_runState.paused = false;
    EXPECT_EQ(LinesDrawnUntilPaused(), Range(60 - 1 - 12, 0));
    EXPECT_TRUE(g_runState.directionChangeRequested);
    EXPECT_EQ(g_runState.direction, ScrollDirection::Backward);
    EXPECT_EQ(g_runState.lineIndex, -1);
    // Line 0 is fully in at the top, its first row repeated in row 0 by the gap step.
    const Surface line0 = RenderedLine(LineText(0), 40);
    for (int r = 0; r < 40; ++r)
        ASSERT_EQ(RowOf(primary, 1 + r), RowOf(line0, r)) << r;
    EXPECT_EQ(RowOf(primary, 0), RowOf(line0, 0));
    const auto atStart = Image(primary);
    ScrollStep();
    EXPECT_EQ(Image(primary), atStart);

    // Row 479 shows row 27 of line 11; turning forward goes on with its row 28.
    g_runState.paused = false;
    ScrollStep();
    EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
    EXPECT_FALSE(g_runState.directionChangeRequested);
    EXPECT_EQ(g_runState.lineBuffer, "Line 11\r");
    EXPECT_EQ(g_runState.lineIndex, 12);
    EXPECT_EQ(g_runState.stripRow, 29);
    EXPECT_EQ(RowOf(primary, 479), RowOf(RenderedLine(LineText(11), 40), 28));
    EXPECT_EQ(LinesDrawnUntilPaused(), Range(12, 59));
}

TEST_F(ScrollStepTest, MirroredRunShowsTheExactMirrorFromTheInitialImageOn)
{
    auto run = [this](bool mirror) {
        StartRun(NumberedScript(40), 40, mirror, 30, 18);
        g_runState.paused = false;
        std::vector<std::vector<std::uint8_t>> shots{Image(primary)};
        for (int phase = 0; phase < 3; ++phase) {
            for (int i = 0; i < 150; ++i)
                ScrollStep();
            shots.push_back(Image(primary));
            g_runState.directionChangeRequested = true;
        }
        return shots;
    };
    const auto right = run(false);
    const auto mirrored = run(true);
    for (std::size_t shot = 0; shot < right.size(); ++shot)
        EXPECT_TRUE(IsMirrorOf(mirrored[shot], right[shot])) << "shot " << shot;
}

TEST_F(ScrollStepTest, EarlyTurnToBackwardPausesAtOnceAndResumesForward)
{
    StartRun(NumberedScript(60), 60, false, 40, 24);
    const auto before = Image(primary);
    g_runState.paused = false;
    g_runState.directionChangeRequested = true;
    const std::string buffered = g_runState.lineBuffer;
    ScrollStep();
    EXPECT_LT(g_runState.lineIndex, -1);
    EXPECT_EQ(g_runState.lineBuffer, buffered) << "nothing is drawn for a negative line";
    EXPECT_TRUE(g_runState.paused);
    EXPECT_TRUE(g_runState.directionChangeRequested);
    EXPECT_EQ(Image(primary), before);
    g_runState.paused = false;
    ScrollStep();
    EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
    EXPECT_EQ(g_runState.lineIndex, 3);
}

TEST_F(ScrollStepFaults, TurningWithASmallFontSkipsNoLineAndCopiesOnlyStripRows)
{
    // At height 14 the screen holds 32 lines at a pitch of 15 rows, not 480 / 14 = 34.
    StartRun(NumberedScript(80), 80, false, 14, 9);
    g_runState.paused = false;
    LinesDrawnUntilPaused();
    // The top row shows row 1 of line 47, so line 47 is the first to enter going back.
    g_runState.paused = false;
    int deepestStripRow = 0;
    EXPECT_EQ(LinesDrawnUntilPaused(
                  [&] { deepestStripRow = std::max(deepestStripRow, g_runState.stripRow); }),
              Range(47, 0));
    EXPECT_LE(deepestStripRow, 14) << "a row below the strip would reach the screen";
    // Row 479 shows row 13 of line 31; turning forward goes on with line 31.
    g_runState.paused = false;
    ScrollStep();
    EXPECT_EQ(g_runState.lineBuffer, "Line 31\r");
    EXPECT_EQ(g_runState.stripRow, 15);
    EXPECT_EQ(LinesDrawnUntilPaused(), Range(32, 79));
}

TEST_F(ScrollStepFaults, ShortScriptsStayInsideTheText)
{
    for (int lines = 0; lines <= 3; ++lines) {
        SCOPED_TRACE(lines);
        const std::string script = NumberedScript(lines);
        StartRun(script, lines);
        // The whole script is on the screen: the first step pauses with a change pending.
        const auto before = Image(primary);
        g_runState.paused = false;
        ScrollStep();
        EXPECT_TRUE(g_runState.paused);
        EXPECT_TRUE(g_runState.directionChangeRequested);
        EXPECT_EQ(g_runState.lineIndex, lines);
        EXPECT_EQ(Image(primary), before);
        for (int pass = 0; pass < 4; ++pass) {
            g_runState.paused = false;
            StepUntilPaused(10'000);
            EXPECT_TRUE(g_runState.paused);
            EXPECT_LE(g_runState.lineBuffer.size(), script.size());
        }
        EXPECT_EQ(g_runState.textPos, static_cast<int>(script.size()));
    }
}

TEST_F(ScrollStepFaults, AHundredThousandLineScriptScrollsToItsEndAndBack)
{
    const int lines = 100'000;
    const std::string script = NumberedScript(lines);
    StartRun(script, lines, false, 4, 4);
    g_runState.paused = false;
    const auto forward = LinesDrawnUntilPaused();
    ASSERT_EQ(forward.size(), static_cast<std::size_t>(lines - 3));
    EXPECT_EQ(forward.front(), 3);
    EXPECT_EQ(forward.back(), lines - 1);
    EXPECT_TRUE(std::is_sorted(forward.begin(), forward.end()));
    EXPECT_EQ(g_runState.lineIndex, lines);
    EXPECT_EQ(g_runState.textPos, static_cast<int>(script.size()));
    int offset = 0;
    for (int k = 0; k < lines; ++k) {
        ASSERT_EQ(LineStart(k), offset) << k;
        offset += static_cast<int>(LineText(k).size()) + 2;
    }
    EXPECT_EQ(LineStart(lines), static_cast<int>(script.size()));

    g_runState.paused = false;
    const auto backward = LinesDrawnUntilPaused();
    // The last line's first row is at row 479 and lines follow at 5 rows,
    // so the top row shows a row of line 99903: the first to enter going back.
    const int top = ((lines - 1) * 5 + 1 - 480) / 5;
    ASSERT_EQ(backward.size(), static_cast<std::size_t>(top + 1));
    EXPECT_EQ(backward.front(), top);
    EXPECT_EQ(backward.back(), 0);
    EXPECT_TRUE(std::is_sorted(backward.rbegin(), backward.rend()));
    EXPECT_EQ(g_runState.lineIndex, -1);
}

TEST_F(ScrollStepFaults, ALineHeightOfZeroTurnsWithoutDividingByZero)
{
    StartRun(NumberedScript(600), 600);
    g_runState.lineHeight = 0;
    g_runState.paused = false;
    for (int i = 0; i < 300; ++i)
        ScrollStep();
    ASSERT_FALSE(g_runState.paused);
    g_runState.directionChangeRequested = true;
    for (int i = 0; i < 100; ++i)
        ScrollStep();
    EXPECT_EQ(g_runState.direction, ScrollDirection::Backward);
    g_runState.paused = false;
    g_runState.directionChangeRequested = true;
    ScrollStep();
    EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
}

TEST_F(ScrollStepFaults, ALineTallerThanTheScreenScrollsBothWays)
{
    StartRun(NumberedScript(8), 8, false, 600, 24);
    EXPECT_FALSE(HasInk(primary, 479, 480));
    for (int pass = 0; pass < 3; ++pass) {
        g_runState.paused = false;
        const int steps = StepUntilPaused(100'000);
        EXPECT_LT(steps, 100'000);
        EXPECT_TRUE(g_runState.directionChangeRequested);
    }
    EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
    EXPECT_EQ(g_runState.lineIndex, 8);
}
