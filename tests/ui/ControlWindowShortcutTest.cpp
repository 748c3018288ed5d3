#include "ControlWindowFixture.h"

#include "HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

// The keys of table 136 are commands anywhere in the window, the editor
// included; they never reach the editor as text.
class ControlWindowShortcuts : public ControlWindowFixture
{
  protected:
    void SetUp() override
    {
        WriteBytes(QStringLiteral("script.txt"), "abc\r\n");
        Open();
        Editor().setFocus();
        Editor().SetSelection(0, 0);
    }
};

TEST_F(ControlWindowShortcuts, EveryShortcutTypedInTheEditorRunsItsCommand)
{
    // Commands that leave the editor's text alone whatever they do.
    EXPECT_TRUE(TypedRuns(Qt::Key_S, Qt::ControlModifier, Ids::kCmdSave));
    EXPECT_TRUE(TypedRuns(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, Ids::kCmdSaveAs));
    EXPECT_TRUE(TypedRuns(Qt::Key_P, Qt::ControlModifier, Ids::kCmdPrint));
    EXPECT_TRUE(TypedRuns(Qt::Key_O, Qt::ControlModifier, Ids::kCmdOpen));
    EXPECT_TRUE(TypedRuns(Qt::Key_C, Qt::ControlModifier, Ids::kCmdCopy) ||
                !Window().CommandAction(Ids::kCmdCopy)->isEnabled());
    EXPECT_TRUE(TypedRuns(Qt::Key_A, Qt::ControlModifier, Ids::kCmdSelectAll));
    EXPECT_EQ(Editor().Text(), QByteArray("abc\n"));
}

