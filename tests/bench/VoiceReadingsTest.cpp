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
