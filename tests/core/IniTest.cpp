#include "Ini.h"

#include "PrivateProfile.h"
#include "TempDir.h"

#include <QFile>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace
{

class IniFile : public TempDirTest
{
  protected:
    IniFile()
        : m_ini([this](const char* section, const char* name, const char* defaultValue,
                       char* buffer, std::uint32_t size, const char* fileName) {
              m_readSizes.push_back(size);
              return PrivateProfile::GetString(section, name, defaultValue, buffer, size, fileName);
          })
    {
        m_ini.SetPathName(Path().c_str());
    }

    std::string Path() const { return QFile::encodeName(PathOf("test.ini")).toStdString(); }

    void WriteIni(const std::string& text) const
    {
        WriteBytes("test.ini", QByteArray::fromStdString(text));
    }

    std::int32_t IntOf(const std::string& text, int base, std::int32_t defaultValue = -77)
    {
        WriteIni("[S]\nN=" + text + "\n");
        return m_ini.GetInt("S", "N", defaultValue, base);
    }

    std::string WrittenInt(std::int32_t value, int base)
    {
        EXPECT_TRUE(m_ini.WriteInt("S", "N", value, base));
        return m_ini.GetString("S", "N", nullptr);
    }

    CIni m_ini;
    std::vector<std::uint32_t> m_readSizes;
};

} // namespace

TEST_F(IniFile, ReadsAValueOfAnyLengthWholeGrowingTheBufferUntilItFits)
{
    const struct {
        int length;
        std::vector<std::uint32_t> readSizes;
    } cases[] = {
        {510, {512}},
        {511, {512, 1024}},
        {5000, {512, 1024, 1536, 2048, 2560, 3072, 3584, 4096, 4608, 5120}},
    };
    for (const auto& [length, readSizes] : cases) {
        SCOPED_TRACE(length);
        std::string value;
        for (int i = 0; i < length; ++i)
            value += static_cast<char>('a' + i % 26);
        WriteIni("[S]\nV=" + value + "\n");
        m_readSizes.clear();
        EXPECT_EQ(m_ini.GetString("S", "V", nullptr), value);
        EXPECT_EQ(m_readSizes, readSizes);
        EXPECT_EQ(std::string(m_ini.GetRawString("S", "V", nullptr).get()), value);
    }
}

TEST_F(IniFile, GivesTheDefaultWholeOnlyForAMissingNameAndWritesANullValueAsAnEmptyOne)
{
    WriteIni("[S]\nEmpty=1\n");
    EXPECT_TRUE(m_ini.WriteString("S", "Empty", nullptr));
    EXPECT_TRUE(m_ini.WriteString("S", "B", nullptr));
    EXPECT_EQ(ReadBytes("test.ini"), "[S]\nEmpty=\nB=\n");
    EXPECT_EQ(m_ini.GetString("S", "Empty", "dflt"), "");
    EXPECT_EQ(m_ini.GetString("S", "Missing", "dflt"), "dflt");
    EXPECT_EQ(m_ini.GetString("S", "Missing", nullptr), "");
    const std::string longDefault(700, 'd');
    EXPECT_EQ(m_ini.GetString("S", "Missing", longDefault.c_str()), longDefault);
}

TEST_F(IniFile, NullArgumentsNoPathOrAMissingFolderWriteNothingAndReadTheDefault)
{
    EXPECT_FALSE(m_ini.WriteString(nullptr, "A", "1"));
    EXPECT_FALSE(m_ini.WriteString("S", nullptr, "1"));
    EXPECT_FALSE(m_ini.WriteInt(nullptr, "A", 1, 10));
    EXPECT_FALSE(m_ini.WriteInt("S", nullptr, 1, 2));
    EXPECT_FALSE(QFile::exists(PathOf("test.ini")));

    WriteIni("[S]\nA=1\n");
    EXPECT_EQ(m_ini.GetString(nullptr, "A", "d"), "d");
    EXPECT_EQ(m_ini.GetString("S", nullptr, nullptr), "");
    EXPECT_EQ(m_ini.GetInt(nullptr, "A", 9, 10), 9);
    EXPECT_TRUE(m_readSizes.empty());
    m_ini.SetPathName(nullptr);
    EXPECT_EQ(m_ini.GetString("S", "A", "d"), "d");
    EXPECT_EQ(m_ini.GetInt("S", "A", 3, 10), 3);
    EXPECT_FALSE(m_ini.WriteString("S", "A", "2"));
    EXPECT_FALSE(m_ini.WriteInt("S", "A", 1, 10));
    m_ini.SetPathName(Path().c_str());
    EXPECT_EQ(m_ini.GetString("S", "A", "d"), "1");
    m_ini.SetPathName(QFile::encodeName(PathOf("missing/test.ini")).constData());
    EXPECT_FALSE(m_ini.WriteString("S", "A", "1"));
    EXPECT_FALSE(m_ini.WriteInt("S", "A", 1, 10));
}

