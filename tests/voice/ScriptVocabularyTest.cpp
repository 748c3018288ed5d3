#include "ScriptVocabulary.h"
#include "Recogniser.h"

#include <gtest/gtest.h>

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

TEST(ScriptVocabulary, TheTrigramModelHoldsEveryPhraseOfTheScript)
{
    const std::string arpa = ScriptLanguageModel({"the", "old", "road", "the", "old", "mill"});
    EXPECT_NE(arpa.find("ngram 1=6\nngram 2=4\nngram 3=4\n"), std::string::npos) << arpa;
    // "the old" is followed by road and mill alike.
    EXPECT_NE(arpa.find("-0.3979 the old road\n"), std::string::npos) << arpa;
    EXPECT_NE(arpa.find("-0.3979 the old mill\n"), std::string::npos) << arpa;
}
