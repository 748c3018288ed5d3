#include "LineJump.h"
#include "EngineFixture.h"
#include "LineStarts.h"
#include "PrompterBindings.h"
#include "PrompterCommands.h"
#include "PrompterStatus.h"
#include "ReadingPosition.h"
#include "RunClock.h"

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

namespace
{
// The clock of the run's own times, moved by the test.
class LineJumpOnTheClock : public LineJump
{
  protected:
    void Pass(std::chrono::milliseconds time) { now += time; }

    // Steps the text forward by rows.
    void Move(int rows)
    {
        g_runState.paused = false;
        for (int r = 0; r < rows; ++r)
            ScrollStep();
        g_runState.paused = true;
    }

    static constexpr int kPitch = 21; // the forced line height and its gap row
    std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
    ScopedRunClock clock{[this] { return now; }};
};
} // namespace

TEST_F(LineJumpOnTheClock, DigitsAndEnterGoToThatParagraphWithinTwoSecondsOfTheLastDigit)
{
    // Typed at the prompter window, through its bindings: digits, Enter
    // ('E', the keypad's 'K'), a second and a half passing ('+'), two and a
    // half ('*').
    const struct {
        const char* typed;
        int paragraph; // 0: stays where it was
    } cases[] = {
        {"3E", 3},   {"6K", 6},    {"03E", 3},      {"7E", 0}, {"0E", 0},   {"E", 0},    {"4*E", 0},
        {"4*2E", 2}, {"0+4+E", 4}, {"1234567E", 0}, {"5E", 5}, {"2+2E", 0}, {"9*1E", 1},
    };
    for (const bool paused : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.typed) + (paused ? " paused" : " moving"));
            Start();
            const int from = script.starts[2] + 3;
            ASSERT_TRUE(ShowLineForReading(from));
            g_runState.paused = paused;
            for (const char* key = c.typed; *key; ++key) {
                if (*key == '+' || *key == '*') {
                    Pass(std::chrono::milliseconds(*key == '+' ? 1500 : 2500));
                    continue;
                }
                const int code = *key == 'E'   ? Qt::Key_Return
                                 : *key == 'K' ? Qt::Key_Enter
                                               : Qt::Key_0 + (*key - '0');
                const PrompterBinding* binding =
                    FindPrompterBinding(PrompterInput::Key, code, g_runParams.controlMode);
                ASSERT_NE(binding, nullptr);
                RunPrompterBinding(*binding);
            }
            EXPECT_EQ(LineBeingRead(),
                      c.paragraph ? script.starts[static_cast<std::size_t>(c.paragraph - 1)]
                                  : from);
            EXPECT_EQ(g_runState.paused, paused);
            EXPECT_FALSE(RunPrompterCommand(PrompterCommand::GoToTyped)) << "the number is gone";
        }
    }
}

TEST_F(LineJumpOnTheClock, GoToParagraphRefusesNumbersThatAreNoParagraphs)
{
    Start();
    const int before = LineBeingRead(); // the script still enters at the bottom
    for (const int number : {0, -1, 7, 1000000}) {
        EXPECT_FALSE(RunPrompterCommand(PrompterCommand::GoToParagraph, number)) << number;
        EXPECT_EQ(LineBeingRead(), before);
    }
    for (int number = 6; number >= 1; --number) {
        ASSERT_TRUE(RunPrompterCommand(PrompterCommand::GoToParagraph, number));
        EXPECT_EQ(LineBeingRead(), script.starts[static_cast<std::size_t>(number - 1)]);
        const PrompterStatus status = CurrentPrompterStatus();
        EXPECT_EQ(status.paragraph, number);
        EXPECT_EQ(status.paragraphCount, 6);
    }
    // A blank line belongs to the paragraph before it.
    ASSERT_TRUE(ShowLineForReading(script.starts[3] - 1));
    EXPECT_EQ(CurrentPrompterStatus().paragraph, 3);
}

