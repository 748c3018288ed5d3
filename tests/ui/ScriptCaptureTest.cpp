#include "ScriptCapture.h"
#include "ScriptEditor.h"

#include <gtest/gtest.h>

// The prompter gets the editor's lines as the editor shows them.
class ScriptCaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_editor.resize(300, 200);
        m_editor.show();
    }

    ScriptEditor m_editor;
};

TEST_F(ScriptCaptureTest, EveryLineEndsWithCrLfAndAnEmptyEditorGivesOneEmptyLine)
{
    const struct {
        const char* text;
        const char* captured;
        int lineCount;
    } cases[] = {{"one\ntwo\n\nfour", "one\r\ntwo\r\n\r\nfour\r\n", 4}, {"", "\r\n", 1}};
    for (const auto& c : cases) {
        m_editor.SetText(c.text);
        const CapturedScript script = CaptureScript(m_editor);
        EXPECT_EQ(script.text, c.captured);
        EXPECT_EQ(script.lineCount, c.lineCount);
    }
}

TEST_F(ScriptCaptureTest, ALongLineGivesItsFirstNinetyNineCharacters)
{
    // Without spaces the line cannot wrap before the editor's width cuts it,
    // so make the editor wide enough to show it whole.
    m_editor.resize(4000, 200);
    const QByteArray line(120, 'x');
    m_editor.SetText(line);
    ASSERT_EQ(m_editor.LineCount(), 1);
    const CapturedScript script = CaptureScript(m_editor);
    EXPECT_EQ(script.text, std::string(99, 'x') + "\r\n");
}

TEST_F(ScriptCaptureTest, AWrappedParagraphGivesOneLinePerDisplayedLine)
{
    QByteArray paragraph;
    for (int i = 0; i < 40; ++i)
        paragraph += "word ";
    m_editor.SetText(paragraph);
    const int shown = m_editor.LineCount();
    ASSERT_GT(shown, 1);
    const CapturedScript script = CaptureScript(m_editor);
    EXPECT_EQ(script.lineCount, shown);
    std::string expected;
    for (int i = 0; i < shown; ++i)
        expected += m_editor.Line(i, 99).toStdString() + "\r\n";
    EXPECT_EQ(script.text, expected);
}

TEST_F(ScriptCaptureTest, LinesReachThePrompterAsTheEditorShowsThem)
{
    m_editor.SetText("caf\xC3\xA9\n");
    EXPECT_EQ(CaptureScript(m_editor).text, "caf\xC3\xA9\r\n\r\n");
    // A Windows-1252 script whose first line, "\u00C3\u00A9", is made of bytes
    // that also read as UTF-8 "\u00E9": the prompter must show what the editor shows.
    m_editor.SetText("\xC3\xA9\ncaf\xE9\n");
    EXPECT_EQ(CaptureScript(m_editor).text, "\xC3\x83\xC2\xA9\r\ncaf\xC3\xA9\r\n\r\n");
}
