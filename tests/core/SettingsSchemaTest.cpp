#include "Ini.h"
#include "SettingsStore.h"
#include "TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace
{
class SettingsSchema : public TempDirTest
{
  protected:
    void SetUp() override { ini.SetPathName(QFile::encodeName(PathOf("vellor.ini")).constData()); }

    Settings Loaded() const
    {
        Settings settings;
        LoadSettings(ini, settings, QString());
        return settings;
    }

    CIni ini;
};

// A [Settings] section as a save writes it whole.
const QByteArray kSettingsSection =
    "[Settings]\r\nMRF=\r\nCRBack=0\r\nCRText=0\r\nScrollSpeed=80\r\n"
    "CPUSpeed=2\r\nUseMouse=0\r\nRightReading=0\r\nFontName=Arial Black\r\n"
    "FontSize=240\r\n";
} // namespace

TEST_F(SettingsSchema, ReadsTheCueFromItsOwnSectionAndFallsBackOnBrokenValues)
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
        const ReadingCue cue = Loaded().readingCue;
        EXPECT_EQ(cue.shown, c.shown);
        EXPECT_EQ(cue.heightPercent, c.height);
    }
}

TEST_F(SettingsSchema, AnUnchangedCueWritesNothingAndAChangedOneItsSection)
{
    const QByteArray settings = kSettingsSection;
    WriteBytes("vellor.ini", settings);
    Settings loaded = Loaded();
    SaveSettings(ini, loaded);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings);
    loaded.readingCue = ReadingCue{true, 40};
    SaveSettings(ini, loaded);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings + "[Prompter]\r\nReadingCue=1\r\nCueHeight=40\r\n");
    const ReadingCue again = Loaded().readingCue;
    EXPECT_TRUE(again.shown);
    EXPECT_EQ(again.heightPercent, 40);
}

TEST_F(SettingsSchema, ThePreviewIsOffUnlessChosenAndIsWrittenOnlyWhenItChanged)
{
    const QByteArray settings = kSettingsSection;
    for (const char* broken :
         {"", "[Prompter]\r\nPreview=yes\r\n", "[Settings]\r\nPreview=1\r\n"}) {
        WriteBytes("vellor.ini", broken);
        EXPECT_FALSE(Loaded().showPreview) << broken;
    }
    WriteBytes("vellor.ini", settings);
    Settings chosen = Loaded();
    SaveSettings(ini, chosen);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings);
    chosen.showPreview = true;
    SaveSettings(ini, chosen);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings + "[Prompter]\r\nPreview=1\r\n");
    EXPECT_TRUE(Loaded().showPreview);
    chosen.showPreview = false;
    SaveSettings(ini, chosen);
    EXPECT_FALSE(Loaded().showPreview);
}

TEST_F(SettingsSchema, EachKindOfKeyReadsABrokenValueByItsRule)
{
    using Of = std::int64_t (*)(const Settings&, const RemoteSettings&);
    const Of speed = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.m_nScrollSpeed;
    };
    const Of size = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.m_nFontSize;
    };
    const Of text = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.m_crText;
    };
    const Of back = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.m_crBack;
    };
    const Of mouse = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.m_bUseMouse;
    };
    const Of preview = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.showPreview;
    };
    const Of live = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.liveEdit;
    };
    const Of height = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.readingCue.heightPercent;
    };
    const Of margin = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.glass.marginPercent;
    };
    const Of countdown = [](const Settings& s, const RemoteSettings&) -> std::int64_t {
        return s.glass.countdownSeconds;
    };
    const Of port = [](const Settings&, const RemoteSettings& r) -> std::int64_t { return r.port; };
    const struct {
        const char* file;
        Of value;
        std::int64_t reads;
    } cases[] = {
        // A number is kept however far out of range; no number reads as 0, empty as the default.
        {"[Settings]\nScrollSpeed=40000", speed, 40000},
        {"[Settings]\nFontSize=big", size, 0},
        {"[Settings]\nCRText=-1", text, 0xFFFFFFFF},
        {"[Settings]\nCRBack=", back, 16777215},
        // A flag is set above zero only.
        {"[Settings]\nUseMouse=7", mouse, 1},
        {"[Settings]\nUseMouse=-2", mouse, 0},
        {"[Prompter]\nPreview=yes", preview, 0},
        {"[Prompter]\nLiveEdit=2", live, 1},
        {"[Prompter]\nLiveEdit=on", live, 0},
        {"[Settings]\nLiveEdit=1", live, 0},
        // A height goes to the nearer end; no number is the default.
        {"[Prompter]\nCueHeight=-40", height, 5},
        {"[Prompter]\nCueHeight=99999999999", height, 95},
        {"[Prompter]\nCueHeight=a third", height, 33},
        {"[Prompter]\nMargin=30", margin, 25},
        {"[Prompter]\nMargin=wide", margin, 0},
        {"[Prompter]\nCountdown=-3", countdown, 0},
        {"[Prompter]\nCountdown=5", countdown, 5},
        // A port out of range is the default.
        {"[Remote]\nPort=0", port, 8787},
        {"[Remote]\nPort=65536", port, 8787},
        {"[Remote]\nPort=65535", port, 65535},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        WriteBytes("vellor.ini", c.file);
        EXPECT_EQ(c.value(Loaded(), LoadRemoteSettings(ini)), c.reads);
    }
}

