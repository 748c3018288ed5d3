#include "ControlWindowFixture.h"

#include "RunDriver.h"

#include "ScriptCapture.h"
#include "ScrollRunState.h"
#include "TickSource.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

// SCROLL from the control window: what the run is given and what the window
// shows when it is over.
class ScrollCommand : public ControlWindowFixture
{
  protected:
    void SetUp() override
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
        WriteBytes(QStringLiteral("script.txt"), "First line\r\nSecond line\r\nThird line\r\n");
    }

    void TearDown() override
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
    }

    // Keys for the prompter, sent one per turn once the run is going; a
    // safety net stops a run that does not end.
    void DuringTheRun(std::vector<Qt::Key> keys)
    {
        m_keys = std::move(keys);
        m_run.Start();
    }

    RunDriver m_run{[this] {
        if (m_keys.empty())
            return;
        cursorOverridden = cursorOverridden || QGuiApplication::overrideCursor();
        // The way the operator's keys go: through the window system to the
        // prompter's window, where a modal window could hold them back.
        QTest::keyClick(g_runState.prompterWindow->windowHandle(), m_keys.front());
        m_keys.erase(m_keys.begin());
    }};
    bool& stuck = m_run.stuck;
    bool cursorOverridden = false; // a cursor for every window covered the prompter's

  private:
    // The tick counter stands still, so no step is ever due: the text stays
    // where it starts and never pauses at the end on its own.
    ScopedTickSource m_frozenTicks{[] { return std::uint64_t{0}; }};
    std::vector<Qt::Key> m_keys;
};

TEST_F(ScrollCommand, FillsTheRunFromTheWindowAndPutsTheFinalSpeedOnTheSlider)
{
    Create();
    Window().m_settings.m_nFontSize = 240;
    Window().m_settings.m_crText = 0x00112233;
    Window().m_settings.m_crBack = 0x00445566;
    Open();
    Window().SpeedSlider().setValue(31000);
    Editor().SetSelection(3, 8);
    // Resume, two steps slower, pause, stop.
    DuringTheRun({Qt::Key_Space, Qt::Key_S, Qt::Key_S, Qt::Key_Space, Qt::Key_Escape});

    Window().Button(Ids::kScrollButton)->click();

    EXPECT_FALSE(stuck);
    EXPECT_FALSE(cursorOverridden);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(g_runParams.scriptText.View(), "First line\r\nSecond line\r\nThird line\r\n\r\n");
    EXPECT_EQ(g_runParams.lineCount, 4);
    EXPECT_EQ(g_runParams.fontFace, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(g_runParams.fontPoints, 48);
    EXPECT_EQ(g_runParams.fontWeight, 400);
    EXPECT_EQ(g_runParams.textColor, 0x00112233u);
    EXPECT_EQ(g_runParams.backColor, 0x00445566u);
    EXPECT_EQ(g_runParams.speedValue, 1000);
    EXPECT_EQ(g_runParams.controlMode, SpeedControlMode::MouseWheel);
    EXPECT_TRUE(g_runParams.mirror);
    EXPECT_FALSE(g_runParams.useMonitor2);
    EXPECT_EQ(Window().SpeedSlider().value(), 32000 - 2000);
    EXPECT_EQ(Editor().Selection(), (CharRange{3, 8}));
}

TEST_F(ScrollCommand, TheKeysReachThePrompterWhileTheControlWindowRunsModally)
{
    Create();
    Window().setWindowModality(Qt::ApplicationModal);
    // Resume, two steps slower, stop; then close the window.
    DuringTheRun({Qt::Key_Space, Qt::Key_S, Qt::Key_S, Qt::Key_Escape});
    bool modal = false;
    QTimer::singleShot(0, &Window(), [this, &modal] {
        modal = QApplication::activeModalWidget() == &Window();
        Window().Button(Ids::kScrollButton)->click();
        Window().done(QDialog::Rejected);
    });
    Window().DoModal();
    EXPECT_TRUE(modal);
    EXPECT_FALSE(stuck);
    EXPECT_EQ(Window().m_settings.m_nScrollSpeed, 80 + 1000);
}

TEST_F(ScrollCommand, TheScrollMenuItemRunsTheSameCommandWithHalfPointSizesDroppedBeforeDoubling)
{
    Create();
    Window().m_settings.m_nFontSize = 125;
    Open();
    Window().SpeedSlider().setValue(32000);
    DuringTheRun({Qt::Key_Escape});
    EXPECT_TRUE(Window().RunCommand(Ids::kCmdScroll));
    EXPECT_FALSE(stuck);
    EXPECT_EQ(g_runParams.fontPoints, 24);
    EXPECT_EQ(g_runParams.speedValue, 0);
    EXPECT_EQ(Window().SpeedSlider().value(), 32000);
}

TEST_F(ScrollCommand, MouseNeedsItsBoxAloneAndMonitorOneMirrorsUnlessForward)
{
    const struct {
        bool mouse, wheel, mon1Fwd, mon2Fwd;
        SpeedControlMode mode;
        bool mirror;
    } cases[] = {
        {true, false, false, false, SpeedControlMode::MousePosition, true},
        {true, true, false, false, SpeedControlMode::MouseWheel, true},
        {false, true, false, false, SpeedControlMode::MouseWheel, true},
        {false, false, false, false, SpeedControlMode::MouseWheel, true},
        {false, true, true, false, SpeedControlMode::MouseWheel, false},
        {false, true, false, true, SpeedControlMode::MouseWheel, true},
    };
    Open();
    Window().SpeedSlider().setValue(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mouse << c.wheel << c.mon1Fwd << c.mon2Fwd);
        Window().Button(Ids::kMouseCheck)->SetChecked(c.mouse, false);
        Window().Button(Ids::kMouseWheelCheck)->SetChecked(c.wheel, false);
        Window().Button(Ids::kMon1FwdCheck)->SetChecked(c.mon1Fwd, false);
        Window().Button(Ids::kMon2FwdCheck)->SetChecked(c.mon2Fwd, false);
        DuringTheRun({Qt::Key_Escape});
        Window().OnScroll();
        EXPECT_EQ(g_runParams.controlMode, c.mode);
        EXPECT_EQ(g_runParams.mirror, c.mirror);
        EXPECT_FALSE(g_runParams.useMonitor2);
    }
    EXPECT_FALSE(stuck);
}

