#include "ScriptText.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// Replacements near the top, the middle and the end, growing and shrinking,
// in turn on one text: each must leave what std::string's replace leaves,
// whichever side of it moved and however often room was made in front.
TEST(ScriptText, AReplacementLeavesWhatTheSameReplacementOfAStringLeaves)
{
    struct Step {
        std::size_t from, count;
        std::string bytes;
    };
    const std::string longer(70 * 1024, 'w'); // more than the room made in front at once
    const Step steps[] = {
        {0, 0, "top "},      {2, 3, "TOP"},    {5, 1, ""},
        {0, 4, longer},      {1, 1, "x\r\n"},  {60, 10, "middle\r\n"},
        {0, 70 * 1024, "t"}, {100, 0, longer}, {1'000'000, 5, "end\r\n"}, // past the end: appended
    };
    std::string expected;
    for (int k = 0; k < 200; ++k)
        expected += "Line " + std::to_string(k) + "\r\n";
    ScriptText text;
    text = expected;
    for (const Step& step : steps) {
        const std::size_t from = std::min(step.from, expected.size());
        expected.replace(from, step.count, step.bytes);
        text.Replace(step.from, step.count, step.bytes);
        ASSERT_EQ(text.View(), expected) << "at " << step.from;
        ASSERT_EQ(text.size(), expected.size());
    }
    text += "more\r\n";
    EXPECT_EQ(text.View(), expected + "more\r\n");
}
} // namespace
