#include "SettingsStore.h"

#include "ImmutableFlag.h"
#include "Ini.h"
#include "SettingsEquality.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

namespace
{

const QString kDefaultScript = QStringLiteral("/tools/prompter.txt");

class SettingsFile : public TempDirTest
{
  protected:
    SettingsFile() { m_ini.SetPathName(QFile::encodeName(PathOf("prompter.ini")).constData()); }

    Settings Loaded() const
    {
        Settings settings;
        LoadSettings(m_ini, settings, kDefaultScript);
        return settings;
    }

    Settings LoadedFrom(const QByteArray& text)
    {
        WriteBytes("prompter.ini", text);
        return Loaded();
    }

    // Saves the loaded settings with a changed speed and font.
    void SaveChanged()
    {
        Settings settings = Loaded();
        settings.m_nScrollSpeed = 500;
        settings.m_strFontName = "Courier";
        SaveSettings(m_ini, settings);
    }

    CIni m_ini;
};

const QByteArray kFirstRunFile = "[Settings]\r\n"
                                 "MRF=/tools/prompter.txt\r\n"
                                 "CRBack=16777215\r\n"
                                 "CRText=0\r\n"
                                 "ScrollSpeed=80\r\n"
                                 "CPUSpeed=2\r\n"
                                 "UseMouse=0\r\n"
                                 "RightReading=0\r\n"
                                 "FontName=Arial Black\r\n"
                                 "FontSize=240\r\n";

} // namespace

TEST_F(SettingsFile, AFirstRunReadsTheDefaultsWithoutCreatingAFileThenWritesItsTenLines)
{
    const Settings settings = Loaded();
    EXPECT_FALSE(QFile::exists(PathOf("prompter.ini")));
    EXPECT_TRUE(LoadedFrom("[Other]\nCRBack=5\nFontSize=100\n") == settings); // other sections
    QFile::remove(PathOf("prompter.ini"));
    SaveSettings(m_ini, settings);
    EXPECT_EQ(ReadBytes("prompter.ini"), kFirstRunFile);
}

TEST_F(SettingsFile, KeepsColoursAsTheSignedDecimalOfTheir32BitsAndOtherValuesAsTheyAre)
{
    EXPECT_EQ(LoadedFrom("[Settings]\nCRBack=\nCRText=abc\n").m_crBack, 16777215u);
    EXPECT_EQ(Loaded().m_crText, 0u);
    const Settings settings = LoadedFrom("[Settings]\nCRBack=16711680\nCRText=-1\n"
                                         "ScrollSpeed=40000\nCPUSpeed=7\nFontSize=-5\n");
    EXPECT_EQ(settings.m_crBack, 0x00FF0000u);
    EXPECT_EQ(settings.m_crText, 0xFFFFFFFFu);
    EXPECT_EQ(settings.m_nScrollSpeed, 40000); // out of range, and the CPU value, kept
    EXPECT_EQ(settings.m_nCPUSpeed, 7);
    EXPECT_EQ(settings.m_nFontSize, -5);
    SaveSettings(m_ini, settings);
    const QByteArray written = ReadBytes("prompter.ini");
    for (const char* line : {"\nCRText=-1\n", "\nScrollSpeed=40000\n", "\nCPUSpeed=7\n"})
        EXPECT_TRUE(written.contains(line)) << line;
}

TEST_F(SettingsFile, TakesAFlagAsSetOnlyAboveZeroAndWritesItAsOneOrZero)
{
    for (const auto& [values, set] : {std::pair{"UseMouse=5\nRightReading=1\n", true},
                                      std::pair{"UseMouse=-1\nRightReading=-3\n", false},
                                      std::pair{"UseMouse=0\nRightReading=0\n", false}}) {
        SCOPED_TRACE(values);
        const Settings settings = LoadedFrom(QByteArray("[Settings]\n") + values);
        EXPECT_EQ(settings.m_bUseMouse, set);
        EXPECT_EQ(settings.m_bRightReading, set);
        SaveSettings(m_ini, settings);
        EXPECT_EQ(m_ini.GetString("Settings", "UseMouse", nullptr), set ? "1" : "0");
        EXPECT_EQ(m_ini.GetString("Settings", "RightReading", nullptr), set ? "1" : "0");
    }
}

