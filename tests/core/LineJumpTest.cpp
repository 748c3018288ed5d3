#include "LineJump.h"
#include "EngineFixture.h"
#include "LineStarts.h"
#include "PrompterCommands.h"
#include "PrompterStatus.h"
#include "ReadingPosition.h"

#include <thread>

namespace
{
// Paragraphs of 1, 2, 14, 1, 40 and 3 lines, two blank lines between the
// third and the fourth; every line with text reads "Line k", k its index.
struct ParagraphScript {
    std::string text;
    int lines = 0;
    std::vector<int> starts;

    ParagraphScript()
    {
        const int lengths[] = {1, 2, 14, 1, 40, 3};
        for (int p = 0; p < 6; ++p) {
            if (p > 0)
                AddBlank();
            if (p == 3)
                AddBlank();
            starts.push_back(lines);
            for (int k = 0; k < lengths[p]; ++k)
                Add(LineText(lines));
        }
    }
    void Add(const std::string& line)
    {
        text += line + "\r\n";
        ++lines;
    }
    void AddBlank() { Add(" \t"); }
};

class LineJump : public EngineFixture
{
  protected:
    void Start(bool mirror = false, bool cue = false)
    {
        g_runParams.readingCue = ReadingCue{cue, 50};
        StartRun(script.text, script.lines, mirror, 20, 12);
        RecordLineStarts(0);
    }

    // Everything a step goes on from, and the picture.
    struct Snapshot {
        std::vector<std::uint8_t> screen, strip;
        int lineIndex, stripRow, textPos;
        std::string lineBuffer;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() const
    {
        const ScrollRunState& st = g_runState;
        const bool forward = st.direction == ScrollDirection::Forward;
        return {Image(primary), Image(offscreen),         st.lineIndex,
                st.stripRow,    forward ? st.textPos : 0, st.lineBuffer};
    }

    // The line the strip holds.
    static int StripLine()
    {
        const ScrollRunState& st = g_runState;
        return st.direction == ScrollDirection::Forward ? st.lineIndex - 1 : st.lineIndex + 1;
    }

    // The lines drawn into the strip until the run pauses itself.
    std::vector<int> LinesDrawnUntilPaused()
    {
        std::vector<int> drawn;
        int last = g_runState.lineIndex;
        g_runState.paused = false;
        while (!g_runState.paused) {
            ScrollStep();
            if (g_runState.lineIndex != last) {
                last = g_runState.lineIndex;
                drawn.push_back(StripLine());
            }
        }
        return drawn;
    }

    static void ExpectSame(const Snapshot& a, const Snapshot& b)
    {
        EXPECT_EQ(a.lineIndex, b.lineIndex);
        EXPECT_EQ(a.stripRow, b.stripRow);
        EXPECT_EQ(a.textPos, b.textPos);
        EXPECT_EQ(a.lineBuffer, b.lineBuffer);
        EXPECT_TRUE(a.strip == b.strip) << "the off-screen surface differs";
        EXPECT_TRUE(a.screen == b.screen) << "the picture differs";
    }

    static bool Consecutive(const std::vector<int>& lines, int step)
    {
        for (std::size_t i = 1; i < lines.size(); ++i)
            if (lines[i] != lines[i - 1] + step)
                return false;
        return true;
    }