TEST_F(SettingsSchema, AnEndTimeIsATimeOfDayOrEmptyAndIsWrittenOnlyWhenItChanged)
{
    const struct {
        const char* file;
        const char* reads;
    } cases[] = {
        {"", ""},
        {"[Prompter]\r\nEndAt=14:32:05\r\n", "14:32:05"},
        {"[Prompter]\r\nEndAt= 9:05:00 \r\n", "09:05:00"},
        {"[Prompter]\r\nEndAt=soon\r\n", ""},
        {"[Settings]\r\nEndAt=14:32:05\r\n", ""},
    };
    for (const auto& c : cases) {
        WriteBytes("vellor.ini", c.file);
        EXPECT_EQ(Loaded().endAt, QString::fromLatin1(c.reads)) << c.file;
    }
    const QByteArray settings = kSettingsSection;
    WriteBytes("vellor.ini", settings);
    Settings chosen = Loaded();
    SaveSettings(ini, chosen);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings);
    chosen.endAt = QStringLiteral("18:59:30");
    SaveSettings(ini, chosen);
    EXPECT_EQ(ReadBytes("vellor.ini"), settings + "[Prompter]\r\nEndAt=18:59:30\r\n");
    EXPECT_EQ(Loaded().endAt, QStringLiteral("18:59:30"));
}

TEST_F(SettingsSchema, ReadsEachScreensChoiceByNameAndABrokenOneAsOff)
{
    struct Case {
        const char* text;
        OutputChoices expected;
    };
    const Case cases[] = {
        {"", {}},
        {"[Outputs]\r\nDUMMY1=2\r\nHDMI-1 = 1 \r\nVGA-1=0\r\n",
         {{"DUMMY1", OutputChoice::Reversed},
          {"HDMI-1", OutputChoice::Forward},
          {"VGA-1", OutputChoice::Off}}},
        {"[Outputs]\r\nA=3\r\nB=-1\r\nC=x\r\nD=\r\nE=1\r\ne=2\r\n",
         {{"A", OutputChoice::Off},
          {"B", OutputChoice::Off},
          {"C", OutputChoice::Off},
          {"D", OutputChoice::Off},
          {"E", OutputChoice::Forward}}},
        {"[Settings]\r\nDUMMY1=2\r\n[outputs]\r\nDUMMY2=1\r\n[Outputs]\r\nDUMMY3=1\r\n",
         {{"DUMMY2", OutputChoice::Forward}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteBytes("vellor.ini", c.text);
        EXPECT_EQ(Loaded().outputs, c.expected);
    }
}

TEST_F(SettingsSchema, WritesOnlyTheChoicesThatChangedAndLeavesSettingsAsTheyWere)
{
    const QByteArray file = kSettingsSection + "[Outputs]\r\nDUMMY1=2\r\nOLD=x\r\n";
    WriteBytes("vellor.ini", file);
    Settings settings = Loaded();
    SaveSettings(ini, settings);
    EXPECT_EQ(ReadBytes("vellor.ini"), file); // a broken value stays until its screen changes
    SetChoice(settings.outputs, "dummy1", OutputChoice::Forward);
    SetChoice(settings.outputs, "NEW", OutputChoice::Off);
    SetChoice(settings.outputs, "DUMMY2", OutputChoice::Reversed);
    SaveSettings(ini, settings);
    EXPECT_EQ(ReadBytes("vellor.ini"),
              kSettingsSection + "[Outputs]\r\nDUMMY1=1\r\nOLD=x\r\nDUMMY2=2\r\n");
    EXPECT_EQ(ChoiceFor(Loaded().outputs, "DUMMY2"), OutputChoice::Reversed);
}
