#include "VoiceReadings.h"

#include "ScriptWords.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{
const std::vector<std::string> kLines = {"Good evening and welcome", "to the harbour report."};

Reading Read(const Reader& reader)
{
    ReadingPlan plan = WholeScript(static_cast<int>(kLines.size()));
    return Synthesize(reader, kLines, plan);
}
} // namespace

// The benchmark's figures need the same audio every time. espeak-ng keeps
// its pitch flutter, and a breathy voice's noise, going from one synthesis
// to the next; festival's readings pass through sox, which dithers.
TEST(VoiceReadings, AReadingIsTheSameWhateverWasReadBefore)
{
    const Reader readers[] = {{Reader::Engine::Espeak, "en-us+f3", 150},
                              {Reader::Engine::Festival, ""}};
    for (const Reader& reader : readers) {
        const Reading first = Read(reader);
        if (!first.problem.isEmpty())
            continue; // that voice is not installed
        Read({Reader::Engine::Espeak, "en-us", 220});
        const Reading again = Read(reader);
        EXPECT_EQ(first.samples, again.samples) << reader.voice;
        ASSERT_EQ(first.words.size(), again.words.size());
        for (std::size_t k = 0; k < first.words.size(); ++k)
            EXPECT_EQ(first.words[k].end, again.words[k].end) << k;
    }
}

// Words off the script are heard but never scored as the script's; a
// recorded reading's words are numbered on from the last word, and back
// only for a repeat.
TEST(VoiceReadings, WordsAreNumberedInTheScriptAsTheyWereRead)
{
    ReadingPlan plan = ReadingWithAside(static_cast<int>(kLines.size()));
    const Reading aside = Synthesize({Reader::Engine::Espeak, "en-us", 185}, kLines, plan);
    const Reading plain = Read({Reader::Engine::Espeak, "en-us", 185});
    EXPECT_EQ(aside.words.size(), plain.words.size());
    EXPECT_GT(aside.samples.size(), plain.samples.size() + 5 * 16000);

    std::istringstream timing("0 1 The\n1 2 cat\n2 3 sat\n3 4 on\n4 5 the\n5 6 mat,\n6 7 the\n"
                              "7 8 dog\n8 9 the\n9 10 mat\n");
    std::vector<int> numbered;
    for (const SpokenWord& word :
         TimedWords(timing, ScriptWordsOf("The cat sat on the mat, the dog sat too.")))
        numbered.push_back(word.scriptWord);
    EXPECT_EQ(numbered, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 6, 5}));
}
