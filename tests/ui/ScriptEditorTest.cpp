#include "ScriptEditor.h"
#include "ScriptCapture.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

class ScriptEditorTest : public ::testing::Test
{
  protected:
    ScriptEditorTest()
    {
        m_editor.resize(300, 200);
        m_editor.show();
    }

    // Every displayed line, as the scroll command reads them.
    QStringList DisplayedLines(int maxChars = 1000) const
    {
        QStringList lines;
        for (int i = 0; i < m_editor.LineCount(); ++i)
            lines.append(m_editor.Line(i, maxChars));
        return lines;
    }

    void TypeAtEnd(const QString& text)
    {
        m_editor.setFocus();
        m_editor.moveCursor(QTextCursor::End);
        QTest::keyClicks(&m_editor, text);
    }

    ScriptEditor m_editor;
};

// Words that wrap over several lines at the test editor's width.
QString LongParagraph()
{
    QString text;
    for (int i = 0; i < 60; ++i)
        text += QStringLiteral("word%1 ").arg(i);
    return text.trimmed();
}

} // namespace

using ScriptEditorText = ScriptEditorTest;

TEST_F(ScriptEditorText, ATextJustSetReadsBackAsTheSameBytes)
{
    const QByteArray mixedBreaks("one\rtwo\nthree\r\nfour\r\r\nfive\r");
    const QByteArray nulAndWindows1252("caf\xE9\0\x81\r\nend", 11);
    for (const QByteArray& bytes : {mixedBreaks, nulAndWindows1252}) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        m_editor.SetText(bytes);
        EXPECT_EQ(m_editor.Text(), bytes);
    }
    EXPECT_EQ(m_editor.Encoding(), ScriptEncoding::Windows1252);
}

TEST_F(ScriptEditorText, TheOperatorsLineBreaksAreLfAndEditedWindows1252TextStaysWindows1252)
{
    m_editor.SetText("first\rsecond");
    TypeAtEnd("!");
    QTest::keyClick(&m_editor, Qt::Key_Return);
    QTest::keyClicks(&m_editor, "third");
    EXPECT_EQ(m_editor.Text(), QByteArray("first\nsecond!\nthird"));

    m_editor.SetText("caf\xE9");
    TypeAtEnd("");
    QTest::sendKeyEvent(QTest::Click, &m_editor, Qt::Key_Eacute, QString::fromUtf8(u8"é"),
                        Qt::NoModifier);
    EXPECT_EQ(m_editor.Text(), QByteArray("caf\xE9\xE9"));
}

TEST_F(ScriptEditorText, LengthCountsCharactersAndIsZeroOnlyWhenEmpty)
{
    EXPECT_EQ(m_editor.TextLength(), 0);
    m_editor.SetText("ab\r\ncd");
    EXPECT_EQ(m_editor.TextLength(), 5);
    m_editor.SetText("");
    EXPECT_EQ(m_editor.TextLength(), 0);
    EXPECT_TRUE(m_editor.Text().isEmpty());
}

using ScriptEditorLines = ScriptEditorTest;

TEST_F(ScriptEditorLines, ALineSeparatorEndsADisplayedLineWithoutBeingPartOfIt)
{
    m_editor.SetText("one\xE2\x80\xA8two\r\n\xE2\x80\xA8");
    EXPECT_EQ(DisplayedLines(), (QStringList{"one", "two", "", ""}));
    m_editor.SetSelection(0, -1);
    EXPECT_EQ(m_editor.SelectedText(), "one\ntwo\n\n");
}

TEST_F(ScriptEditorLines, AWrappedParagraphGivesOneLinePerDisplayedLineAndFollowsTheWidth)
{
    const QString paragraph = LongParagraph();
    m_editor.SetText(paragraph.toUtf8() + "\nlast");
    const QStringList lines = DisplayedLines();
    ASSERT_GT(lines.size(), 3);
    EXPECT_EQ(lines.size(), m_editor.LineCount());
    EXPECT_EQ(lines.back(), "last");
    EXPECT_EQ(lines.mid(0, lines.size() - 1).join(QString()), paragraph);
    for (const QString& line : lines)
        EXPECT_LT(m_editor.fontMetrics().horizontalAdvance(line.trimmed()),
                  m_editor.viewport()->width());
    m_editor.resize(150, 200);
    EXPECT_GT(m_editor.LineCount(), lines.size());
}

