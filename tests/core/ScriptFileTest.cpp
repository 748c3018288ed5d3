#include "ScriptFile.h"
#include "TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>

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

// A sequential device that never tells how much it holds and hands out a few
// bytes a read, as a pipe does.
class TrickleDevice : public QIODevice
{
  public:
    explicit TrickleDevice(QByteArray data) : m_data(std::move(data)) {}
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* out, qint64 max) override
    {
        const qint64 count = std::min<qint64>({max, 7, m_data.size() - m_at});
        std::copy_n(m_data.constData() + m_at, count, out);
        m_at += count;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray m_data;
    qint64 m_at = 0;
};

// What reading a stored script gives, worked out a byte at a time.
QByteArray FoldedByteByByte(const QByteArray& stored)
{
    QByteArray text;
    for (qsizetype i = 0; i < stored.size() && stored[i] != '\x1A'; ++i) {
        if (!(stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n'))
            text.append(stored[i]);
    }
    return text;
}

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
        {"\r\n", "\n"},
        {"\r", "\r"},
        {"\r\r\r\n\n", "\r\r\n\n"},
        {"\r\n\r\nx", "\n\nx"},
        {"\x1A\r\n", ""},
        {"", ""},
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

TEST(ScriptFileFormat, ReadsFilesLargerThanOneChunkWholeEvenFromADeviceThatCannotTellItsSize)
{
    QByteArray stored;
    for (int i = 0; i < 300000; ++i)
        stored += (i % 3 == 0) ? "line\r\n" : (i % 3 == 1) ? "cr\r" : "\r\r\nlf\n";
    const QByteArray expected = FoldedByteByByte(stored);
    EXPECT_EQ(ReadFromBytes(stored), expected);
    TrickleDevice device(stored);
    device.open(QIODevice::ReadOnly);
    EXPECT_EQ(ReadScriptFile(device), expected);
}

TEST(ScriptFileFormat, ReadingStartsWhereTheDeviceStands)
{
    QBuffer buffer;
    buffer.setData("skip\r\nkeep\r\nthis\r");
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(6);
    EXPECT_EQ(ReadScriptFile(buffer), QByteArray("keep\nthis\r"));
}

TEST(ScriptFileFormat, AReadErrorGivesNoText)
{
    FailingDevice device;
    device.open(QIODevice::ReadOnly);
    EXPECT_EQ(ReadScriptFile(device), std::nullopt);
}

TEST(ScriptFileFormat, WriteStoresEveryLfAsCrLfAndReadsBackAsWritten)
{
    EXPECT_EQ(WrittenBytes("a\nb\r\nc\rd"), QByteArray("a\r\nb\r\r\nc\rd"));
    EXPECT_EQ(WrittenBytes(QByteArray("\0\n", 2)), QByteArray("\0\r\n", 3));
    const QByteArray text("\nfirst\n\nsecond\r\nthird\rlast\n", 27);
    const QByteArray stored = WrittenBytes(text);
    EXPECT_EQ(stored, QByteArray("\r\nfirst\r\n\r\nsecond\r\r\nthird\rlast\r\n"));
    EXPECT_EQ(ReadFromBytes(stored), text);
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
    // A file that must exist may have been deleted by another program.
    EXPECT_FALSE(SaveScriptFileAtomically(PathOf("new.txt"), "x", true));
    EXPECT_TRUE(NamesIn(m_dir.path()).isEmpty());
    EXPECT_TRUE(SaveScriptFileAtomically(PathOf("new.txt"), "x", false));
    EXPECT_EQ(ReadBytes("new.txt"), QByteArray("x"));
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
