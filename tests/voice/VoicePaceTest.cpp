#include "VoicePace.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Step {
    double seconds;
    int placed;
    bool speaking;
};

struct PaceCase {
    const char* rule;
    std::vector<Step> steps;
    int shown; // after the last step
    int wordsALine = 8;
    int blankLineBefore = -1; // the word a blank line stands before, if any
};

// Words placed at three a second, the last at 2 s.
std::vector<Step> ReadAtThreeWordsASecond(std::vector<Step> then)
{
    std::vector<Step> steps{{0, 0, true}, {1, 3, true}, {2, 6, true}};
    steps.insert(steps.end(), then.begin(), then.end());
    return steps;
}

const PaceCase kPaceCases[] = {
    {"coasts on at the speaker's pace", ReadAtThreeWordsASecond({{3, 6, true}}), 9},
    {"a step back by the recogniser's doubt does not set the coast back",
     ReadAtThreeWordsASecond({{2.5, 4, true}, {3, 4, true}}), 9},
    {"holds still in silence", ReadAtThreeWordsASecond({{3, 6, false}}), 6},
    {"runs on less than a line", ReadAtThreeWordsASecond({{3, 6, true}, {5, 6, true}}), 11},
    {"runs on less than a line past a place its doubt may take back",
     ReadAtThreeWordsASecond({{3, 6, true}, {5, 6, true}}), 7, 4},
    {"counts only the time spoken",
     ReadAtThreeWordsASecond({{2.1, 6, false}, {7, 6, false}, {7.2, 6, true}}), 6},
    {"coasts a few seconds of speech at most",
     {{0, 0, true}, {2, 3, true}, {4, 6, true}, {6, 6, true}, {9, 6, true}},
     10},
    {"a place without a pace does not coast", {{0, 5, true}, {2, 5, true}}, 5},
    {"crosses a blank line as no line", ReadAtThreeWordsASecond({{3, 6, true}}), 9, 8, 8},
    {"speech before any word placed shows the first", {{0, -1, true}, {0.4, -1, true}}, 0},
};

TEST(VoicePace, KeepsThePlaceMovingThroughMisheardSpeech)
{
    for (const PaceCase& c : kPaceCases) {
        SCOPED_TRACE(c.rule);
        std::vector<double> moments;
        for (int word = 0; word < 80; ++word)
            moments.push_back(word / c.wordsALine + (word % c.wordsALine + 0.5) / c.wordsALine +
                              (c.blankLineBefore >= 0 && word >= c.blankLineBefore));
        VoicePace pace(moments);
        int shown = -1;
        for (const Step& step : c.steps)
            shown = pace.Shown(step.placed, step.speaking, step.seconds);
        EXPECT_EQ(shown, c.shown);
    }
}
} // namespace
