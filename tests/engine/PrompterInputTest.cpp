#include "LineStarts.h"
#include "PrompterRunFixture.h"
#include "ReadingPosition.h"
#include "RunClock.h"
#include "Surface.h"

#include <QDialog>
#include <QTest>

// The operator's input while a run goes on: each key, button, movement and
// wheel event against the run state, through the prompter window itself.
class PrompterInput : public PrompterRunFixture
{
  protected:
    void SetUp() override
    {
        PrompterRunFixture::SetUp();
        window = CreatePrompterWindow();
        g_runState.running = true;
        g_runState.paused = false;
        g_runState.speedValue = 10000;
        ClampSpeed();
    }

    void TearDown() override
    {
        window.reset();
        g_runState.primarySurface = nullptr;
        g_runState.offscreenSurface = nullptr;
        PrompterRunFixture::TearDown();
    }

    // Puts the script on a run's picture, lines 20 rows high, for jumps.
    void ShowScript(const std::string& text, int lines)
    {
        g_runParams.scriptText = text;
        g_runParams.lineCount = lines;
        g_runState.primarySurface = &primary;
        g_runState.offscreenSurface = &offscreen;
        g_runState.lineHeight = 20;
        ResetMotionForNewRun();
        RecordLineStarts(0);
        DrawInitialImage();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(window.get(), &press);
    }

    std::unique_ptr<CPrompterWindow> window;
    Surface primary, offscreen;
};

TEST_F(PrompterInput, KeysStopPauseAndReverseOnlyAsTheRunsStateAllows)
{
    constexpr auto F = ScrollDirection::Forward;
    constexpr auto B = ScrollDirection::Backward;
    struct Case {
        bool paused;
        ScrollDirection direction;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool pausedAfter, runningAfter, changeAfter;
    };
    const Case cases[] = {
        {false, F, Qt::Key_Escape, {}, false, false, false},
        {true, F, Qt::Key_Escape, {}, true, false, false},
        {false, F, Qt::Key_Space, {}, true, true, false},
        {true, F, Qt::Key_Space, {}, false, true, false},
        // D reverses only a forward run and U only a backward one, with or without Shift.
        {false, F, Qt::Key_U, {}, false, true, false},
        {false, F, Qt::Key_D, Qt::ShiftModifier, false, true, true},
        {false, B, Qt::Key_D, {}, false, true, false},
        {false, B, Qt::Key_U, {}, false, true, true},
        // While paused only Space and Escape count.
        {true, F, Qt::Key_F, {}, true, true, false},
        {true, F, Qt::Key_S, {}, true, true, false},
        {true, F, Qt::Key_D, {}, true, true, false},
        {true, B, Qt::Key_U, {}, true, true, false},
        // Keys the prompter does not know do nothing.
        {false, F, Qt::Key_A, {}, false, true, false},
        {false, F, Qt::Key_Return, {}, false, true, false},
        {false, F, Qt::Key_Left, {}, false, true, false},
        {false, F, Qt::Key_Tab, {}, false, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString() +
                     (c.paused ? " paused" : " moving"));
        g_runState.running = true;
        g_runState.paused = c.paused;
        g_runState.direction = c.direction;
        g_runState.directionChangeRequested = false;
        QTest::keyClick(window.get(), c.key, c.modifiers);
        EXPECT_EQ(g_runState.paused, c.pausedAfter);
        EXPECT_EQ(g_runState.running, c.runningAfter);
        EXPECT_EQ(g_runState.directionChangeRequested, c.changeAfter);
        EXPECT_EQ(g_runState.speedValue, 10000);
    }
}

TEST_F(PrompterInput, FAndSChangeTheSpeedByFiveHundredWithinZeroAnd32000)
{
    struct Case {
        int speed;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int speedAfter;
    };
    const Case cases[] = {
        {10000, Qt::Key_F, {}, 9500},  {10000, Qt::Key_F, Qt::ShiftModifier, 9500},
        {10000, Qt::Key_S, {}, 10500}, {10000, Qt::Key_S, Qt::ShiftModifier, 10500},
        {200, Qt::Key_F, {}, 0},       {0, Qt::Key_F, {}, 0},
        {31800, Qt::Key_S, {}, 32000}, {32000, Qt::Key_S, {}, 32000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString() + " at " +
                     std::to_string(c.speed));
        g_runState.speedValue = c.speed;
        QTest::keyClick(window.get(), c.key, c.modifiers);
        EXPECT_EQ(g_runState.speedValue, c.speedAfter);
        EXPECT_EQ(g_runState.stepInterval, std::int64_t{c.speedAfter} * 1000);
    }
    // Held down, the key repeats its action.
    g_runState.speedValue = 10000;
    Key(Qt::Key_F, Qt::NoModifier, true);
    Key(Qt::Key_F, Qt::NoModifier, true);
    EXPECT_EQ(g_runState.speedValue, 9000);
}

