#include "PrivateProfileText.h"

#include <gtest/gtest.h>

using PrivateProfile::CanStore;
using PrivateProfile::FindValue;
using PrivateProfile::WithValue;

TEST(ProfileRead, ComparesNamesWithoutCaseAndIgnoresBlanks)
{
    const std::string text = "  [ settings ]  \n\t fontNAME \t=  Arial Black \t\nOther=1\n";
    EXPECT_EQ(FindValue(text, "Settings", "FontName"), "Arial Black");
    EXPECT_EQ(FindValue(text, "SETTINGS", " other "), "1");
}

TEST(ProfileRead, RemovesOnePairOfSurroundingQuotes)
{
    const std::string text = "[S]\nA=\"x y \"\nB='q'\nC=\"\"two\"\"\nD=\"open\nE=\"mixed'\nF=\"\n";
    EXPECT_EQ(FindValue(text, "S", "A"), "x y ");
    EXPECT_EQ(FindValue(text, "S", "B"), "q");
    EXPECT_EQ(FindValue(text, "S", "C"), "\"two\"");
    EXPECT_EQ(FindValue(text, "S", "D"), "\"open");
    EXPECT_EQ(FindValue(text, "S", "E"), "\"mixed'");
    EXPECT_EQ(FindValue(text, "S", "F"), "\"");
}

TEST(ProfileRead, TellsAnEmptyValueFromAMissingOne)
{
    const std::string text = "[S]\nEmpty=\nBlank=   \n";
    EXPECT_EQ(FindValue(text, "S", "Empty"), "");
    EXPECT_EQ(FindValue(text, "S", "Blank"), "");
    EXPECT_EQ(FindValue(text, "S", "Missing"), std::nullopt);
    EXPECT_EQ(FindValue(text, "T", "Empty"), std::nullopt);
    EXPECT_EQ(FindValue("", "S", "Empty"), std::nullopt);
}

TEST(ProfileRead, SkipsCommentsOtherSectionsAndLinesBeforeTheFirstSection)
{
    const std::string text = "Name=outside\n[Other]\nName=other\n[S]\n; Name=comment\n"
                             "garbage line\nName = inside = yes\n";
    EXPECT_EQ(FindValue(text, "S", "Name"), "inside = yes");
    EXPECT_EQ(FindValue(text, "Other", "Name"), "other");
}

TEST(ProfileText, ReadsAndWritesTheFirstOfRepeatedNamesInTheFirstOfRepeatedSections)
{
    const std::string text = "[S]\nA=1\nA=2\n[T]\n[s]\nA=3\nB=4\n";
    EXPECT_EQ(FindValue(text, "S", "A"), "1");
    EXPECT_EQ(FindValue(text, "S", "B"), std::nullopt);
    EXPECT_EQ(WithValue(text, "S", "B", "5"), "[S]\nA=1\nA=2\nB=5\n[T]\n[s]\nA=3\nB=4\n");
    EXPECT_EQ(WithValue(text, "S", "A", "6"), "[S]\nA=6\nA=2\n[T]\n[s]\nA=3\nB=4\n");
}

TEST(ProfileText, ReadsBehindAByteOrderMarkAndKeepsIt)
{
    const std::string mark = "\xEF\xBB\xBF";
    const std::string text = mark + "[Settings]\r\nA=1\r\n";
    EXPECT_EQ(FindValue(text, "Settings", "A"), "1");
    EXPECT_EQ(WithValue(text, "Settings", "B", "2"), text + "B=2\r\n");
    EXPECT_EQ(WithValue(mark, "Settings", "A", "1"), mark + "[Settings]\r\nA=1\r\n");
}

TEST(ProfileRead, EndsLinesAtLfOrCrLfButNotAtALoneCr)
{
    EXPECT_EQ(FindValue("[S]\r\nA=1\r\nB=2", "S", "B"), "2");
    EXPECT_EQ(FindValue("[S]\r\nA=1\r\n", "S", "A"), "1");
    EXPECT_EQ(FindValue("[S]\nA=1\rB=2\n", "S", "A"), "1\rB=2");
}