    ParagraphScript script;
};
} // namespace

TEST_F(LineJump, PageDownAndUpVisitEveryParagraphAndDoNothingPastTheEnds)
{
    for (bool cue : {false, true}) {
        SCOPED_TRACE(cue ? "with the cue" : "without it");
        Start(false, cue);
        std::vector<int> visited;
        while (RunPrompterCommand(PrompterCommand::NextParagraph))
            visited.push_back(LineBeingRead());
        EXPECT_EQ(visited, script.starts);
        // The line read is at its place: the top of the picture, or centred on the cue.
        const int top = cue ? 240 - 10 : 0;
        const Surface last = RenderedLine(LineText(script.starts.back()), 20);
        for (int r = 0; r < 20; ++r)
            ASSERT_EQ(RowOf(primary, top + r), RowOf(last, r)) << r;
        const Snapshot atLast = Take();
        EXPECT_FALSE(RunPrompterCommand(PrompterCommand::NextParagraph));
        EXPECT_FALSE(ShowLineForReading(script.lines)) << "no line past those captured";
        EXPECT_EQ(Take(), atLast);

        visited.clear();
        while (RunPrompterCommand(PrompterCommand::PreviousParagraph))
            visited.push_back(LineBeingRead());
        EXPECT_EQ(visited, std::vector<int>(script.starts.rbegin() + 1, script.starts.rend()));
        const Snapshot atFirst = Take();
        EXPECT_FALSE(RunPrompterCommand(PrompterCommand::PreviousParagraph));
        EXPECT_EQ(Take(), atFirst);
        EXPECT_TRUE(g_runState.paused);
        EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
    }
}

TEST_F(LineJump, InTheMiddleOfAParagraphPageUpGoesToItsFirstLineAndHomeToTheStart)
{
    Start();
    ASSERT_TRUE(ShowLineForReading(script.starts[4] + 10));
    ASSERT_TRUE(RunPrompterCommand(PrompterCommand::PreviousParagraph));
    EXPECT_EQ(LineBeingRead(), script.starts[4]);
    ASSERT_TRUE(RunPrompterCommand(PrompterCommand::JumpToStart));
    EXPECT_EQ(LineBeingRead(), 0);
    EXPECT_EQ(RowOf(primary, 0), RowOf(RenderedLine(LineText(0), 20), 0));
}

TEST_F(LineJump, LeavesTheStateAndPictureThatScrollingThereGivesInEitherDirection)
{
    for (bool mirror : {false, true}) {
        for (bool cue : {false, true}) {
            SCOPED_TRACE(std::string(mirror ? "mirrored" : "right-reading") + (cue ? ", cue" : ""));
            Start(mirror, cue);
            const int target = script.starts[4] + 5;
            g_runState.paused = false;
            while (LineTopOnPicture(target) != ReadingLineTop() && !g_runState.paused)
                ScrollStep();
            const Snapshot forward = Take();
            ASSERT_TRUE(ShowLineForReading(0));
            ASSERT_TRUE(ShowLineForReading(target));
            ExpectSame(Take(), forward);

            // To the end, then back (more than a screen, past the turn's rows)
            // to an early paragraph.
            LinesDrawnUntilPaused();
            const int early = script.starts[cue ? 3 : 2];
            g_runState.paused = false;
            ScrollStep();
            while (LineTopOnPicture(early) != ReadingLineTop() && !g_runState.paused)
                ScrollStep();
            ASSERT_EQ(g_runState.direction, ScrollDirection::Backward);
            const Snapshot backward = Take();
            ASSERT_TRUE(ShowLineForReading(script.lines - 1));
            ASSERT_TRUE(ShowLineForReading(early));
            ExpectSame(Take(), backward);
        }
    }
}

TEST_F(LineJump, ScrollingOnShowsEveryLineInOrderAndTheEndsStillPause)
{
    for (bool cue : {false, true}) {
        SCOPED_TRACE(cue ? "with the cue" : "without it");
        Start(false, cue);
        // Forward from a jump: each line after the strip's, to the last.
        ASSERT_TRUE(ShowLineForReading(script.starts[2]));
        const int strip = StripLine();
        std::vector<int> drawn = LinesDrawnUntilPaused();
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn.front(), strip + 1);
        EXPECT_EQ(drawn.back(), script.lines - 1);
        EXPECT_TRUE(Consecutive(drawn, 1));
        EXPECT_TRUE(g_runState.directionChangeRequested) << "the end pauses with a turn pending";

        // The turn stays pending across a jump and is carried out on resuming.
        ASSERT_TRUE(RunPrompterCommand(PrompterCommand::PreviousParagraph));
        EXPECT_TRUE(g_runState.paused);
        EXPECT_TRUE(g_runState.directionChangeRequested);
        const int read = LineBeingRead();
        drawn = LinesDrawnUntilPaused();
        EXPECT_EQ(g_runState.direction, ScrollDirection::Backward);
        ASSERT_FALSE(drawn.empty());
        EXPECT_LE(drawn.front(), read);
        EXPECT_EQ(drawn.back(), 0);
        EXPECT_TRUE(Consecutive(drawn, -1));

        // Backward from a jump, then forward again after the start.
        ASSERT_TRUE(ShowLineForReading(script.starts[5]));
        g_runState.directionChangeRequested = false;
        const int entering = StripLine();
        drawn = LinesDrawnUntilPaused();
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn.front(), entering - 1);
        EXPECT_EQ(drawn.back(), 0);
        EXPECT_TRUE(Consecutive(drawn, -1));
        drawn = LinesDrawnUntilPaused();
        EXPECT_EQ(drawn.back(), script.lines - 1);
        EXPECT_TRUE(Consecutive(drawn, 1));
    }
}