TEST_F(PrompterInput, TheLeftButtonPausesAndResumesAndTheRightReversesEitherWayUnlessPaused)
{
    const auto click = [this](Qt::MouseButton button) {
        QTest::mouseClick(window.get(), button, Qt::NoModifier, QPoint(20, 20));
    };
    click(Qt::LeftButton);
    EXPECT_TRUE(g_runState.paused);
    click(Qt::RightButton);
    EXPECT_FALSE(g_runState.directionChangeRequested);
    click(Qt::LeftButton);
    EXPECT_FALSE(g_runState.paused);
    for (auto direction : {ScrollDirection::Forward, ScrollDirection::Backward}) {
        g_runState.direction = direction;
        g_runState.directionChangeRequested = false;
        click(Qt::RightButton);
        EXPECT_TRUE(g_runState.directionChangeRequested);
    }
    EXPECT_TRUE(g_runState.running);
}

TEST_F(PrompterInput, AFollowersOwnKeysAndMouseDoNothingButEnd)
{
    g_runParams.followsLeader = true;
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_F, Qt::Key_S, Qt::Key_D, Qt::Key_PageDown,
                              Qt::Key_Home, Qt::Key_5, Qt::Key_Return})
        Key(key);
    QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseClick(window.get(), Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    SendWheel(240);
    EXPECT_FALSE(g_runState.paused);
    EXPECT_FALSE(g_runState.directionChangeRequested);
    EXPECT_EQ(g_runState.speedValue, 10000);
    EXPECT_FALSE(g_runState.typedStory.Shown(RunClockNow()));
    EXPECT_TRUE(g_runState.running);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(g_runState.running);
}

TEST_F(PrompterInput, OneWheelEventIsOneStepWhateverItsDelta)
{
    SendWheel(240);
    EXPECT_EQ(g_runState.speedValue, 9500);
    SendWheel(120);
    EXPECT_EQ(g_runState.speedValue, 9000);
    SendWheel(-360);
    EXPECT_EQ(g_runState.speedValue, 9500);
    EXPECT_EQ(g_runState.stepInterval, 9'500'000);
}

TEST_F(PrompterInput, MovingDownSlowsAndLevelOrUpSpeedsUpEvenWhilePaused)
{
    g_runParams.controlMode = SpeedControlMode::MousePosition;
    SendMouseMove(5, 100); // below the remembered 0: slower
    EXPECT_EQ(g_runState.speedValue, 10500);
    EXPECT_EQ(g_runState.lastMouseY, 100);
    SendMouseMove(300, 100); // level: faster
    EXPECT_EQ(g_runState.speedValue, 10000);
    SendMouseMove(300, 40); // up: faster
    EXPECT_EQ(g_runState.speedValue, 9500);
    EXPECT_EQ(g_runState.lastMouseY, 40);
    // Unlike keys, movement changes the speed while paused.
    g_runState.paused = true;
    SendMouseMove(300, 100);
    EXPECT_EQ(g_runState.speedValue, 10000);
    // A height above the window counts as far below.
    SendMouseMove(5, -1);
    EXPECT_EQ(g_runState.lastMouseY, 65535);
    EXPECT_EQ(g_runState.speedValue, 10500);
}

TEST_F(PrompterInput, EachModeIgnoresTheOtherModesInputAndOnlyClamps)
{
    g_runState.speedValue = 40000; // as if set from outside without a clamp
    SendMouseMove(5, 200);
    EXPECT_EQ(g_runState.speedValue, 32000);
    EXPECT_EQ(g_runState.lastMouseY, 0);

    g_runParams.controlMode = SpeedControlMode::MousePosition;
    g_runState.speedValue = 10000;
    SendWheel(240);
    SendWheel(-120);
    EXPECT_EQ(g_runState.speedValue, 10000);
}

TEST_F(PrompterInput, DeactivationStopsTheRunUnlessMinimisedAndActivationNever)
{
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    EXPECT_TRUE(g_runState.running);

    QEvent deactivate(QEvent::WindowDeactivate);
    window->setWindowState(Qt::WindowMinimized);
    QApplication::sendEvent(window.get(), &deactivate);
    EXPECT_TRUE(g_runState.running);
    window->setWindowState(Qt::WindowNoState);
    QApplication::sendEvent(window.get(), &deactivate);
    EXPECT_FALSE(g_runState.running);
}

