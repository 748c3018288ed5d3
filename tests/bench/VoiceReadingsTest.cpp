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

// Words off the script are heard but never scored as the script's.
TEST(VoiceReadings, AnAsideAddsSoundButNoScriptWords)
{
    ReadingPlan plan = ReadingWithAside(static_cast<int>(kLines.size()));
    const Reading reading = Synthesize({Reader::Engine::Espeak, "en-us", 185}, kLines, plan);
    const Reading plain = Read({Reader::Engine::Espeak, "en-us", 185});
    ASSERT_TRUE(reading.problem.isEmpty()) << reading.problem.toStdString();
    EXPECT_EQ(reading.words.size(), plain.words.size());
    EXPECT_GT(reading.samples.size(), plain.samples.size() + 5 * 16000);
}

// A recorded reading's words are numbered where the reader most likely was:
// on from the last word, and back only for a repeat.
TEST(VoiceReadings, ATimingFilesWordsAreNumberedOnFromTheLastOne)
{
    const std::vector<ScriptWord> script =
        ScriptWordsOf("The cat sat on the mat, the dog sat too.");
    std::istringstream timing;
    std::string lines;
    const char* read[] = {"The", "cat", "sat", "on", "the", "mat,", "the", "dog", "the", "mat"};
    for (int k = 0; k < 10; ++k)
        lines += std::to_string(k) + ' ' + std::to_string(k + 1) + ' ' + read[k] + '\n';
    timing.str(lines);
    std::vector<int> numbered;
    for (const SpokenWord& word : TimedWords(timing, script))
        numbered.push_back(word.scriptWord);
    EXPECT_EQ(numbered, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 6, 5}));
}
