#include "ScriptEditor.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

// A shown editor, as the control window has it.
class ShownEditor : public ::testing::Test
{
  protected:
    ShownEditor()
    {
        m_editor.resize(300, 200);
        m_editor.show();
        QApplication::processEvents();
    }

    void Settle() { QApplication::processEvents(); }

    QScrollBar& Bar() { return *m_editor.verticalScrollBar(); }

    ScriptEditor m_editor;
};

// Paragraphs that wrap at the test editor's width, more than it shows at once.
QByteArray ManyWrappingParagraphs()
{
    QByteArray text;
    for (int i = 0; i < 400; ++i)
        text +=
            "paragraph " + QByteArray::number(i) + " with words enough to wrap twice or more\r\n";
    return text;
}

struct LoadedText {
    const char* name;
    QByteArray bytes;
};

class ScriptEditorBreaks : public ShownEditor, public ::testing::WithParamInterface<LoadedText>
{
};

} // namespace

TEST_P(ScriptEditorBreaks, AnEditTakenBackLeavesTheBytesAsLoadedAndAChangedFirstCharacterIsSeen)
{
    const QByteArray& loaded = GetParam().bytes;
    m_editor.SetText(loaded);
    m_editor.setFocus();
    m_editor.moveCursor(QTextCursor::End);
    QTest::keyClick(&m_editor, Qt::Key_X);
    EXPECT_NE(m_editor.Text(), loaded);
    QTest::keyClick(&m_editor, Qt::Key_Backspace);
    EXPECT_EQ(m_editor.Text(), loaded);

    m_editor.SetText(loaded);
    m_editor.moveCursor(QTextCursor::Start);
    QTest::keyClick(&m_editor, Qt::Key_Delete);
    QTest::keyClick(&m_editor, Qt::Key_Q);
    EXPECT_NE(m_editor.Text(), loaded);
}

INSTANTIATE_TEST_SUITE_P(Loaded, ScriptEditorBreaks,
                         ::testing::Values(LoadedText{"CrLfCrAndLf", "a\r\nb\rc\nd"},
                                           LoadedText{"CrBeforeCrLf", "a\r\r\nb"},
                                           LoadedText{"LfBeforeCr", "a\n\rb\n\r"},
                                           LoadedText{"TrailingCr", "a\r"},
                                           LoadedText{"NulByte", QByteArray("a\0b\r\n", 5)},
                                           LoadedText{"ParagraphSeparator", "a\xE2\x80\xA9"
                                                                            "b"},
                                           LoadedText{"LineSeparator", "a\xE2\x80\xA8"
                                                                       "b"},
                                           LoadedText{"FrameMarks", "a\xEF\xB7\x90"
                                                                    "b\xEF\xB7\x91"
                                                                    "c"},
                                           LoadedText{"Windows1252", "caf\xE9\r\n\x93quoted\x94"}),
                         [](const ::testing::TestParamInfo<LoadedText>& info) {
                             return info.param.name;
                         });

using ScriptEditorLoad = ShownEditor;

TEST_F(ScriptEditorLoad, ALongTextShowsTheScrollBarAndWrapsInsideItAndAShortOneAfterHasTheFullWidth)
{
    const int full = m_editor.viewport()->width();
    m_editor.SetText("one\r\ntwo");
    Settle();
    EXPECT_FALSE(Bar().isVisible());
    EXPECT_EQ(m_editor.viewport()->width(), full);

    const QByteArray text = ManyWrappingParagraphs();
    m_editor.SetText(text);
    Settle();
    EXPECT_TRUE(Bar().isVisible());
    ASSERT_GT(m_editor.LineCount(), 400);
    for (int i = 0; i < 40; ++i)
        EXPECT_LT(m_editor.fontMetrics().horizontalAdvance(m_editor.Line(i, 1000).trimmed()),
                  m_editor.viewport()->width());
    EXPECT_EQ(m_editor.Text(), text);
    EXPECT_FALSE(m_editor.CanUndo());

    const int narrow = m_editor.viewport()->width();
    m_editor.SetText("one line");
    Settle();
    EXPECT_FALSE(Bar().isVisible());
    EXPECT_GT(m_editor.viewport()->width(), narrow);
    EXPECT_EQ(m_editor.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

TEST_F(ScriptEditorLoad, AScrollBarPolicySetByTheWindowIsKept)
{
    m_editor.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editor.SetText(ManyWrappingParagraphs());
    Settle();
    EXPECT_EQ(m_editor.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(Bar().isVisible());
}