TEST_F(PrompterInput, SwitchingToAnotherWindowStopsTheRun)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(g_runState.running);
}

TEST_F(PrompterInput, TheWindowSystemDeliversKeysAndTheMouseWhileTheControlWindowIsModal)
{
    // A run starts from the control window's modal loop; what the operator
    // does must still reach the prompter, not be held back for the modal window.
    window.reset();
    QDialog control;
    control.setWindowModality(Qt::ApplicationModal);
    control.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &control);
    window = CreatePrompterWindow();
    QWindow* handle = window->windowHandle();
    ASSERT_NE(handle, nullptr);

    QTest::keyClick(handle, Qt::Key_S);
    EXPECT_EQ(g_runState.speedValue, 10500);
    g_runParams.controlMode = SpeedControlMode::MousePosition;
    QTest::mouseMove(handle, QPoint(30, 200));
    EXPECT_EQ(g_runState.speedValue, 11000);
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, QPoint(30, 200));
    EXPECT_TRUE(g_runState.paused);
    QTest::keyClick(handle, Qt::Key_Escape);
    EXPECT_FALSE(g_runState.running);
}

TEST_F(PrompterInput, ClickerAndPedalKeysActAsTheirLettersAndJumpWhetherPausedOrMoving)
{
    QWindow* handle = window->windowHandle();
    ASSERT_NE(handle, nullptr);
    // The arrows are F and S: a step while moving, nothing while paused.
    struct Speed {
        bool paused;
        Qt::Key key;
        int speedAfter;
    };
    for (const Speed& c : {Speed{false, Qt::Key_Down, 9500}, Speed{false, Qt::Key_Up, 10500},
                           Speed{true, Qt::Key_Down, 10000}, Speed{true, Qt::Key_Up, 10000}}) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString() + (c.paused ? " paused" : ""));
        g_runState.paused = c.paused;
        g_runState.speedValue = 10000;
        QTest::keyClick(handle, c.key);
        EXPECT_EQ(g_runState.speedValue, c.speedAfter);
        EXPECT_EQ(g_runState.paused, c.paused);
    }
    // B and the full stop are Space.
    for (Qt::Key key : {Qt::Key_B, Qt::Key_Period}) {
        for (bool paused : {false, true}) {
            g_runState.paused = paused;
            QTest::keyClick(handle, key);
            EXPECT_EQ(g_runState.paused, !paused);
        }
    }

    // Page Down, Page Up and Home jump on a run's picture and keep the motion.
    ShowScript("A\r\n\r\nB\r\nC\r\n\r\nD\r\n", 6);
    // Before anything is read, the next paragraph is the first.
    QTest::keyClick(handle, Qt::Key_PageDown);
    EXPECT_EQ(LineBeingRead(), 0);
    for (bool paused : {true, false}) {
        g_runState.paused = paused;
        QTest::keyClick(handle, Qt::Key_PageDown);
        EXPECT_EQ(LineBeingRead(), 2);
        QTest::keyClick(handle, Qt::Key_PageDown);
        EXPECT_EQ(LineBeingRead(), 5);
        QTest::keyClick(handle, Qt::Key_PageDown);
        EXPECT_EQ(LineBeingRead(), 5);
        QTest::keyClick(handle, Qt::Key_PageUp);
        EXPECT_EQ(LineBeingRead(), 2);
        QTest::keyClick(handle, Qt::Key_Home);
        EXPECT_EQ(LineBeingRead(), 0);
        EXPECT_EQ(g_runState.paused, paused);
        EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
        EXPECT_TRUE(g_runState.running);
    }
}

TEST_F(PrompterInput, DigitsAndEnterOnTheKeyboardOrTheKeypadGoToThatParagraph)
{
    QWindow* handle = window->windowHandle();
    ASSERT_NE(handle, nullptr);
    std::string script;
    for (int paragraph = 1; paragraph <= 12; ++paragraph)
        script += "Story " + std::to_string(paragraph) + "\r\nmore\r\n\r\n";
    ShowScript(script, 36);
    g_runState.paused = false;
    QTest::keyClick(handle, Qt::Key_1);
    QTest::keyClick(handle, Qt::Key_2);
    QTest::keyClick(handle, Qt::Key_Return);
    EXPECT_EQ(LineBeingRead(), 33);
    QTest::keyClick(handle, Qt::Key_4, Qt::KeypadModifier);
    QTest::keyClick(handle, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(LineBeingRead(), 9);
    QTest::keyClick(handle, Qt::Key_Return);
    EXPECT_EQ(LineBeingRead(), 9) << "Enter alone does nothing";
    EXPECT_FALSE(g_runState.paused);
    EXPECT_TRUE(g_runState.running);
}
