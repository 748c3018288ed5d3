#include "ScriptEditor.h"
#include "ScriptFile.h"

#include <QApplication>
#include <QBuffer>
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

TEST_F(ScriptEditorLoad, ALongTextShowsTheScrollBarWrapsInsideItAndReadsBackAsTheSameBytes)
{
    ASSERT_FALSE(Bar().isVisible());
    const QByteArray text = ManyWrappingParagraphs();
    m_editor.SetText(text);
    Settle();
    EXPECT_TRUE(Bar().isVisible());
    EXPECT_EQ(m_editor.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    ASSERT_GT(m_editor.LineCount(), 400);
    for (int i = 0; i < 40; ++i)
        EXPECT_LT(m_editor.fontMetrics().horizontalAdvance(m_editor.Line(i, 1000).trimmed()),
                  m_editor.viewport()->width());
    EXPECT_EQ(m_editor.Text(), text);
    EXPECT_FALSE(m_editor.CanUndo());
}

TEST_F(ScriptEditorLoad, AShortTextLeavesTheFullWidthEvenAfterALongOne)
{
    const int full = m_editor.viewport()->width();
    m_editor.SetText("one\r\ntwo");
    Settle();
    EXPECT_FALSE(Bar().isVisible());
    EXPECT_EQ(m_editor.viewport()->width(), full);

    m_editor.SetText(ManyWrappingParagraphs());
    Settle();
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

TEST(ScriptFileReading, ADeviceThatCannotTellItsSizeIsReadWhole)
{
    QByteArray stored;
    for (int i = 0; i < 50000; ++i)
        stored += (i % 3 == 0) ? "line\r\n" : (i % 3 == 1) ? "cr\r" : "\r\r\nlf\n";
    TrickleDevice device(stored);
    device.open(QIODevice::ReadOnly);
    EXPECT_EQ(ReadScriptFile(device), FoldedByteByByte(stored));
}

TEST(ScriptFileReading, ReadingStartsWhereTheDeviceStands)
{
    QBuffer buffer;
    buffer.setData("skip\r\nkeep\r\nthis\r");
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(6);
    EXPECT_EQ(ReadScriptFile(buffer), QByteArray("keep\nthis\r"));
}

TEST(ScriptFileReading, BreaksAtEveryPlaceFoldAsStored)
{
    for (const QByteArray& stored :
         {QByteArray("\r\n"), QByteArray("\r"), QByteArray("\r\r\r\n\n"), QByteArray("x\r\x1A\n"),
          QByteArray("\r\n\r\nx"), QByteArray("\x1A\r\n"), QByteArray()}) {
        QBuffer buffer;
        buffer.setData(stored);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(ReadScriptFile(buffer), FoldedByteByByte(stored)) << stored.toHex().constData();
    }
}

TEST(ScriptFileReading, WritingThenReadingGivesTheTextBack)
{
    const QByteArray text("\nfirst\n\nsecond\r\nthird\rlast\n", 27);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    ASSERT_TRUE(WriteScriptFile(buffer, text));
    EXPECT_EQ(buffer.data(), QByteArray("\r\nfirst\r\n\r\nsecond\r\r\nthird\rlast\r\n"));
    buffer.seek(0);
    EXPECT_EQ(ReadScriptFile(buffer), text);
}