TEST(ProfileWrite, ReplacesAnExistingValueInItsOwnLineKeepingTheRest)
{
    const std::string text = "; my settings\r\n[Settings]\r\n  fontname =  Old Face  \r\n"
                             "Unknown=keep\r\n\r\n[Other]\r\nFontName=untouched\r\n";
    EXPECT_EQ(WithValue(text, "Settings", "FontName", "New"),
              "; my settings\r\n[Settings]\r\n  fontname =  New  \r\n"
              "Unknown=keep\r\n\r\n[Other]\r\nFontName=untouched\r\n");
}

TEST(ProfileWrite, FillsAnEmptyValueAfterItsBlanks)
{
    EXPECT_EQ(WithValue("[S]\nA=\nB = \n", "S", "A", "1"), "[S]\nA=1\nB = \n");
    EXPECT_EQ(WithValue("[S]\nA=\nB = \n", "S", "B", "2"), "[S]\nA=\nB = 2\n");
}

TEST(ProfileWrite, AppendsANewValueAfterTheLastEntryOfItsSection)
{
    const std::string text = "[S]\nA=1\n\n; about T\n[T]\nA=2\n";
    EXPECT_EQ(WithValue(text, "s", "B", "3"), "[S]\nA=1\nB=3\n\n; about T\n[T]\nA=2\n");
    EXPECT_EQ(WithValue("[S]\r\n\r\n[T]\r\n", "S", "B", "3"), "[S]\r\nB=3\r\n\r\n[T]\r\n");
}

TEST(ProfileWrite, EndsAnUnfinishedLastLineBeforeAppending)
{
    EXPECT_EQ(WithValue("[S]\r\nA=1", "S", "B", "2"), "[S]\r\nA=1\r\nB=2\r\n");
    EXPECT_EQ(WithValue("[S]\nA=1\r", "S", "B", "2"), "[S]\nA=1\r\nB=2\n");
    EXPECT_EQ(WithValue("[T]\nA=1", "S", "B", "2"), "[T]\nA=1\n[S]\nB=2\n");
}

TEST(ProfileWrite, AppendsANewSectionWithTheFilesLineBreaks)
{
    EXPECT_EQ(WithValue("[T]\r\nA=1\r\n", "S", "B", "2"), "[T]\r\nA=1\r\n[S]\r\nB=2\r\n");
    // A text without a line break of its own gets CR LF.
    EXPECT_EQ(WithValue("", " S ", " B ", "2"), "[S]\r\nB=2\r\n");
    EXPECT_EQ(WithValue("[S]", "S", "B", "2"), "[S]\r\nB=2\r\n");
}

TEST(ProfileWrite, QuotesAValueThatWouldNotReadBackAsWritten)
{
    for (const std::string value : {" lead", "trail\t", "\"q\"", "'q'", "\"\"", " "}) {
        const std::string text = WithValue("[S]\nA=old\n", "S", "A", value);
        EXPECT_EQ(text, "[S]\nA=\"" + value + "\"\n");
        EXPECT_EQ(FindValue(text, "S", "A"), value);
    }
    EXPECT_EQ(WithValue("[S]\n", "S", "A", "in side"), "[S]\nA=in side\n");
    EXPECT_EQ(WithValue("[S]\n", "S", "A", "\"half"), "[S]\nA=\"half\n");
}

TEST(ProfileWrite, RefusesWhatCannotBeOneLine)
{
    EXPECT_TRUE(CanStore("Settings", "MRF", "C:\\a b\\c.txt"));
    EXPECT_TRUE(CanStore("Settings", "Name", ""));
    EXPECT_FALSE(CanStore("Settings", "MRF", "a\nB=1"));
    EXPECT_FALSE(CanStore("Settings", "MRF", "a\rb"));
    EXPECT_FALSE(CanStore("Settings", "MRF", std::string_view("a\0b", 3)));
    EXPECT_FALSE(CanStore("Set\ntings", "MRF", "a"));
    EXPECT_FALSE(CanStore("Set]tings", "MRF", "a"));
    EXPECT_FALSE(CanStore("Settings", "A=B", "a"));
    EXPECT_FALSE(CanStore("Settings", "  ", "a"));
    EXPECT_FALSE(CanStore("Settings", "[A]", "a"));
    EXPECT_FALSE(CanStore("Settings", " ;A", "a"));
}
