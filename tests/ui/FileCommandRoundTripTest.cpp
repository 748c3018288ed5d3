#include "FileCommandsFixture.h"

// A script opened through the control window and saved unchanged, over
// itself or under a new name, is the same bytes it was.

namespace
{

struct StoredScript {
    const char* name;
    QByteArray bytes;
};

} // namespace

class FileCommandRoundTrip : public FileCommandsFixture,
                             public ::testing::WithParamInterface<StoredScript>
{
};

TEST_P(FileCommandRoundTrip, OpenedAndSavedUnchangedGivesTheSameBytes)
{
    const QByteArray& original = GetParam().bytes;
    WriteBytes("stored.txt", original);
    m_dialogs.openPaths.push_back(PathOf("stored.txt"));
    Run(Ids::kCmdOpen);
    ASSERT_TRUE(m_dialogs.messages.empty());
    EXPECT_FALSE(HasUnsavedChanges()) << "a freshly opened script counts as changed";

    Run(Ids::kCmdSave);
    m_dialogs.savePaths.push_back(PathOf("copy.txt"));
    Run(Ids::kCmdSaveAs);
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(ReadBytes("stored.txt"), original);
    EXPECT_EQ(ReadBytes("copy.txt"), original);

    // Nothing changed, so closing asks nothing.
    Run(Ids::kCmdExit);
    EXPECT_TRUE(m_dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileCommandRoundTrip,
    ::testing::Values(
        StoredScript{"Windows1252CrLf", "Caf\xE9 \x93news\x94\r\n\x80 and \x81\r\n"},
        StoredScript{"Utf8CrLf", "Caf\xC3\xA9 \xE2\x80\x9Cnews\xE2\x80\x9D\r\n\xE2\x82\xAC\r\n"},
        StoredScript{"Utf8WithByteOrderMark", "\xEF\xBB\xBFline one\r\nline two"},
        StoredScript{"NulByte", QByteArray("before\0after\r\nend\r\n", 19)},
        StoredScript{"NulByteBeforeALongLine",
                     QByteArray("before\0after\r\n" + QByteArray(1200, 'x') + "\r\n", 1217)},
        StoredScript{"LoneCrAndCrCrLf", "mac\rline\r\r\nend\r"}, StoredScript{"Empty", ""}),
    [](const ::testing::TestParamInfo<StoredScript>& info) { return info.param.name; });
