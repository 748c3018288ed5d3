#include "VoiceReadings.h"

#include <gtest/gtest.h>

namespace
{
const std::vector<std::string> kLines = {"Good evening and welcome", "to the harbour report."};

Reading Read(const Reader& reader)
{
    ReadingPlan plan = WholeScript(static_cast<int>(kLines.size()));
    return Synthesize(reader, kLines, plan);
}
} // namespace

// espeak-ng keeps its pitch flutter, and a breathy voice's noise, going from
// one synthesis to the next; the benchmark's figures need the same audio.
TEST(VoiceReadings, AReadingIsTheSameWhateverWasReadBefore)
{
    const Reader breathy{Reader::Engine::Espeak, "en-us+f3", 150};
    const Reading first = Read(breathy);
    if (!first.problem.isEmpty())
        GTEST_SKIP() << first.problem.toStdString();
    Read({Reader::Engine::Espeak, "en-us", 220});
    const Reading again = Read(breathy);
    EXPECT_EQ(first.samples, again.samples);
    ASSERT_EQ(first.words.size(), again.words.size());
    for (std::size_t k = 0; k < first.words.size(); ++k)
        EXPECT_EQ(first.words[k].end, again.words[k].end) << k;
}