TEST_F(ScrollCommand, MonitorTwoMirrorsUnlessItsForwardBoxIsChecked)
{
    // This machine has one screen, so a run on monitor 2 cannot start; the
    // window is left as it was.
    Open();
    Window().m_bMonitor2 = true;
    Window().Button(Ids::kMon1FwdCheck)->SetChecked(true, false);
    Window().Button(Ids::kMon2FwdCheck)->SetChecked(false, false);
    Window().SpeedSlider().setValue(25000);
    Editor().SetSelection(2, 5);
    Window().OnScroll();
    EXPECT_TRUE(g_runParams.mirror);
    EXPECT_TRUE(g_runParams.useMonitor2);
    EXPECT_EQ(Window().SpeedSlider().value(), 25000);
    EXPECT_EQ(Editor().Selection(), (CharRange{2, 5}));

    Window().Button(Ids::kMon2FwdCheck)->SetChecked(true, false);
    Window().OnScroll();
    EXPECT_FALSE(g_runParams.mirror);
}

TEST_F(ScrollCommand, ABigScriptStartsWithItsFirstLinesAndGetsEveryOtherWhilePaused)
{
    // Enough lines that the editor groups them into paragraphs, some long
    // enough to wrap and to be cut.
    QByteArray script;
    for (int k = 0; k < 21000; ++k)
        script +=
            k % 7 == 0 ? QByteArray(130, 'w') + "\r\n" : "Line " + QByteArray::number(k) + "\r\n";
    WriteBytes(QStringLiteral("script.txt"), script);
    Create();
    Open();
    const int displayed = Editor().LineCount();
    int linesAtStart = 0;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!g_runState.running)
            return;
        if (linesAtStart == 0)
            linesAtStart = g_runParams.lineCount;
        if (g_runParams.lineCount == displayed)
            QTest::keyClick(g_runState.prompterWindow, Qt::Key_Escape);
    });
    watch.start();
    DuringTheRun({});

    Window().Button(Ids::kScrollButton)->click();

    EXPECT_FALSE(stuck);
    EXPECT_LT(linesAtStart, displayed);
    const CapturedScript whole = CaptureScript(Editor());
    EXPECT_EQ(g_runParams.lineCount, whole.lineCount);
    EXPECT_TRUE(g_runParams.scriptText.View() == whole.text);
    EXPECT_EQ(LineStart(displayed), static_cast<int>(whole.text.size()));
}

TEST_F(ScrollCommand, TheRunLearnsTheOperatorsScreenOnlyWhenThePreviewIsOn)
{
    Create();
    Open();
    for (const bool preview : {false, true}) {
        SCOPED_TRACE(preview);
        Window().m_settings.showPreview = preview;
        g_runParams.operatorScreen = nullptr;
        DuringTheRun({Qt::Key_Escape});
        Window().Button(Ids::kScrollButton)->click();
        EXPECT_FALSE(stuck);
        EXPECT_EQ(g_runParams.operatorScreen.data(), preview ? Window().screen() : nullptr);
    }
}
