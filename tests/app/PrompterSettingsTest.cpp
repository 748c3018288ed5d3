#include "Ini.h"
#include "PrompterSettings.h"
#include "TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace
{
class PrompterSettings : public TempDirTest
{
  protected:
    void SetUp() override { ini.SetPathName(QFile::encodeName(PathOf("vellor.ini")).constData()); }
    CIni ini;
};
} // namespace

TEST_F(PrompterSettings, ReadsTheCueFromItsOwnSectionAndFallsBackOnBrokenValues)
{
    struct Case {
        const char* text;
        bool shown;
        int height;
    };
    const Case cases[] = {
        {"", false, 33},
        {"[Prompter]\r\nReadingCue=1\r\nCueHeight=50\r\n", true, 50},
        {"[Prompter]\r\nReadingCue=0\r\nCueHeight=2\r\n", false, 5},
        {"[Prompter]\r\nReadingCue=abc\r\nCueHeight=400\r\n", false, 95},
        {"[Prompter]\r\nReadingCue=1\r\nCueHeight=half\r\n", true, 33},
        {"[Settings]\r\nReadingCue=1\r\nCueHeight=50\r\n", false, 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteBytes("vellor.ini", c.text);
        const ReadingCue cue = LoadPrompterSettings(ini);
        EXPECT_EQ(cue.shown, c.shown);
        EXPECT_EQ(cue.heightPercent, c.height);
    }
}

TEST_F(PrompterSettings, AnUnchangedCueWritesNothingAndAChangedOneItsSection)
{
    const QByteArray settings = "[Settings]\r\nCRBack=0\r\n";
    WriteBytes("vellor.ini", settings);
    const ReadingCue loaded = LoadPrompterSettings(ini);
    SavePrompterSettings(ini, loaded, loaded);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings);
    SavePrompterSettings(ini, ReadingCue{true, 40}, loaded);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings + "[Prompter]\r\nReadingCue=1\r\nCueHeight=40\r\n");
    const ReadingCue again = LoadPrompterSettings(ini);
    EXPECT_TRUE(again.shown);
    EXPECT_EQ(again.heightPercent, 40);
}

TEST_F(PrompterSettings, ThePreviewIsOffUnlessChosenAndIsWrittenOnlyWhenItChanged)
{
    const QByteArray settings = "[Settings]\r\nCRBack=0\r\n";
    for (const char* broken : {"", "[Prompter]\r\nPreview=yes\r\n", "[Settings]\r\nPreview=1\r\n"}) {
        WriteBytes("vellor.ini", broken);
        EXPECT_FALSE(LoadPreviewChoice(ini)) << broken;
    }
    WriteBytes("vellor.ini", settings);
    SavePreviewChoice(ini, false, false);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings);
    SavePreviewChoice(ini, true, false);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings + "[Prompter]\r\nPreview=1\r\n");
    EXPECT_TRUE(LoadPreviewChoice(ini));
    SavePreviewChoice(ini, false, true);
    EXPECT_FALSE(LoadPreviewChoice(ini));
}
