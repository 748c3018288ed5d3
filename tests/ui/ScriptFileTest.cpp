#include "ScriptFile.h"
#include "../platform/ImmutableFlag.h"
#include "TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace
{

QByteArray ReadFromBytes(const QByteArray& stored)
{
    QBuffer buffer;
    buffer.setData(stored);
    buffer.open(QIODevice::ReadOnly);
    return ReadScriptFile(buffer).value_or("<read error>");
}

QByteArray WrittenBytes(const QByteArray& text)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteScriptFile(buffer, text));
    return buffer.data();
}

// A device whose every read fails.
class FailingDevice : public QIODevice
{
  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override { return -1; }
};

} // namespace

TEST(ScriptFileFormat, ReadTurnsCrLfIntoLfKeepsLoneBreaksAndStopsAtCtrlZ)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"one\r\ntwo\r\n", "one\ntwo\n"},
        {"a\rb\nc\r\r\nd\r", "a\rb\nc\r\nd\r"},
        {"before\r\nmore\x1A"
         "after\r\n",
         "before\nmore"},
        {"cr\r\x1A\n", "cr\r"},
    };
    for (const auto& [stored, read] : cases)
        EXPECT_EQ(ReadFromBytes(stored), read) << stored.toHex().constData();
}

TEST(ScriptFileFormat, ANulByteKeepsTheRestOfItsBlock)
{
    // A NUL at offset 10 of a file without line breaks once cut bytes 10 to 999.
    QByteArray stored(1500, 'x');
    stored[10] = '\0';
    EXPECT_EQ(ReadFromBytes(stored), stored);
}

TEST(ScriptFileFormat, ReadsFilesLargerThanOneChunkWhole)
{
    QByteArray stored;
    for (int i = 0; i < 300000; ++i)
        stored.append("line\r\n");
    EXPECT_EQ(ReadFromBytes(stored).size(), 300000 * 5);
}

TEST(ScriptFileFormat, AReadErrorGivesNoText)
{
    FailingDevice device;
    device.open(QIODevice::ReadOnly);
    EXPECT_EQ(ReadScriptFile(device), std::nullopt);
}

TEST(ScriptFileFormat, WriteStoresEveryLfAsCrLf)
{
    EXPECT_EQ(WrittenBytes("a\nb\r\nc\rd"), QByteArray("a\r\nb\r\r\nc\rd"));
    EXPECT_EQ(WrittenBytes(QByteArray("\0\n", 2)), QByteArray("\0\r\n", 3));
}

TEST(ScriptFileFormat, FileNameIsWhatFollowsTheLastSeparator)
{
    EXPECT_EQ(FileNameFromPath("C:\\Scripts\\news.txt"), "news.txt");
    EXPECT_EQ(FileNameFromPath("/home/op/scripts/news.txt"), "news.txt");
    EXPECT_EQ(FileNameFromPath("/mixed\\dir/name.txt"), "name.txt");
    EXPECT_EQ(FileNameFromPath("news.txt"), "news.txt");
    EXPECT_EQ(FileNameFromPath(""), "");
    EXPECT_EQ(FileNameFromPath("/folder/"), "");
}

using ScriptFileSaving = TempDirTest;

namespace
{

// The names in `dir`, so that a test sees any temporary file left behind.
QStringList NamesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST_F(ScriptFileSaving, ReplacesTheWholeOldContent)
{
    WriteBytes("s.txt", "a much longer old content\r\n");
    ASSERT_TRUE(SaveScriptFileAtomically(PathOf("s.txt"), "new\n", true));
    ASSERT_TRUE(SaveScriptFileAtomically(PathOf("s.txt"), "new\n", true));
    EXPECT_EQ(ReadBytes("s.txt"), QByteArray("new\r\n"));
    EXPECT_EQ(NamesIn(m_dir.path()), QStringList{"s.txt"});
}

TEST_F(ScriptFileSaving, CreatesANewFileOnlyWhenAllowed)
{
    EXPECT_FALSE(SaveScriptFileAtomically(PathOf("new.txt"), "x", true));
    EXPECT_FALSE(QFile::exists(PathOf("new.txt")));
    EXPECT_TRUE(SaveScriptFileAtomically(PathOf("new.txt"), "x", false));
    EXPECT_EQ(ReadBytes("new.txt"), QByteArray("x"));
}

TEST_F(ScriptFileSaving, FailsForAFileAnotherProgramDeleted)
{
    WriteBytes("gone.txt", "old");
    ASSERT_TRUE(QFile::remove(PathOf("gone.txt")));
    EXPECT_FALSE(SaveScriptFileAtomically(PathOf("gone.txt"), "text", true));
    EXPECT_TRUE(NamesIn(m_dir.path()).isEmpty());
}

TEST_F(ScriptFileSaving, FailsForAnEmptyPathAFolderOrAMissingFolder)
{
    EXPECT_FALSE(SaveScriptFileAtomically("", "x", false));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("sub"));
    EXPECT_FALSE(SaveScriptFileAtomically(PathOf("sub"), "x", false));
    EXPECT_FALSE(SaveScriptFileAtomically(PathOf("missing/s.txt"), "x", false));
}

TEST_F(ScriptFileSaving, KeepsTheFilesPermissions)
{
    WriteBytes("s.txt", "old");
    const auto permissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(PathOf("s.txt"), permissions));
    ASSERT_TRUE(SaveScriptFileAtomically(PathOf("s.txt"), "new", true));
    // The owner, group and other bits; the "user" bits repeat the owner's.
    const auto stored = QFileInfo(PathOf("s.txt")).permissions() & 0x7077;
    EXPECT_EQ(stored, permissions);
}

TEST_F(ScriptFileSaving, LeavesTheOldFileIntactWhenTheFolderTurnedReadOnly)
{
    WriteBytes("s.txt", "old\r\n");
    const auto folderPermissions = QFileInfo(m_dir.path()).permissions();
    ASSERT_TRUE(
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const ImmutableFlag immutable(m_dir.path()); // permission bits do not stop root
    const bool folderTakesFiles = QFile(PathOf("probe")).open(QIODevice::WriteOnly);
    QFile::remove(PathOf("probe"));
    if (!folderTakesFiles) {
        EXPECT_FALSE(SaveScriptFileAtomically(PathOf("s.txt"), "new\n", true));
        EXPECT_EQ(ReadBytes("s.txt"), QByteArray("old\r\n"));
        EXPECT_EQ(NamesIn(m_dir.path()), QStringList{"s.txt"});
    }
    QFile::setPermissions(m_dir.path(), folderPermissions);
    if (folderTakesFiles)
        GTEST_SKIP() << "this user can write into a read-only folder";
}

TEST_F(ScriptFileSaving, FailsForAReadOnlyFile)
{
    WriteBytes("s.txt", "old");
    ASSERT_TRUE(QFile::setPermissions(PathOf("s.txt"), QFileDevice::ReadOwner));
    const ImmutableFlag immutable(PathOf("s.txt"));
    if (QFileInfo(PathOf("s.txt")).isWritable() && !immutable.IsSet())
        GTEST_SKIP() << "this user can write a read-only file";
    EXPECT_FALSE(SaveScriptFileAtomically(PathOf("s.txt"), "new", true));
    EXPECT_FALSE(SaveScriptFileAtomically(PathOf("s.txt"), "new", false));
    EXPECT_EQ(ReadBytes("s.txt"), QByteArray("old"));
}