TEST_F(SettingsFile, KeepsAnEmptyFontNameButGivesTheDefaultScriptForAnEmptyOrMissingMrf)
{
    EXPECT_EQ(LoadedFrom("[Settings]\nFontName=\nMRF=\n").m_strFontName, "");
    EXPECT_EQ(Loaded().m_strMRF, kDefaultScript);
    EXPECT_EQ(LoadedFrom("[Settings]\nFontSize=100\n").m_strFontName, "Arial Black");
    EXPECT_EQ(Loaded().m_strMRF, kDefaultScript);
    EXPECT_EQ(LoadedFrom("[Settings]\nMRF=/home/a/Talk one.txt\n").m_strMRF,
              "/home/a/Talk one.txt");
}

TEST_F(SettingsFile, ReadsStringsAsScriptsAreAndWritesAnUnchangedOneBackAsItsBytes)
{
    WriteBytes("caf\u00e9.txt", "script");
    const QByteArray folder = QFile::encodeName(m_dir.path());
    WriteBytes("prompter.ini", "[Settings]\r\nMRF=" + folder +
                                   "/caf\xE9.txt\r\n"
                                   "FontName=Caf\xE9 Sans\r\n");
    Settings settings = Loaded();
    EXPECT_EQ(settings.m_strMRF, PathOf("caf\u00e9.txt"));
    EXPECT_TRUE(QFile(settings.m_strMRF).open(QIODevice::ReadOnly));
    settings.m_strFontName = "Caf\u00e9 Serif";
    SaveSettings(m_ini, settings);
    const QByteArray written = ReadBytes("prompter.ini");
    EXPECT_TRUE(written.contains("\nMRF=" + folder + "/caf\xE9.txt\r\n")) << written.toStdString();
    EXPECT_TRUE(written.contains("\nFontName=Caf\xC3\xA9 Serif\r\n")) << written.toStdString();
    EXPECT_TRUE(Loaded() == settings);
}

TEST_F(SettingsFile, ReadsBehindAByteOrderMarkAndKeepsItWithOneSection)
{
    const QByteArray file = "\xEF\xBB\xBF" + kFirstRunFile;
    WriteBytes("prompter.ini", QByteArray(file).replace("CRText=0", "CRText=255"));
    Settings settings = Loaded();
    EXPECT_EQ(settings.m_crText, 255u);
    settings.m_crText = 0;
    SaveSettings(m_ini, settings);
    EXPECT_EQ(ReadBytes("prompter.ini"), file);
}

TEST_F(SettingsFile, ChangesOnlyTheNineValuesOfAHandWrittenFile)
{
    const QByteArray handWritten = "; Vellor settings, kept by hand\r\n"
                                   "[Display]\r\n"
                                   "FontSize=999\r\n"
                                   "\r\n"
                                   "[SETTINGS]   \r\n"
                                   "  crback =   255  \r\n"
                                   "; the text colour follows\r\n"
                                   "CRTEXT=65280\r\n"
                                   "Extra = kept\r\n"
                                   "fontname=\"Times New Roman\"\r\n"
                                   "usemouse\t=\t1\r\n"
                                   "\r\n"
                                   "[Later]\r\n"
                                   "MRF=elsewhere\r\n";
    WriteBytes("prompter.ini", handWritten);
    Settings settings = Loaded();
    EXPECT_EQ(settings.m_crBack, 255u);
    EXPECT_EQ(settings.m_crText, 65280u);
    EXPECT_EQ(settings.m_strFontName, "Times New Roman");
    EXPECT_TRUE(settings.m_bUseMouse);
    settings.m_crBack = 16711680;
    settings.m_bUseMouse = false;
    settings.m_strFontName = "Courier";
    SaveSettings(m_ini, settings);
    // Values the file holds are rewritten in place (the unchanged colour too); those it lacked
    // follow the section's last value.
    QByteArray expected = handWritten;
    expected.replace("crback =   255", "crback =   16711680")
        .replace("fontname=\"Times New Roman\"", "fontname=Courier")
        .replace("usemouse\t=\t1\r\n", "usemouse\t=\t0\r\n"
                                       "MRF=/tools/prompter.txt\r\nScrollSpeed=80\r\nCPUSpeed=2\r\n"
                                       "RightReading=0\r\nFontSize=240\r\n");
    EXPECT_EQ(ReadBytes("prompter.ini"), expected);
}

