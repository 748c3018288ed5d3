#include "PrivateProfile.h"

#include "ImmutableFlag.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using PrivateProfile::GetString;
using PrivateProfile::WriteString;

namespace
{

class ProfileFile : public TempDirTest
{
  protected:
    std::string Path(const QString& name = QStringLiteral("settings.ini")) const
    {
        return QFile::encodeName(PathOf(name)).toStdString();
    }

    std::string Read(const char* section, const char* name, const char* defaultValue,
                     std::uint32_t size = 256) const
    {
        std::string buffer(size + 1, '#');
        const std::uint32_t length =
            GetString(section, name, defaultValue, buffer.data(), size, Path().c_str());
        EXPECT_EQ(buffer.find('\0'), length);
        return buffer.substr(0, length);
    }

    QStringList FolderEntries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    static constexpr char kHandWritten[] = "[Settings]\r\nFontName=Old\r\n";
};

} // namespace

TEST_F(ProfileFile, ReadsTheDefaultWhenTheFileOrTheNameIsMissing)
{
    EXPECT_EQ(Read("Settings", "FontName", "Arial Black"), "Arial Black");
    WriteBytes("settings.ini", kHandWritten);
    EXPECT_EQ(Read("Settings", "FontName", "Arial Black"), "Old");
    EXPECT_EQ(Read("Settings", "Missing", "dflt  "), "dflt");
    EXPECT_EQ(Read("Settings", "Missing", nullptr), "");
    EXPECT_EQ(Read(nullptr, "FontName", "d"), "d");
    EXPECT_EQ(Read("Settings", nullptr, "d"), "d");
    // Read checks that the length returned is that of the text before the NUL.
    WriteBytes("settings.ini", QByteArray("[S]\na=x\0y\n", 10));
    EXPECT_EQ(Read("S", "a", nullptr), "x");
}

TEST_F(ProfileFile, CutsTheCopyToTheBufferAndReturnsSizeMinusOne)
{
    WriteBytes("settings.ini", "[S]\nA=abcdef\n");
    EXPECT_EQ(Read("S", "A", nullptr, 7), "abcdef"); // fits exactly
    EXPECT_EQ(Read("S", "A", nullptr, 6), "abcde");
    EXPECT_EQ(Read("S", "A", nullptr, 1), "");
    EXPECT_EQ(Read("S", "Missing", "defaultvalue", 4), "def");
    char untouched = 'x';
    EXPECT_EQ(GetString("S", "A", nullptr, &untouched, 0, Path().c_str()), 0u);
    EXPECT_EQ(untouched, 'x');
}

TEST_F(ProfileFile, CreatesTheFileThenUpdatesItInPlace)
{
    ASSERT_TRUE(WriteString("Settings", "A", "1", Path().c_str()));
    ASSERT_TRUE(WriteString("Settings", "B", "2", Path().c_str()));
    ASSERT_TRUE(WriteString("settings", "a", "3", Path().c_str()));
    EXPECT_EQ(ReadBytes("settings.ini"), "[Settings]\r\nA=3\r\nB=2\r\n");
    EXPECT_EQ(FolderEntries(), QStringList{"settings.ini"});
}

TEST_F(ProfileFile, RefusesNullArgumentsAndLineBreaksWithoutTouchingTheFile)
{
    WriteBytes("settings.ini", kHandWritten);
    EXPECT_FALSE(WriteString(nullptr, "A", "1", Path().c_str()));
    EXPECT_FALSE(WriteString("Settings", nullptr, "1", Path().c_str()));
    EXPECT_FALSE(WriteString("Settings", "A", nullptr, Path().c_str()));
    EXPECT_FALSE(WriteString("Settings", "A", "1", nullptr));
    EXPECT_FALSE(WriteString("Settings", "A", "1", ""));
    EXPECT_FALSE(WriteString("Settings", "FontName", "x\r\nInjected=1", Path().c_str()));
    EXPECT_EQ(ReadBytes("settings.ini"), kHandWritten);
}

