#include "VoicePlacement.h"
#include "ScriptWords.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace
{
// Over two hundred words, so that its end lies beyond the reach of a place
// held near its start.
constexpr char kScript[] =
    "Good evening and welcome to the harbour report.\r\n"
    "The fishing fleet returned early this morning after a storm passed to the north.\r\n"
    "Captains said the waves reached six metres before dawn.\r\n"
    "\r\n"
    "In the town council the new bridge plan was approved by a narrow vote.\r\n"
    "Work begins in the spring and should last two years.\r\n"
    "Traders worry that the old road will close while it is built.\r\n"
    "\r\n"
    "The school choir won the regional contest for the third time running.\r\n"
    "Parents filled the hall and the singers were cheered long after the final song.\r\n"
    "\r\n"
    "Weather now, and a cold front brings rain to the valleys tonight.\r\n"
    "Tomorrow stays grey with light winds from the west and showers in the hills.\r\n"
    "By the weekend the sun returns and temperatures climb towards the seasonal average.\r\n"
    "\r\n"
    "In sport the rowing club celebrated a double victory on the river.\r\n"
    "Their youngest crew beat rivals from three counties in a tight finish.\r\n"
    "The coach praised a season of early starts and patient training.\r\n"
    "\r\n"
    "At the museum a display of ship models opens to visitors on Saturday.\r\n"
    "Some of the models are older than the harbour wall itself.\r\n"
    "Volunteers spent a year cleaning masts, sails and tiny brass fittings.\r\n"
    "\r\n"
    "Finally a lost parrot was found safe in the bakery on market street.\r\n"
    "It had learned to ask for bread in a very polite voice.\r\n"
    "Its owner thanked the bakers and promised to keep the window shut.\r\n"
    "\r\n"
    "That is all from the harbour report, thank you for listening and good night.\r\n";

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The index of the last word of phrase, first found from the script's start.
int EndOf(const std::vector<std::string>& script, const std::string& phrase)
{
    const std::vector<std::string> words = Words(phrase);
    for (std::size_t at = 0; at + words.size() <= script.size(); ++at)
        if (std::equal(words.begin(), words.end(), script.begin() + at))
            return static_cast<int>(at + words.size()) - 1;
    ADD_FAILURE() << "not in the script: " << phrase;
    return -2;
}

struct Heard {
    int utterance;
    std::string words;
    double seconds;
};

struct PlacementCase {
    const char* rule;
    std::vector<Heard> heard; // in order; "@ phrase" places the run before the phrase
    const char* endsAt;       // the phrase the place ends on; empty: before the script
    bool lost = false;
};

const PlacementCase kPlacementCases[] = {
    {"follows a reading as its words come",
     {{0, "good", 0.4}, {0, "good evening and", 0.8}, {0, "good evening and welcome to the", 1.5}},
     "good evening and welcome to the"},
    {"a hypothesis that shrinks moves nothing",
     {{0, "good evening and welcome to", 1.2}, {0, "good evening and", 1.4}},
     "good evening and welcome to"},
    {"a last word the recogniser revises counts as new",
     {{0, "traders worry that the old road will close while it is bill", 2.0},
      {0, "traders worry that the old road will close while it is built", 2.2}},
     "traders worry that the old road will close while it is built"},
    {"a misheard word that went a word too far is taken back with it",
     {{0, "traders worry that the old road will close while it is", 1.8},
      {0, "traders worry that the old road will close while it is the", 2.0},
      {0, "traders worry that the old road will close while it is built", 2.2}},
     "traders worry that the old road will close while it is built"},
    {"one word far ahead is no evidence",
     {{0, "good evening and", 0.8}, {0, "good evening and bakery", 1.1}},
     "good evening and"},
    {"speech off the script holds the place",
     {{0, "good evening and welcome", 1.0}, {1, "sorry let me start", 3.0}},
     "good evening and welcome"},
    {"a skipped sentence is followed once its words agree",
     {{0, "good evening and welcome to the harbour report", 2.5},
      {1, "captains said the waves", 4.0},
      {1, "captains said the waves reached six", 4.5}},
     "captains said the waves reached six"},
    {"words matched before a guess far ahead are no evidence for it",
     {{0, "in the town council the new bridge plan was approved", 3.0},
      {0, "in the town council the new bridge plan was approved on it fed spring", 3.3}},
     "in the town council the new bridge plan was approved"},
    {"after a few misheard words one new match catches up",
     {{0, "@ work begins in the spring", 0},
      {1, "zebra", 1.0},
      {1, "zebra rocket", 1.2},
      {1, "zebra rocket candle", 1.4},
      {1, "zebra rocket candle mirror", 1.6},
      {1, "zebra rocket candle mirror spring", 1.8}},
     "work begins in the spring"},
    {"after many misheard words one match far ahead is no evidence",
     {{0, "@ work begins in the spring", 0},
      {1, "zebra rocket candle mirror violin", 1.0},
      {1, "zebra rocket candle mirror violin banana pizza orange purple hello years", 3.0}},
     "was approved by a narrow vote"},
    {"common words far ahead count only beside as many uncommon ones",
     {{0, "weather now and a cold front brings rain to the", 3.0},
      {1, "and in the hills the sun", 4.0}},
     "weather now and a cold front brings rain to the"},
    {"a skipped paragraph is followed on more evidence",
     {{0, "good evening and welcome to the harbour report", 2.5},
      {1, "the school choir won the regional contest", 5.0}},
     "the school choir won the regional contest"},
    {"a skipped sentence takes a word more than noise heard as a phrase",
     {{0, "good evening and welcome to the harbour report", 2.5},
      {1, "waves reached six metres", 5.0}},
     "good evening and welcome to the harbour report"},
    {"a repeated sentence goes back on several new words",
     {{0, "good evening and welcome to the harbour report the fishing fleet returned early", 4.0},
      {1, "good evening and welcome", 5.5}},
     "good evening and welcome"},
    {"a repeat heard word by word goes back once its words add up",
     {{0, "good evening and welcome to the harbour report the fishing fleet returned early", 4.0},
      {1, "good", 4.5},
      {1, "good evening", 4.8},
      {1, "good evening and", 5.1},
      {1, "good evening and welcome", 5.5}},
     "good evening and welcome"},
    {"a guessed last word does not take the place back",
     {{0, "good evening and welcome to the harbour report the fishing fleet returned early", 4.0},
      {1, "good evening and", 5.5}},
     "good evening and welcome to the harbour report the fishing fleet returned early"},
    {"three new words do not take the place back beyond a sentence",
     {{0, "@ in sport the rowing club", 0},
      {0,
       "in sport the rowing club celebrated a double victory on the river their youngest crew "
       "beat rivals from three counties in a tight finish the coach praised a season of early "
       "starts and patient training",
       8.0},
      {1, "the rowing club celebrated", 9.5}},
     "the coach praised a season of early starts and patient training"},
    {"three new words, two of them common, do not take the place back",
     {{0, "@ work begins in the spring", 0}, {1, "in the town council", 3.0}},
     "was approved by a narrow vote"},
    {"a repeated word or two does not go back",
     {{0, "in the town council the new bridge plan was approved by", 3.0}, {1, "approved by", 4.0}},
     "in the town council the new bridge plan was approved by"},
    {"an unplaced stretch of seconds is lost",
     {{0, "good evening and", 0.8},
      {1, "please", 2.0},
      {1, "please wait", 3.0},
      {1, "please wait while", 4.5},
      {1, "please wait while we", 6.2},
      {1, "please wait while we fix", 6.5}},
     "good evening and",
     true},
    {"lost, it finds the voice anywhere in the script",
     {{0, "good evening and", 0.8},
      {1, "please", 2.0},
      {1, "please wait while we fix", 6.5},
      {2, "it had learned to ask for bread", 9.0}},
     "it had learned to ask for bread"},
    {"lost, a few common words heard by chance do not place it",
     {{0, "good evening and", 0.8},
      {1, "please", 2.0},
      {1, "please wait while we fix", 6.5},
      {2, "found safe in the", 9.0}},
     "good evening and",
     true},
    {"lost, four words matched by chance far away do not place it",
     {{0, "good evening and", 0.8},
      {1, "please", 2.0},
      {1, "please wait while we fix", 6.5},
      {2, "rowing club celebrated a double", 9.0}},
     "good evening and",
     true},
    {"lost, a few words ahead within a brisk reader's reach find it",
     {{0, "good evening and", 0.8},
      {1, "please", 2.0},
      {1, "please wait while we fix", 6.5},
      {2, "fleet returned early", 9.0}},
     "the fishing fleet returned early"},
    {"lost, as few words beyond a brisk reader's reach do not place it",
     {{0, "good evening and", 0.8},
      {1, "please", 2.0},
      {1, "please wait while we fix", 6.5},
      {2, "rowing club celebrated", 9.0}},
     "good evening and",
     true},
    {"a revised first word takes the place back only as far as new words could",
     {{0, "good evening and", 0.8},
      {1, "please", 2.0},
      {1, "please wait while we fix", 6.5},
      {2, "the school choir won the regional contest", 9.0},
      {2, "so then it was off to the", 9.5}},
     "the school choir won the regional contest"},
    {"after somebody moves the run it goes on from there",
     {{0, "good evening and welcome", 1.0},
      {0, "@ in sport the rowing club", 0},
      {1, "in sport the rowing", 3.0}},
     "in sport the rowing"},
};

TEST(VoicePlacement, KeepsItsRulesOnRecordedWordSequences)
{
    std::vector<std::string> script;
    for (ScriptWord& word : ScriptWordsOf(kScript))
        script.push_back(std::move(word.text));
    for (const PlacementCase& c : kPlacementCases) {
        SCOPED_TRACE(c.rule);
        VoicePlacement placement(script);
        for (const Heard& heard : c.heard) {
            if (heard.words.starts_with("@ "))
                placement.PlaceBefore(EndOf(script, heard.words.substr(2)) -
                                      static_cast<int>(Words(heard.words).size()) + 2);
            else
                placement.Hear({heard.utterance, Words(heard.words), heard.seconds});
        }
        EXPECT_EQ(placement.Placed(), EndOf(script, c.endsAt));
        EXPECT_EQ(placement.Lost(), c.lost);
    }
}

struct SpokenCase {
    const char* text;
    const char* spoken;
};

const SpokenCase kSpokenCases[] = {
    {"Mr. Smith's well-known café", "mister smith's well known café"},
    {"In 1984, 2,500 people (or 12.5%) came", "in nineteen eighty four two thousand five hundred "
                                              "people or twelve point five percent came"},
    {"\"Don't\" -- stop & go", "don't stop and go"},
    {"Dr Jones", "doctor jones"},
};

TEST(ScriptWords, SpellsOutWhatTheReaderSays)
{
    for (const SpokenCase& c : kSpokenCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SpokenWords(c.text), Words(c.spoken));
    }
}

TEST(ScriptWords, KeepTheLinesTheyStandOn)
{
    const std::vector<ScriptWord> words = ScriptWordsOf("One two\r\n\r\nthree\r\n");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1].line, 0);
    EXPECT_EQ(words[2].line, 2);
}
} // namespace
