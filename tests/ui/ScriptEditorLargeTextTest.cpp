// A script of tens of thousands of lines goes into the editor with several
// lines to a paragraph. These tests hold such a text to every promise the
// editor makes for an ordinary one.
#include "ScriptEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace
{

// More lines than any script of ordinary length has.
constexpr int kLines = 21000;

// A long text and what it reads back as once edited: its lines in order with
// LF between them.
struct LargeText {
    QByteArray bytes;
    QByteArray asEdited;
};

// Lines of every kind: short ones, empty ones, ones that wrap at the test
// editor's width and ones in Windows-1252, ended by CR LF, LF and a lone CR
// in turn. An empty line always ends in CR LF, so no lone CR before it merges
// with its break.
LargeText MakeLargeText(const QByteArray& special = {})
{
    static const QByteArray breaks[] = {"\r\n", "\n", "\r"};
    LargeText text;
    for (int i = 0; i < kLines; ++i) {
        QByteArray line;
        if (i % 7 == 3) {
            line = "";
        } else if (i % 97 == 5) {
            for (int word = 0; word < 30; ++word)
                line += "wrapping" + QByteArray::number(word) + ' ';
        } else {
            line = "line " + QByteArray::number(i) + (i % 11 == 0 ? " caf\xE9" : "");
        }
        if (i == kLines / 2)
            line += special;
        const bool last = i == kLines - 1;
        text.bytes += line + (last ? "" : line.isEmpty() ? breaks[0] : breaks[i % 3]);
        text.asEdited += line + (last ? "" : "\n");
    }
    return text;
}

class ScriptEditorLargeText : public ::testing::Test
{
  protected:
    ScriptEditorLargeText()
    {
        for (ScriptEditor* editor : {&m_editor, &m_ordinary}) {
            editor->resize(300, 200);
            editor->show();
        }
        QApplication::processEvents();
    }

    // Every displayed line of `editor`, as the scroll command reads them.
    static QStringList DisplayedLines(const ScriptEditor& editor, int maxChars = 1000)
    {
        QStringList lines;
        for (int i = 0; i < editor.LineCount(); ++i)
            lines.append(editor.Line(i, maxChars));
        return lines;
    }

    void TypeAtEnd(int key)
    {
        m_editor.setFocus();
        m_editor.moveCursor(QTextCursor::End);
        QTest::keyClick(&m_editor, static_cast<Qt::Key>(key));
    }

    ScriptEditor m_editor;
    // The same text set one paragraph a line, past the editor's own setting.
    ScriptEditor m_ordinary;
};

} // namespace

TEST_F(ScriptEditorLargeText, IsSetWithSeveralLinesToAParagraphShowsTheSameLinesAndTheSameBytes)
{
    const LargeText text = MakeLargeText();
    m_editor.SetText(text.bytes);
    EXPECT_LT(m_editor.document()->blockCount(), kLines / 16);
    EXPECT_EQ(m_editor.Text(), text.bytes);
    EXPECT_EQ(m_editor.Encoding(), ScriptEncoding::Windows1252);
    EXPECT_EQ(m_editor.TextLength(), text.asEdited.size());
    EXPECT_FALSE(m_editor.CanUndo());
    EXPECT_FALSE(m_editor.CanRedo());

    m_ordinary.setPlainText(DecodeScriptText(text.bytes).text);
    QApplication::processEvents();
    ASSERT_EQ(m_ordinary.document()->blockCount(), kLines);
    ASSERT_EQ(m_editor.viewport()->width(), m_ordinary.viewport()->width());
    const QStringList lines = DisplayedLines(m_editor);
    ASSERT_GT(lines.size(), kLines);
    EXPECT_EQ(lines, DisplayedLines(m_ordinary));
    EXPECT_EQ(DisplayedLines(m_editor, 4), DisplayedLines(m_ordinary, 4));
    for (const QString& line : lines)
        ASSERT_FALSE(line.contains(QChar::LineSeparator)) << line.toStdString();
}

TEST_F(ScriptEditorLargeText, AnEditedCopiedOrCutTextGivesEveryLineInOrderWithLfBreaks)
{
    const LargeText text = MakeLargeText();
    m_editor.SetText(text.bytes);
    const QString expected = QString::fromLatin1(text.asEdited.left(40));
    ASSERT_GE(expected.count(u'\n'), 3);
    m_editor.SetSelection(0, 40);
    EXPECT_EQ(m_editor.SelectedText(), expected);
    m_editor.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    m_editor.cut();
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    EXPECT_EQ(m_editor.Text(), text.asEdited.mid(40));

    m_editor.SetText(text.bytes);
    TypeAtEnd(Qt::Key_X);
    EXPECT_EQ(m_editor.Text(), text.asEdited + "x");
    // A break typed inside a paragraph of several lines is one more LF.
    m_editor.SetSelection(2, 2);
    QTest::keyClick(&m_editor, Qt::Key_Return);
    EXPECT_EQ(m_editor.Text(), text.asEdited.left(2) + "\n" + text.asEdited.mid(2) + "x");
}

TEST_F(ScriptEditorLargeText, AnEditTakenBackLeavesTheBytesAsLoadedAndUndoWorksAsBefore)
{
    const LargeText text = MakeLargeText();
    m_editor.SetText(text.bytes);
    TypeAtEnd(Qt::Key_X);
    QTest::keyClick(&m_editor, Qt::Key_Backspace);
    EXPECT_EQ(m_editor.Text(), text.bytes);

    // Joining two lines of one paragraph and breaking them again puts a
    // paragraph break where the line break was; the text is still as loaded.
    m_editor.SetText(text.bytes);
    const auto firstBreak = static_cast<int>(text.asEdited.indexOf('\n'));
    m_editor.SetSelection(firstBreak + 1, firstBreak + 1);
    QTest::keyClick(&m_editor, Qt::Key_Backspace);
    EXPECT_NE(m_editor.Text(), text.bytes);
    QTest::keyClick(&m_editor, Qt::Key_Return);
    EXPECT_EQ(m_editor.Text(), text.bytes);

    m_editor.undo();
    m_editor.undo();
    EXPECT_EQ(m_editor.Text(), text.bytes);
    EXPECT_FALSE(m_editor.CanUndo());
    m_editor.redo();
    EXPECT_EQ(m_editor.Text(), text.asEdited.left(firstBreak) + text.asEdited.mid(firstBreak + 1));
}

TEST_F(ScriptEditorLargeText, AGenuineLineSeparatorSurvivesAnEditAndIsNeverPartOfALine)
{
    const QByteArray lineSeparator("\xE2\x80\xA8");
    LargeText text = MakeLargeText(" before" + lineSeparator + "after");
    // The Windows-1252 lines would make the text Windows-1252; as UTF-8 it keeps the separator.
    text.bytes.replace('\xE9', "\xC3\xA9");
    text.asEdited.replace('\xE9', "\xC3\xA9");
    m_editor.SetText(text.bytes);
    ASSERT_EQ(m_editor.Encoding(), ScriptEncoding::Utf8);
    TypeAtEnd(Qt::Key_X);
    EXPECT_EQ(m_editor.Text(), text.asEdited + "x");

    const QStringList lines = DisplayedLines(m_editor);
    const auto before = lines.indexOf(QStringLiteral("line %1 before").arg(kLines / 2));
    ASSERT_GE(before, 0);
    EXPECT_EQ(lines.value(before + 1), "after");
}