TEST_F(SettingsFile, GoesOnQuietlyWhenTheFileIsReadOnly)
{
    WriteBytes("prompter.ini", kFirstRunFile);
    ASSERT_TRUE(QFile::setPermissions(PathOf("prompter.ini"), QFile::ReadOwner | QFile::ReadGroup));
    SaveChanged();
    EXPECT_EQ(ReadBytes("prompter.ini"), kFirstRunFile);
}

TEST_F(SettingsFile, IsSavedInPlaceWhenTheFolderTakesNoNewFile)
{
    WriteBytes("prompter.ini", kFirstRunFile);
    const ImmutableFlag immutable(m_dir.path());
    if (!immutable.IsSet())
        GTEST_SKIP() << "the file system does not let this user mark a folder immutable";
    SaveChanged();
    EXPECT_EQ(Loaded().m_nScrollSpeed, 500);
    EXPECT_EQ(Loaded().m_strFontName, "Courier");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"prompter.ini"});
}

TEST_F(SettingsFile, GoesOnQuietlyWhenThereIsNoFolder)
{
    m_ini.SetPathName(QFile::encodeName(PathOf("gone/prompter.ini")).constData());
    const Settings settings = Loaded();
    SaveSettings(m_ini, settings);
    EXPECT_FALSE(QFile::exists(PathOf("gone/prompter.ini")));
    EXPECT_TRUE(Loaded() == settings);
}

namespace
{

// Random bytes drawn mostly from what settings files are made of, so that
// sections, names and line breaks turn up often.
QByteArray RandomProfileBytes(std::mt19937& random)
{
    static const char* const pieces[] = {
        "[Settings]", "[settings ]", "[Other]", "MRF",  "CRBack",      "UseMouse",
        "FontName",   "FontSize",    "=",       "\r\n", "\n",          "\r",
        " ",          "\t",          ";",       "\"",   "'",           "[",
        "]",          "-",           "0x",      "123",  "99999999999", "\0"};
    QByteArray bytes;
    const int count = std::uniform_int_distribution<int>(0, 60)(random);
    for (int i = 0; i < count; ++i) {
        if (random() % 3 == 0) {
            bytes.append(static_cast<char>(random() & 0xFF));
        } else {
            const char* piece = pieces[random() % std::size(pieces)];
            bytes.append(*piece == '\0' ? QByteArray(1, '\0') : QByteArray(piece));
        }
    }
    return bytes;
}

// A string of any characters a line can hold: blanks, quotes, '=', ';',
// brackets and letters beyond ASCII (two- to four-byte UTF-8) included.
QString RandomLineText(std::mt19937& random, bool allowEmpty)
{
    static const char32_t alphabet[] = {U' ', U'\t',     U'"',      U'\'',        U'=', U';',
                                        U'[', U']',      U'a',      U'Z',         U'7', U'\\',
                                        U'/', U'\u00e9', U'\u20ac', U'\U0001F600'};
    QString text;
    const int length = std::uniform_int_distribution<int>(allowEmpty ? 0 : 1, 12)(random);
    for (int i = 0; i < length; ++i) {
        const char32_t c = alphabet[random() % std::size(alphabet)];
        text += QString::fromUcs4(&c, 1);
    }
    return text;
}

Settings RandomSettings(std::mt19937& random)
{
    Settings settings;
    settings.m_strMRF = RandomLineText(random, false);
    settings.m_crBack = static_cast<ColorRef>(random());
    settings.m_crText = static_cast<ColorRef>(random());
    settings.m_nScrollSpeed = static_cast<std::int32_t>(random());
    settings.m_nCPUSpeed = static_cast<std::int32_t>(random());
    settings.m_bUseMouse = random() % 2 == 0;
    settings.m_bRightReading = random() % 2 == 0;
    settings.m_strFontName = RandomLineText(random, true);
    settings.m_nFontSize = static_cast<std::int32_t>(random());
    return settings;
}

} // namespace

TEST_F(SettingsFile, LoadsArbitraryBytesAndGivesBackWhatWasSaved)
{
    std::mt19937 random(20240607);
    for (int round = 0; round < 60; ++round) {
        WriteBytes("prompter.ini", RandomProfileBytes(random));
        Loaded(); // whatever the bytes, a load completes
        const Settings saved = RandomSettings(random);
        SaveSettings(m_ini, saved);
        const Settings loaded = Loaded();
        ASSERT_TRUE(loaded == saved)
            << "round " << round << ": MRF \"" << loaded.m_strMRF.toStdString() << "\" font \""
            << loaded.m_strFontName.toStdString() << "\"";
    }
}