TEST_F(LineJump, AMirroredRunJumpsToTheExactMirror)
{
    const auto picture = [this](bool mirror) {
        Start(mirror, true);
        EXPECT_TRUE(ShowLineForReading(script.starts[4]));
        return Image(primary);
    };
    const auto right = picture(false);
    EXPECT_TRUE(IsMirrorOf(picture(true), right));
}

TEST_F(LineJump, HomeNearTheStartLeavesTheLinesAboveTheFirstInTheBackground)
{
    // With the cue low, line 0 sits far down the picture; going back from
    // there the run is at its start at once.
    g_runParams.readingCue = ReadingCue{true, 90};
    StartRun(script.text, script.lines, false, 20, 12);
    RecordLineStarts(0);
    g_runState.direction = ScrollDirection::Backward;
    ASSERT_TRUE(RunPrompterCommand(PrompterCommand::JumpToStart));
    EXPECT_FALSE(HasInk(primary, 0, CueRow(g_runParams.readingCue) - 10 - 1));
    EXPECT_EQ(LineBeingRead(), 0);
    const auto before = Image(primary);
    g_runState.paused = false;
    ScrollStep();
    EXPECT_TRUE(g_runState.paused);
    EXPECT_TRUE(g_runState.directionChangeRequested);
    EXPECT_EQ(Image(primary), before);
    const std::vector<int> drawn = LinesDrawnUntilPaused();
    EXPECT_EQ(drawn.back(), script.lines - 1);
    EXPECT_TRUE(Consecutive(drawn, 1));
}

TEST_F(LineJump, TheStatusReadsTheLineAtTheCueTheTimeLeftAndOnlyTheTimeMoving)
{
    Start(false, true);
    ASSERT_TRUE(ShowLineForReading(script.starts[4]));
    g_runState.speedValue = 10000; // 100 rows a second
    PrompterStatus status = CurrentPrompterStatus();
    EXPECT_EQ(status.lineIndex, script.starts[4]);
    EXPECT_EQ(status.lineCount, script.lines);
    ASSERT_TRUE(status.remainingSeconds);
    EXPECT_DOUBLE_EQ(*status.remainingSeconds, RowsLeftToTheEnd() / 100.0);
    EXPECT_GT(RowsLeftToTheEnd(), 0);
    g_runState.speedValue = 0;
    EXPECT_FALSE(CurrentPrompterStatus().remainingSeconds) << "no rate is known at speed 0";

    EXPECT_EQ(CurrentPrompterStatus().elapsedSeconds, 0) << "paused since the start";
    ASSERT_TRUE(RunPrompterCommand(PrompterCommand::Resume));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(RunPrompterCommand(PrompterCommand::Pause));
    const double moved = CurrentPrompterStatus().elapsedSeconds;
    EXPECT_GE(moved, 0.02);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(CurrentPrompterStatus().elapsedSeconds, moved);
}
