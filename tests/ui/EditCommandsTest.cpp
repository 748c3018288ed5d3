#include "ControlWindowFixture.h"
#include "MenuRefresh.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

// Undo, Redo, Cut, Copy, Paste and Select All on the script editor, the
// rules that enable them, and the shortcuts that obey those rules.
class EditCommands : public ControlWindowFixture
{
  protected:
    // Opens the window on a script file holding `script`.
    void OpenWith(const QByteArray& script)
    {
        WriteBytes(QStringLiteral("script.txt"), script);
        Open();
        Editor().setFocus();
        Editor().SetSelection(0, 0);
    }

    bool Enabled(int id) { return MenuShowsEnabled(Window(), id); }

    static QClipboard& Clipboard() { return *QApplication::clipboard(); }
};

// Enabling rules.

TEST_F(EditCommands, EachCommandIsEnabledByTheScriptTheSelectionAndTheHistory)
{
    const struct {
        const char* script;
        CharRange selection;
        bool selectAll; // and cut and copy
        bool cutAndCopy;
    } cases[] = {
        {"", {0, 0}, false, false},
        {"Good evening.\r\n", {0, 0}, true, false},
        {"abc", {1, 2}, true, true},
        // A selected line break alone counts as selected text.
        {"a\nb", {1, 2}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        m_window.reset();
        OpenWith(c.script);
        Editor().SetSelection(c.selection.cpMin, c.selection.cpMax);
        EXPECT_EQ(Enabled(Ids::kCmdSelectAll), c.selectAll);
        EXPECT_EQ(Enabled(Ids::kCmdCut), c.cutAndCopy);
        EXPECT_EQ(Enabled(Ids::kCmdCopy), c.cutAndCopy);
        // A loaded script has nothing to undo or redo.
        EXPECT_FALSE(Enabled(Ids::kCmdUndo));
        EXPECT_FALSE(Enabled(Ids::kCmdRedo));
    }
    // Paste is enabled exactly when the clipboard holds text.
    Clipboard().setText(QStringLiteral("on the clipboard"));
    EXPECT_TRUE(Enabled(Ids::kCmdPaste));
    Clipboard().clear();
    EXPECT_FALSE(Enabled(Ids::kCmdPaste));
    // The File menu's items are always enabled, Save even after something disabled it.
    Window().CommandAction(Ids::kCmdSave)->setEnabled(false);
    for (int id : {Ids::kCmdNew, Ids::kCmdOpen, Ids::kCmdSave, Ids::kCmdSaveAs, Ids::kCmdPrint,
                   Ids::kCmdExit})
        EXPECT_TRUE(Enabled(id)) << id;
}

// The commands, from the menu and through their shortcuts.

TEST_F(EditCommands, TypingEnablesUndoAndUndoEnablesRedo)
{
    OpenWith("abc");
    QTest::keyClicks(&Editor(), QStringLiteral("x"));
    EXPECT_TRUE(Enabled(Ids::kCmdUndo));
    EXPECT_FALSE(Enabled(Ids::kCmdRedo));
    EXPECT_TRUE(TypedRuns(Qt::Key_Z, Qt::ControlModifier, Ids::kCmdUndo));
    EXPECT_EQ(Editor().Text(), QByteArray("abc"));
    EXPECT_FALSE(Enabled(Ids::kCmdUndo));
    EXPECT_TRUE(Enabled(Ids::kCmdRedo));
    EXPECT_TRUE(TypedRuns(Qt::Key_Y, Qt::ControlModifier, Ids::kCmdRedo));
    EXPECT_EQ(Editor().Text(), QByteArray("xabc"));
    EXPECT_TRUE(Window().RunCommand(Ids::kCmdUndo));
    EXPECT_TRUE(Window().RunCommand(Ids::kCmdRedo));
    EXPECT_EQ(Editor().Text(), QByteArray("xabc"));
}

TEST_F(EditCommands, CopyKeepsTheScriptPasteReplacesTheSelectionCutMovesIt)
{
    OpenWith("abc");
    Editor().SetSelection(1, 3);
    EXPECT_TRUE(Window().RunCommand(Ids::kCmdCopy));
    EXPECT_EQ(Clipboard().text(), QStringLiteral("bc"));
    EXPECT_EQ(Editor().Text(), QByteArray("abc"));

    Clipboard().setText(QStringLiteral("XY"));
    Editor().SetSelection(1, 2);
    EXPECT_TRUE(Window().RunCommand(Ids::kCmdPaste));
    EXPECT_EQ(Editor().Text(), QByteArray("aXYc"));

    Editor().SetSelection(0, 2);
    EXPECT_TRUE(Window().RunCommand(Ids::kCmdCut));
    EXPECT_EQ(Clipboard().text(), QStringLiteral("aX"));
    EXPECT_EQ(Editor().Text(), QByteArray("Yc"));

    Editor().SetSelection(1, 2);
    EXPECT_TRUE(TypedRuns(Qt::Key_X, Qt::ControlModifier, Ids::kCmdCut));
    EXPECT_EQ(Editor().Text(), QByteArray("Y"));
    EXPECT_TRUE(TypedRuns(Qt::Key_V, Qt::ControlModifier, Ids::kCmdPaste));
    EXPECT_EQ(Editor().Text(), QByteArray("Yc"));
}

TEST_F(EditCommands, SelectAllSelectsTheWholeScriptWhereverTheFocusIs)
{
    OpenWith("one\r\ntwo\r\n");
    EXPECT_TRUE(TypedRuns(Qt::Key_A, Qt::ControlModifier, Ids::kCmdSelectAll));
    EXPECT_EQ(Editor().Selection(), (CharRange{0, Editor().TextLength()}));
    Editor().SetSelection(0, 0);
    Window().SpeedSlider().setFocus();
    Window().CommandAction(Ids::kCmdSelectAll)->trigger();
    EXPECT_EQ(Editor().Selection(), (CharRange{0, Editor().TextLength()}));
}