TEST_F(ControlWindowShortcuts, ShortcutsActOnEveryControlOfTheWindow)
{
    QSignalSpy triggered(Window().CommandAction(Ids::kCmdSave), &QAction::triggered);
    QTest::keyClick(&Window().SpeedSlider(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(Window().Button(Ids::kMouseCheck), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(triggered.count(), 2);
}

TEST_F(ControlWindowShortcuts, ShiftSTypesACapitalS)
{
    QSignalSpy saveAs(Window().CommandAction(Ids::kCmdSaveAs), &QAction::triggered);
    QTest::keyClick(&Editor(), 'S', Qt::ShiftModifier);
    QTest::keyClicks(&Editor(), QStringLiteral("S"));
    EXPECT_EQ(saveAs.count(), 0);
    EXPECT_EQ(Editor().Text(), QByteArray("SSabc\n"));
}

TEST_F(ControlWindowShortcuts, ADisabledCommandDoesNothingAndTheKeyIsStillConsumed)
{
    // Paste, with text on the clipboard, would insert it if the key reached
    // the editor.
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QAction* paste = Window().CommandAction(Ids::kCmdPaste);
    QSignalSpy triggered(paste, &QAction::triggered);
    // Update rules may enable it again; hold it disabled for this key only.
    QObject::connect(paste, &QAction::changed, paste, [paste] {
        if (paste->isEnabled())
            paste->setEnabled(false);
    });
    paste->setEnabled(false);
    QTest::keyClick(&Editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(triggered.count(), 0);
    EXPECT_EQ(Editor().Text(), QByteArray("abc\n"));
}

TEST_F(ControlWindowShortcuts, AShortcutRunsWhenItsCommandHasBecomeAvailableSinceTheMenuShowedIt)
{
    // The Edit menu last showed Copy disabled, before anything was selected.
    Window().CommandAction(Ids::kCmdCopy)->setEnabled(false);
    Editor().SetSelection(0, 3);
    for (QWidget* target :
         {static_cast<QWidget*>(&Editor()), static_cast<QWidget*>(&Window().SpeedSlider())}) {
        Window().CommandAction(Ids::kCmdCopy)->setEnabled(false);
        QApplication::clipboard()->clear();
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("abc"));
    }
}

TEST_F(ControlWindowShortcuts, F1InTheEditorOpensTheHelpAndClosingTheWindowClosesIt)
{
    QTest::keyClick(&Editor(), Qt::Key_F1);
    const QPointer<HelpWindow> help = Window().findChild<HelpWindow*>();
    ASSERT_FALSE(help.isNull());
    EXPECT_TRUE(help->isVisible());
    Window().done(QDialog::Rejected);
    // Closed, the help window deletes itself.
    EXPECT_TRUE(help.isNull() || !help->isVisible());
}

TEST_F(ControlWindowShortcuts, EnterNeverClosesTheWindow)
{
    QTest::keyClick(&Window().SpeedSlider(), Qt::Key_Return);
    QTest::keyClick(Window().Button(Ids::kMon1FwdCheck), Qt::Key_Enter);
    QTest::keyClick(&Window(), Qt::Key_Return);
    Window().accept();
    EXPECT_TRUE(Window().isVisible());
    QTest::keyClick(&Editor(), Qt::Key_Return);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Editor().Text(), QByteArray("\nabc\n"));
}

TEST_F(ControlWindowShortcuts, EscapeAndTheCloseBoxTakeTheClosingPath)
{
    for (const bool byEscape : {true, false}) {
        SCOPED_TRACE(byEscape);
        m_window.reset();
        SetUp();
        Window().SpeedSlider().setValue(31000);
        if (byEscape)
            QTest::keyClick(&Window().SpeedSlider(), Qt::Key_Escape);
        else
            EXPECT_TRUE(Window().close());
        EXPECT_FALSE(Window().isVisible());
        EXPECT_EQ(Window().result(), QDialog::Rejected);
        EXPECT_EQ(Window().m_settings.m_nScrollSpeed, 1000);
    }
}

TEST_F(ControlWindowShortcuts, MapsEachKeyWithExactlyItsModifiersToItsCommandAndNothingElse)
{
    // The key is caught where its command would take it, so nothing runs.
    struct ShortcutCatcher : QObject {
        int command = 0;
        bool eventFilter(QObject* action, QEvent* event) override
        {
            if (event->type() != QEvent::Shortcut)
                return false;
            command = static_cast<QAction*>(action)->data().toInt();
            return true;
        }
    } caught;
    for (QAction* action : Window().findChildren<QAction*>())
        action->installEventFilter(&caught);
    constexpr auto kCtrl = Qt::ControlModifier;
    constexpr auto kShift = Qt::ShiftModifier;
    const struct {
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        int command; // 0: no shortcut
    } cases[] = {
        {kCtrl, Qt::Key_C, Ids::kCmdCopy},
        {kCtrl, Qt::Key_X, Ids::kCmdCut},
        {kCtrl, Qt::Key_V, Ids::kCmdPaste},
        {kCtrl, Qt::Key_Y, Ids::kCmdRedo},
        {kCtrl, Qt::Key_A, Ids::kCmdSelectAll},
        {kCtrl, Qt::Key_Z, Ids::kCmdUndo},
        {kCtrl, Qt::Key_O, Ids::kCmdOpen},
        {kCtrl, Qt::Key_N, Ids::kCmdNew},
        {kCtrl, Qt::Key_S, Ids::kCmdSave},
        {kCtrl, Qt::Key_P, Ids::kCmdPrint},
        {Qt::NoModifier, Qt::Key_F1, Ids::kCmdHelpContents},
        // Save As needs Control and Shift, so Shift+S stays a letter.
        {kCtrl | kShift, Qt::Key_S, Ids::kCmdSaveAs},
        {kShift, Qt::Key_S, 0},
        {Qt::NoModifier, Qt::Key_S, 0},
        // The keypad flag does not change the key; any other extra modifier does.
        {kCtrl | Qt::KeypadModifier, Qt::Key_V, Ids::kCmdPaste},
        {kCtrl | Qt::AltModifier, Qt::Key_C, 0},
        {kShift, Qt::Key_F1, 0},
        {kCtrl | kShift, Qt::Key_Z, 0},
        {Qt::NoModifier, Qt::Key_A, 0},
        {Qt::NoModifier, Qt::Key_Return, 0},
        {Qt::NoModifier, Qt::Key_Escape, 0},
    };
    for (const auto& c : cases) {
        caught.command = 0;
        QTest::keyClick(&Window().SpeedSlider(), c.key, c.modifiers);
        EXPECT_EQ(caught.command, c.command)
            << "modifiers " << c.modifiers.toInt() << " key " << c.key;
    }
}