TEST_F(ScriptEditorLines, EachParagraphIsALineWithoutItsBreakAndALineOutOfRangeIsEmpty)
{
    EXPECT_EQ(DisplayedLines(), QStringList{""});
    m_editor.SetText("one\rtwo\r\nthree\n\nfive");
    EXPECT_EQ(DisplayedLines(), (QStringList{"one", "two", "three", "", "five"}));
    EXPECT_EQ(m_editor.Line(-1, 99), "");
    EXPECT_EQ(m_editor.Line(5, 99), "");
    EXPECT_EQ(m_editor.Line(0, 0), "");
}

TEST_F(ScriptEditorLines, LinesFollowEditsMadeAfterCounting)
{
    m_editor.SetText("a\nb");
    ASSERT_EQ(m_editor.LineCount(), 2);
    TypeAtEnd("c");
    QTest::keyClick(&m_editor, Qt::Key_Return);
    EXPECT_EQ(DisplayedLines(), (QStringList{"a", "bc", ""}));
}

using ScriptEditorSelection = ScriptEditorTest;

TEST_F(ScriptEditorSelection, ARangeSetReadsBackWithZeroToMinusOneAllAndFarPositionsClamped)
{
    const struct {
        const char* text;
        int start;
        int end;
        CharRange expected;
        const char* selected;
    } cases[] = {
        {"ab\ncd", 0, -1, {0, 5}, "ab\ncd"},
        {"ab\ncd", 0, 0, {0, 0}, ""},
        {"one\ntwo\nthree", 2, 9, {2, 9}, "e\ntwo\nt"},
        {"abc", 7, 90, {3, 3}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " " << c.start << ".." << c.end);
        m_editor.SetText(c.text);
        m_editor.SetSelection(1, 2);
        m_editor.SetSelection(c.start, c.end);
        EXPECT_EQ(m_editor.Selection(), c.expected);
        EXPECT_EQ(m_editor.SelectedText(), QString::fromLatin1(c.selected));
    }
}

TEST_F(ScriptEditorSelection, MinusOneRemovesTheSelection)
{
    m_editor.SetText("abcdef");
    m_editor.SetSelection(1, 4);
    m_editor.SetSelection(-1, -1);
    const CharRange range = m_editor.Selection();
    EXPECT_EQ(range.cpMin, range.cpMax);
}

TEST_F(ScriptEditorSelection, AHiddenSelectionIsDrawnAsPlainText)
{
    m_editor.SetBackgroundColor(MakeColorRef(10, 20, 30));
    m_editor.HideSelection(true);
    EXPECT_EQ(m_editor.palette().color(QPalette::Highlight), QColor(10, 20, 30));
    m_editor.HideSelection(false);
    EXPECT_EQ(m_editor.palette().color(QPalette::Highlight), QPalette().color(QPalette::Highlight));
}

using ScriptEditorHistory = ScriptEditorTest;

TEST_F(ScriptEditorHistory, UndoAndRedoBecomeAvailableInTurnAndSettingTheTextClearsThem)
{
    EXPECT_FALSE(m_editor.CanUndo());
    EXPECT_FALSE(m_editor.CanRedo());
    TypeAtEnd("hello");
    EXPECT_TRUE(m_editor.CanUndo());
    EXPECT_FALSE(m_editor.CanRedo());
    m_editor.undo();
    EXPECT_TRUE(m_editor.CanRedo());
    m_editor.redo();
    EXPECT_EQ(m_editor.Text(), QByteArray("hello"));
    m_editor.undo();
    m_editor.SetText("loaded");
    EXPECT_FALSE(m_editor.CanUndo());
    EXPECT_FALSE(m_editor.CanRedo());
}

// The prompter gets the editor's lines as the editor shows them.
using ScriptCaptureTest = ScriptEditorTest;

TEST_F(ScriptCaptureTest, EveryLineEndsWithCrLfAndALongLineGivesItsFirstNinetyNineCharacters)
{
    // Without spaces a long line cannot wrap before the editor's width cuts
    // it, so the editor is wide enough to show it whole.
    m_editor.resize(4000, 200);
    const std::string longLine(120, 'x');
    const struct {
        std::string text;
        std::string captured;
        int lineCount;
    } cases[] = {{"one\ntwo\n\nfour", "one\r\ntwo\r\n\r\nfour\r\n", 4},
                 {"", "\r\n", 1},
                 {longLine, longLine.substr(0, 99) + "\r\n", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        m_editor.SetText(QByteArray::fromStdString(c.text));
        const CapturedScript script = CaptureScript(m_editor);
        EXPECT_EQ(script.text, c.captured);
        EXPECT_EQ(script.lineCount, c.lineCount);
    }
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
