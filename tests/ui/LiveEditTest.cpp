#include "ControlWindowFixture.h"

#include "RunDriver.h"

#include "PrompterCommands.h"
#include "ReadingPosition.h"
#include "ScriptCapture.h"
#include "ScrollRunState.h"
#include "TickSource.h"

#include <QApplication>
#include <QTextBlock>
#include <QTimer>

#include <functional>
#include <vector>

namespace
{
// Forty lines, a blank one at 20, so paragraphs begin at lines 0 and 21.
QByteArray FortyLines()
{
    QByteArray script;
    for (int k = 0; k < 40; ++k)
        script += k == 20 ? QByteArray("\r\n") : "Line " + QByteArray::number(k) + "\r\n";
    return script;
}

using Step = std::function<void()>;
} // namespace

// Edit While Prompting: the control window during a run.
class LiveEdit : public ControlWindowFixture
{
  protected:
    void SetUp() override
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
        WriteBytes(QStringLiteral("script.txt"), FortyLines());
    }

    void TearDown() override
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
    }

    void OpenLive(bool live)
    {
        Create();
        Window().m_settings.liveEdit = live;
        Open();
    }

    // Runs SCROLL and, one per turn of the run's loop, the steps; a safety
    // net stops a run that does not end.
    void Scroll(std::vector<Step> steps)
    {
        m_steps = std::move(steps);
        m_run.Start();
        Window().Button(Ids::kScrollButton)->click();
        m_run.Stop();
    }

    // The operator turns to the control window and its editor.
    Step TurnToTheControlWindow()
    {
        return [this] {
            Window().activateWindow();
            Editor().setFocus();
        };
    }

    // Another program takes the focus from the prompter, once the prompter has it.
    Step LeaveTheProgram()
    {
        return [this] {
            if (QApplication::activeWindow() != g_runState.prompterWindow)
                m_steps.insert(m_steps.begin(), LeaveTheProgram());
            else
                QApplication::setActiveWindow(nullptr);
        };
    }

    Step Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        return [this, key, modifiers] { QTest::keyClick(Window().windowHandle(), key, modifiers); };
    }

    // The run's script is the editor's lines as they stand now.
    Step ExpectTheRunFollows()
    {
        return [this] {
            const CapturedScript now = CaptureScript(Editor());
            EXPECT_EQ(g_runParams.lineCount, now.lineCount);
            EXPECT_TRUE(g_runParams.scriptText.View() == now.text) << g_runParams.scriptText.View();
        };
    }

    std::vector<Step> m_steps;
    RunDriver m_run{[this] {
        if (m_steps.empty())
            return;
        const Step step = m_steps.front();
        m_steps.erase(m_steps.begin());
        step();
    }};
    bool& stuck = m_run.stuck;

  private:
    // No step is ever due: the text stays where the run or a jump puts it.
    ScopedTickSource m_frozenTicks{[] { return std::uint64_t{0}; }};
};

TEST_F(LiveEdit, TheControlWindowEndsTheRunOnlyWhenEditingWhilePromptingIsOff)
{
    for (bool live : {false, true}) {
        SCOPED_TRACE(live ? "live" : "off");
        OpenLive(live);
        bool runningAfterTurning = false;
        Scroll({TurnToTheControlWindow(), [&] { runningAfterTurning = g_runState.running; },
                Type(Qt::Key_Escape)});
        EXPECT_FALSE(stuck);
        EXPECT_EQ(runningAfterTurning, live);
        // Esc during the run ended the run, not the program.
        EXPECT_TRUE(Window().isVisible());
        EXPECT_FALSE(g_runState.running);
        if (live) {
            // Losing the focus to another program still ends the run.
            Scroll({LeaveTheProgram()});
            EXPECT_FALSE(stuck);
        }
        m_window.reset();
    }
}

TEST_F(LiveEdit, EditsReachTheRunAtOnceAndStayUndoableAfterIt)
{
    OpenLive(true);
    Editor().SetSelection(0, 0);
    const QString before = Editor().EditedText();
    Scroll({TurnToTheControlWindow(), Type(Qt::Key_X), Type(Qt::Key_Return), ExpectTheRunFollows(),
            // A paragraph long enough to wrap in the editor gives the run its lines.
            [this] { Editor().insertPlainText(QString(300, u'w')); }, ExpectTheRunFollows(),
            // A larger editor font breaks the lines anew.
            [this] {
                Window().m_settings.m_nFontSize = 200;
                Window().ApplyEditorFont(0);
            },
            ExpectTheRunFollows(), Type(Qt::Key_Z, Qt::ControlModifier), ExpectTheRunFollows(),
            [this] { Editor().SetSelection(0, -1); }, Type(Qt::Key_Delete), ExpectTheRunFollows(),
            Type(Qt::Key_Z, Qt::ControlModifier), ExpectTheRunFollows(),
            Type(Qt::Key_F5, Qt::ShiftModifier)});
    EXPECT_FALSE(stuck);
    EXPECT_EQ(Editor().EditedText(), "x\n" + before);
    EXPECT_TRUE(Window().HasUnsavedChanges());
    // The run's end changed nothing: undo goes on taking the edits back.
    Window().RunCommand(Ids::kCmdUndo);
    Window().RunCommand(Ids::kCmdUndo);
    EXPECT_EQ(Editor().EditedText(), before);
}