TEST_F(ProfileFile, FailsOnAReadOnlyOrImmutableFileAndLeavesItAsItWas)
{
    WriteBytes("settings.ini", kHandWritten);
    // Without any write permission bit the file counts as read-only even for root.
    const QString file = PathOf("settings.ini");
    ASSERT_TRUE(
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_FALSE(WriteString("Settings", "FontName", "New", Path().c_str()));
    EXPECT_EQ(Read("Settings", "FontName", nullptr), "Old");
    EXPECT_EQ(ReadBytes("settings.ini"), kHandWritten);
    EXPECT_EQ(FolderEntries(), QStringList{"settings.ini"});

    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    const ImmutableFlag immutable(file);
    if (!immutable.IsSet())
        GTEST_SKIP() << "the file system does not let this user mark a file immutable";
    EXPECT_FALSE(WriteString("Settings", "FontName", "New", Path().c_str()));
    EXPECT_EQ(ReadBytes("settings.ini"), kHandWritten);
}

TEST_F(ProfileFile, WritesTheFileInPlaceWhereTheFolderTakesNoNewFile)
{
    WriteBytes("settings.ini", "[Settings]\r\nFontName=A much longer old face name\r\n");
    // Permission bits do not stop root; an immutable folder stops everyone.
    const ImmutableFlag immutable(m_dir.path());
    if (!immutable.IsSet())
        GTEST_SKIP() << "the file system does not let this user mark a folder immutable";
    EXPECT_TRUE(WriteString("Settings", "FontName", "New", Path().c_str()));
    EXPECT_FALSE(WriteString("Settings", "A", "1", Path("new.ini").c_str()));
    EXPECT_EQ(ReadBytes("settings.ini"), "[Settings]\r\nFontName=New\r\n");
    EXPECT_EQ(FolderEntries(), QStringList{"settings.ini"});
}

TEST_F(ProfileFile, FailsWhereTheFileCannotBeReadInsteadOfReplacingIt)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("settings.ini"));
    EXPECT_FALSE(WriteString("S", "A", "1", Path().c_str()));
    EXPECT_TRUE(QFileInfo(PathOf("settings.ini")).isDir());
    // A folder on the way that is a file or missing.
    WriteBytes("plain", "not a folder");
    EXPECT_FALSE(WriteString("S", "A", "1", Path("plain/settings.ini").c_str()));
    EXPECT_FALSE(WriteString("S", "A", "1", Path("missing/settings.ini").c_str()));
    EXPECT_EQ(ReadBytes("plain"), "not a folder");
    EXPECT_EQ(FolderEntries(), (QStringList{"plain", "settings.ini"}));
}

TEST_F(ProfileFile, KeepsTheFilesPermissions)
{
    WriteBytes("settings.ini", kHandWritten);
    const QFile::Permissions ownerOnly =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    ASSERT_TRUE(QFile::setPermissions(PathOf("settings.ini"), ownerOnly));
    ASSERT_TRUE(WriteString("Settings", "FontName", "New", Path().c_str()));
    EXPECT_EQ(QFile::permissions(PathOf("settings.ini")), ownerOnly);
}

TEST_F(ProfileFile, WritesThroughASymbolicLinkAndKeepsTheLink)
{
    WriteBytes("real.ini", kHandWritten);
    ASSERT_TRUE(QFile::link(PathOf("real.ini"), PathOf("settings.ini")));
    ASSERT_TRUE(WriteString("Settings", "FontName", "New", Path().c_str()));
    EXPECT_TRUE(QFileInfo(PathOf("settings.ini")).isSymLink());
    EXPECT_EQ(ReadBytes("real.ini"), "[Settings]\r\nFontName=New\r\n");
}

TEST_F(ProfileFile, SucceedsWithoutWritingWhenTheValueIsAlreadyThere)
{
    WriteBytes("settings.ini", kHandWritten);
    ASSERT_TRUE(QFile::setPermissions(PathOf("settings.ini"), QFile::ReadOwner));
    EXPECT_TRUE(WriteString("Settings", "FontName", "Old", Path().c_str()));
    EXPECT_EQ(ReadBytes("settings.ini"), kHandWritten);
}