TEST_F(IniFile, ConvertsIntegersAsStrtoulDoesIn32Bits)
{
    // clang-format off
    const struct {
        std::string text;
        int base;
        std::int32_t value;
    } cases[] = {
        {"0x1F", 16, 31}, {"1F", 16, 31}, {"1F", 10, 1}, {"abc", 10, 0}, {"-1", 10, -1},
        {"12abc", 10, 12}, {"+7", 10, 7}, {"\"  42\"", 10, 42}, {"-", 10, 0},
        {"0x", 16, 0}, {"0xg", 16, 0},
        // Wrapping round in 32 bits; overflow gives the largest value.
        {"4294967295", 10, -1}, {"2147483648", 10, INT32_MIN}, {"4294967296", 10, -1},
        {"-4294967296", 10, -1}, {"-4294967295", 10, 1}, {"99999999999999999999999", 16, -1},
        // Bases two, eight and sixteen are kept; any other reads as ten.
        {"1012", 2, 5}, {"0x1", 2, 0}, {"178", 8, 15}, {"ff", 16, 255}, {"19", 7, 19},
        {"1a", 36, 1}, {"12", 0, 12},
        // An empty value gives the default; blanks around a value do not count.
        {"", 10, -77}, {"   ", 10, -77},
        // Only the first 64 bytes are looked at.
        {std::string(62, '0') + "12", 10, 12}, {std::string(63, '0') + "12", 10, 1}};
    // clang-format on
    for (const auto& [text, base, value] : cases)
        EXPECT_EQ(IntOf(text, base), value) << "\"" << text << "\" in base " << base;
    EXPECT_EQ(m_ini.GetInt("S", "Missing", 80, 10), 80);
}

TEST_F(IniFile, WritesIntegersInEachBase)
{
    const struct {
        std::int32_t value;
        int base;
        std::string text;
    } cases[] = {{5, 2, "101"},        {0, 2, "0"},  {-1, 2, std::string(32, '1')}, {255, 16, "FF"},
                 {-1, 16, "FFFFFFFF"}, {8, 8, "10"}, {-1, 8, "37777777777"},        {-5, 10, "-5"},
                 {7, 7, "7"},          {-7, 7, "-7"}};
    for (const auto& [value, base, text] : cases)
        EXPECT_EQ(WrittenInt(value, base), text) << value << " in base " << base;
}

TEST_F(IniFile, ReadsBackEveryIntegerInTheBaseItWasWrittenIn)
{
    const std::int32_t values[] = {0, 1, -1, 5, 255, 16777215, INT32_MAX, INT32_MIN, -123456};
    for (const int base : {2, 8, 10, 16, 3}) {
        for (const std::int32_t value : values) {
            ASSERT_TRUE(m_ini.WriteInt("S", "N", value, base));
            EXPECT_EQ(m_ini.GetInt("S", "N", 42, base), value) << "base " << base;
        }
    }
}

TEST(IniIntToString, WritesDigitsWithoutPrefixOrLeadingZeros)
{
    const struct {
        std::uint32_t value;
        int base;
        std::string text;
    } cases[] = {{6, 2, "110"},
                 {0x80000000u, 2, "1" + std::string(31, '0')},
                 {0xABCDEFu, 16, "ABCDEF"},
                 {4294967295u, 10, "4294967295"},
                 {9, 5, "9"}};
    for (const auto& [value, base, text] : cases) {
        char buffer[65];
        CIni::IntToString(value, buffer, base);
        EXPECT_EQ(buffer, text) << value << " in base " << base;
    }
}