TEST_F(LiveEdit, TheRunKeysDriveTheRunAndTypeNothing)
{
    OpenLive(true);
    Window().SpeedSlider().setValue(32000 - 5000);
    const QString text = Editor().EditedText();
    // Where F9 sends the glass; the other keys leave the cursor there.
    Editor().setTextCursor(QTextCursor(Editor().document()->findBlockByNumber(9)));
    struct KeyCase {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::function<bool()> done;
    };
    const std::vector<KeyCase> cases = {
        {"F5 resumes", Qt::Key_F5, Qt::NoModifier, [] { return !g_runState.paused; }},
        {"F7 is faster", Qt::Key_F7, Qt::NoModifier,
         [] { return g_runState.speedValue == g_runParams.speedValue - kPrompterSpeedStep; }},
        {"F6 is slower", Qt::Key_F6, Qt::NoModifier,
         [] { return g_runState.speedValue == g_runParams.speedValue; }},
        {"F8 reverses", Qt::Key_F8, Qt::NoModifier,
         [] { return g_runState.directionChangeRequested; }},
        {"F5 pauses", Qt::Key_F5, Qt::NoModifier, [] { return g_runState.paused; }},
        {"F9 sends the glass to the cursor's line", Qt::Key_F9, Qt::NoModifier,
         [] { return LineBeingRead() == 9; }},
        {"F11 is the next paragraph", Qt::Key_F11, Qt::NoModifier,
         [] { return LineBeingRead() == 21; }},
        {"F10 is the paragraph before", Qt::Key_F10, Qt::NoModifier,
         [] { return LineBeingRead() == 0; }},
        {"Shift+F5 stops", Qt::Key_F5, Qt::ShiftModifier, [] { return !g_runState.running; }},
    };
    std::vector<Step> steps{TurnToTheControlWindow()};
    std::vector<bool> done;
    for (const KeyCase& c : cases) {
        steps.push_back(Type(c.key, c.modifiers));
        steps.push_back([&done, &c] { done.push_back(c.done()); });
    }
    // The last check runs once the run has stopped.
    steps.pop_back();
    Scroll(steps);
    done.push_back(cases.back().done());
    EXPECT_FALSE(stuck);
    ASSERT_EQ(done.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_TRUE(done[i]) << cases[i].what;
    EXPECT_EQ(Editor().EditedText(), text);
    // Without a run the keys do nothing, and still type nothing.
    Type(Qt::Key_F5)();
    EXPECT_EQ(Editor().EditedText(), text);
}

TEST_F(LiveEdit, NewAndOpenEndTheRunFirstAndTheRemoteReplacesTheTextUndoably)
{
    OpenLive(true);
    std::optional<QString> refusal = QStringLiteral("not asked");
    m_dialogs.answers.push_back(MessageAnswer::No);
    Scroll({[&] { refusal = Window().ReplaceScriptText(QStringLiteral("Pushed\nstory")); },
            ExpectTheRunFollows(), TurnToTheControlWindow(), Type(Qt::Key_N, Qt::ControlModifier)});
    EXPECT_FALSE(stuck);
    EXPECT_EQ(refusal, std::nullopt);
    // New came once the run had ended, and asked about the pushed text.
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_TRUE(m_dialogs.messages.front().text.contains(QStringLiteral("has changed")));
    EXPECT_EQ(Editor().EditedText(), QString());

    // Undo brings back what was there before the remote's text.
    Window().ReplaceScriptText(QStringLiteral("Pushed"));
    Window().RunCommand(Ids::kCmdUndo);
    EXPECT_EQ(Editor().EditedText(), QString());

    // With live edits off a run keeps its script and the remote is told so.
    Window().m_settings.liveEdit = false;
    Scroll({[&] { refusal = Window().ReplaceScriptText(QStringLiteral("Late")); },
            [] { g_runState.running = false; }});
    ASSERT_TRUE(refusal.has_value());
    EXPECT_TRUE(refusal->contains(QStringLiteral("Edit While Prompting")));
    EXPECT_EQ(Editor().EditedText(), QString());
}
