#include "ScriptVocabulary.h"
#include "AudioSource.h"
#include "Recogniser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

// espeak-ng once hung when its phonemes were asked for in a second run.
TEST(ScriptVocabulary, WordsTheModelLacksArePronouncedRunAfterRun)
{
    const std::string dictionary = std::string(kVoiceModelFolder) + "/cmudict-en-us.dict";
    for (int run = 0; run < 3; ++run) {
        const std::string lines = ScriptDictionary({"harbour", "vellor"}, dictionary);
        EXPECT_NE(lines.find("vellor V EH L ER\n"), std::string::npos) << lines;
        EXPECT_NE(lines.find("harbour HH AA R B ER\n"), std::string::npos) << lines;
    }
}

// A word the decoder cannot pronounce would stop the grammar from loading.
TEST(ScriptVocabulary, TheGrammarSaysTheScriptInOrderWithAWordLeftOut)
{
    const std::string fsg = ScriptGrammar({"the", "old", "xx", "road"}, {"the", "old", "road"});
    // States 4 to 8 stand before each word and after the last.
    EXPECT_NE(fsg.find("N 9\n"), std::string::npos) << fsg;
    EXPECT_NE(fsg.find("T 4 5 0.85 the\n"), std::string::npos) << fsg;
    EXPECT_NE(fsg.find("T 4 6 0.02 old\n"), std::string::npos) << fsg;
    // A word without pronunciation is passed over, never said.
    EXPECT_NE(fsg.find("T 6 7 1\n"), std::string::npos) << fsg;
    EXPECT_EQ(fsg.find(" xx\n"), std::string::npos) << fsg;
    // Speech off the script may go back to it within an utterance.
    EXPECT_NE(fsg.find("T 3 2 0.01\n"), std::string::npos) << fsg;
}

// Listening for a stretch of the script, speech off the script should still
// fit the loop better than the stretch's phrases.
TEST(ScriptVocabulary, TheLoopOffAStretchKeepsTheRestOfTheScriptsWords)
{
    const std::string fsg = ScriptGrammar({"old", "road"}, {"the", "old", "road"});
    EXPECT_NE(fsg.find("T 3 3 0.415625 old\n"), std::string::npos) << fsg;
    EXPECT_NE(fsg.find("T 3 3 0.04375 the\n"), std::string::npos) << fsg;
}

// Noise hid the pauses, and one utterance ran on for most of a reading.
TEST(Recogniser, EndsAnUtteranceThatRunsOnWithoutPause)
{
    Recogniser recogniser({"good", "evening", "and", "welcome"});
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 1);
    std::vector<std::int16_t> piece(kVoicePieceSamples);
    int endedAfter = 0;
    for (int p = 1; p <= 150 && endedAfter == 0; ++p) {
        // Loud and faint noise by turns, five times a second, never a pause.
        const double level = p % 2 ? 8000 : 300;
        for (std::int16_t& sample : piece)
            sample =
                static_cast<std::int16_t>(std::clamp(level * noise(random), -32768.0, 32767.0));
        if (recogniser.Feed(piece).ended)
            endedAfter = p;
    }
    EXPECT_GT(endedAfter, 0);
    EXPECT_LE(endedAfter, 90);
}
