#include "ScriptEditor.h"
#include "ScriptFile.h"
#include "TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace
{

struct StoredScript {
    const char* name;
    QByteArray bytes;
};

// A file opened into the editor and saved unchanged is the same file.
class ScriptRoundTrip : public TempDirTest, public ::testing::WithParamInterface<StoredScript>
{
};

} // namespace

TEST_P(ScriptRoundTrip, OpenedAndSavedUnchangedGivesTheSameBytes)
{
    const QByteArray& original = GetParam().bytes;
    WriteBytes("script.txt", original);

    QFile file(PathOf("script.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const std::optional<QByteArray> text = ReadScriptFile(file);
    file.close();
    ASSERT_TRUE(text);

    ScriptEditor editor;
    editor.SetText(*text);
    EXPECT_EQ(editor.Text(), *text) << "a freshly loaded script counts as changed";
    ASSERT_TRUE(SaveScriptFileAtomically(PathOf("script.txt"), editor.Text(), true));
    EXPECT_EQ(ReadBytes("script.txt"), original);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ScriptRoundTrip,
    ::testing::Values(
        StoredScript{"Windows1252CrLf", "Caf\xE9 \x93news\x94\r\nSecond \x80 line\r\n"},
        StoredScript{"Utf8CrLf",
                     "Caf\xC3\xA9 \xE2\x80\x9Cnews\xE2\x80\x9D\r\nSecond \xE2\x82\xAC\r\n"},
        StoredScript{"Utf8WithByteOrderMark", "\xEF\xBB\xBFline one\r\nline two"},
        StoredScript{"NulByte",
                     QByteArray("before\0after\r\n" + QByteArray(1200, 'x') + "\r\n", 1217)},
        StoredScript{"LoneCrAndCrCrLf", "mac\rline\r\r\nend\r"}, StoredScript{"Empty", ""}),
    [](const ::testing::TestParamInfo<StoredScript>& info) { return info.param.name; });