TEST_F(LineJumpOnTheClock, PageUpSoonAfterComingToAParagraphGoesToTheOneBefore)
{
    // Paragraph 5 (line 23) is come to by a jump or by moving; then the text
    // moves on by some rows, time passes, and Page Up is pressed.
    enum class Arrival { PageDown, GoTo, Moving, Home };
    const struct {
        Arrival arrival;
        int rowsOn;
        int milliseconds;
        int landsOn; // a paragraph, from 1
    } cases[] = {
        {Arrival::PageDown, 2 * kPitch, 500, 4}, // today it landed on 5 and seemed to do nothing
        {Arrival::PageDown, 2 * kPitch, 1900, 4},
        {Arrival::PageDown, 2 * kPitch, 2100, 5}, // later: the start of the one being read
        {Arrival::PageDown, 0, 500, 4},
        {Arrival::PageDown, 0, 3000, 4}, // on its first line: the one before, as always
        {Arrival::GoTo, kPitch, 500, 4},
        {Arrival::Moving, 3 * kPitch, 500, 4},
        {Arrival::Moving, 3 * kPitch, 2500, 5},
        {Arrival::Home, kPitch, 500, 1}, // nothing before the first: its start
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.arrival) << ", " << c.rowsOn
                                          << " rows on, " << c.milliseconds << " ms");
        Start();
        const int fifth = script.starts[4];
        switch (c.arrival) {
        case Arrival::PageDown:
            ASSERT_TRUE(ShowLineForReading(script.starts[3]));
            ASSERT_TRUE(RunPrompterCommand(PrompterCommand::NextParagraph));
            break;
        case Arrival::GoTo:
            ASSERT_TRUE(RunPrompterCommand(PrompterCommand::GoToParagraph, 5));
            break;
        case Arrival::Moving:
            ASSERT_TRUE(ShowLineForReading(fifth - 1));
            Pass(std::chrono::seconds(10));
            Move(kPitch);
            break;
        case Arrival::Home:
            ASSERT_TRUE(ShowLineForReading(fifth));
            ASSERT_TRUE(RunPrompterCommand(PrompterCommand::JumpToStart));
            break;
        }
        const int arrivedAt = c.arrival == Arrival::Home ? 0 : fifth;
        ASSERT_EQ(LineBeingRead(), arrivedAt);
        Move(c.rowsOn);
        Pass(std::chrono::milliseconds(c.milliseconds));
        RunPrompterCommand(PrompterCommand::PreviousParagraph);
        EXPECT_EQ(LineBeingRead(), script.starts[static_cast<std::size_t>(c.landsOn - 1)]);
    }
}

TEST_F(LineJumpOnTheClock, TheFiguresFollowTheRunsRealPaceAndFallBackOnTheSpeedValue)
{
    Start();
    g_runState.speedValue = 10000; // asks for 100 rows a second
    ClampSpeed();
    ASSERT_TRUE(RunPrompterCommand(PrompterCommand::Resume));
    // The loop manages a step every 20 ms: 50 rows a second.
    const auto stepFor = [this](int milliseconds, int every) {
        for (int t = 0; t < milliseconds; t += every) {
            tickNow += static_cast<std::uint64_t>(every) * 1'000'000;
            ScrollStep();
        }
    };
    stepFor(500, 20);
    PrompterStatus status = CurrentPrompterStatus();
    EXPECT_FALSE(status.paceMeasured) << "half a second is not enough";
    EXPECT_DOUBLE_EQ(*status.rowsPerSecond, 100);
    stepFor(1000, 20);
    status = CurrentPrompterStatus();
    EXPECT_TRUE(status.paceMeasured);
    EXPECT_NEAR(*status.rowsPerSecond, 50, 0.5);
    EXPECT_NEAR(*status.linesPerMinute, 50.0 * 60 / kPitch, 1);
    EXPECT_NEAR(*status.remainingSeconds, RowsLeftToTheEnd() / 50.0, 1);

    // A pause is no part of the pace, and after a change the window soon
    // holds the new pace alone.
    ASSERT_TRUE(RunPrompterCommand(PrompterCommand::Pause));
    tickNow += 10'000'000'000;
    ASSERT_TRUE(RunPrompterCommand(PrompterCommand::Resume));
    stepFor(200, 20);
    EXPECT_NEAR(*CurrentPrompterStatus().rowsPerSecond, 50, 0.5);
    stepFor(3500, 10);
    EXPECT_NEAR(*CurrentPrompterStatus().rowsPerSecond, 100, 1);

    // At speed value 0, which asks for no figure, a glimpse of the pace does.
    Start();
    g_runState.speedValue = 0;
    ClampSpeed();
    ASSERT_TRUE(RunPrompterCommand(PrompterCommand::Resume));
    EXPECT_FALSE(CurrentPrompterStatus().rowsPerSecond);
    stepFor(50, 5);
    EXPECT_FALSE(CurrentPrompterStatus().rowsPerSecond) << "less than a tenth of a second";
    stepFor(100, 5);
    EXPECT_NEAR(*CurrentPrompterStatus().rowsPerSecond, 200, 1);
}
