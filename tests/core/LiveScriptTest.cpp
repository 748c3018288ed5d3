#include "LiveScript.h"
#include "EngineFixture.h"
#include "LineJump.h"
#include "LineStarts.h"
#include "ReadingPosition.h"

namespace
{
constexpr int kHeight = 20;
constexpr int kLines = 60;
constexpr int kNotJumped = -1;

std::string Lines(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

std::string NewScript(int lines)
{
    std::string text;
    for (int k = 0; k < lines; ++k)
        text += "New " + std::to_string(k) + "\r\n";
    return text;
}

// The text of line k of the run's script, without its CR LF.
std::string TextOfLine(int k)
{
    const int from = LineStart(k);
    return std::string(g_runParams.scriptText.View().substr(
        static_cast<std::size_t>(from), static_cast<std::size_t>(LineStart(k + 1) - from - 2)));
}

struct PlaceCase {
    const char* rule;
    int readFirst; // the line brought to the reading row first; kNotJumped: the first image
    RunScriptEdit edit;
    int readAfter;           // the line being read after the edit
    const char* textOfPlace; // the text on the reading place's row after it
};

class LiveScript : public EngineFixture
{
};
} // namespace

TEST_F(LiveScript, TheLineBeingReadKeepsItsRow)
{
    const PlaceCase cases[] = {
        {"a change inside the line read",
         20,
         {20, 1, Lines({"Line 20 fixed"})},
         20,
         "Line 20 fixed"},
        {"a line added above", 20, {5, 0, Lines({"Late story"})}, 21, "Line 20"},
        {"lines deleted above", 20, {3, 4, ""}, 16, "Line 20"},
        {"the first line changed, long gone from the picture",
         20,
         {0, 1, Lines({"Line 0 fixed"})},
         20,
         "Line 20"},
        {"lines changed below", 20, {30, 2, Lines({"a", "b", "c"})}, 20, "Line 20"},
        {"the line read deleted", 20, {20, 1, ""}, 20, "Line 21"},
        {"the line read and the next deleted", 20, {20, 2, ""}, 20, "Line 22"},
        {"a paragraph rewrapped around it, lines as they were left out",
         20,
         {19, 3, Lines({"Line 19", "Line 20", "extra", "Line 21"})},
         20,
         "Line 20"},
        {"a shorter new script", 20, {0, kLines, NewScript(10)}, 9, "New 9"},
        {"a longer new script", 20, {0, kLines, NewScript(100)}, 20, "New 20"},
        {"the last line deleted while it is read",
         kLines - 1,
         {kLines - 1, 1, ""},
         kLines - 2,
         "Line 58"},
        {"the first image, a line changed", kNotJumped, {1, 1, Lines({"One"})}, 0, "Line 0"},
        {"the first image, a line added at the top", kNotJumped, {0, 0, Lines({"Top"})}, 0, "Top"},
    };
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.rule);
        StartRun(NumberedScript(kLines), kLines, false, kHeight);
        RecordLineStarts(0);
        if (c.readFirst != kNotJumped) {
            ASSERT_TRUE(ShowLineForReading(c.readFirst));
        }
        // Before the first line the place is held by line 0.
        const int placeBefore = std::max(LineBeingRead(), 0);
        const std::int64_t row = LineTopOnPicture(placeBefore);

        ApplyRunScriptEdit(c.edit);

        const int placeAfter = std::max(LineBeingRead(), 0);
        EXPECT_EQ(placeAfter, c.readAfter);
        EXPECT_EQ(LineTopOnPicture(placeAfter), row);
        EXPECT_EQ(TextOfLine(placeAfter), c.textOfPlace);
        // The picture shows the script as it now stands.
        const Surface expected = RenderedLine(c.textOfPlace, kHeight);
        for (int r = 0; r < kHeight; ++r)
            ASSERT_EQ(RowOf(primary, static_cast<int>(row) + r), RowOf(expected, r)) << r;
        // The line starts are those of the new text.
        const std::vector<int> kept(g_runState.LineStartTable.begin(),
                                    g_runState.LineStartTable.begin() + g_runParams.lineCount + 1);
        g_runState.LineStartTable.clear();
        EXPECT_EQ(RecordLineStarts(0), g_runParams.lineCount);
        EXPECT_EQ(std::vector<int>(g_runState.LineStartTable.begin(),
                                   g_runState.LineStartTable.begin() + g_runParams.lineCount + 1),
                  kept);
    }
}

TEST_F(LiveScript, ALineChangedAtTheEdgeEntersAsItNowReads)
{
    StartRun(NumberedScript(kLines), kLines, false, kHeight);
    RecordLineStarts(0);
    ASSERT_TRUE(ShowLineForReading(10));
    // The line entering at the bottom edge, half of it on the picture.
    const int entering = g_runState.lineIndex - 1;
    const std::vector<std::uint8_t> above = RowOf(primary, 0);
    ApplyRunScriptEdit({entering, 1, Lines({"Entering anew"})});
    EXPECT_EQ(RowOf(primary, 0), above) << "the rest of the picture stays";
    g_runState.paused = false;
    for (int step = 0; step < kHeight + 1; ++step)
        ScrollStep();
    const int top = static_cast<int>(LineTopOnPicture(entering));
    const Surface expected = RenderedLine("Entering anew", kHeight);
    for (int r = 0; r < kHeight; ++r)
        ASSERT_EQ(RowOf(primary, top + r), RowOf(expected, r)) << r;
}
