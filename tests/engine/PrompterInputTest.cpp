#include "PrompterRunFixture.h"

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
        PrompterRunFixture::TearDown();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(window.get(), &press);
    }

    std::unique_ptr<CPrompterWindow> window;
};

TEST_F(PrompterInput, EscapeStopsTheRunPausedOrNot)
{
    Key(Qt::Key_Escape);
    EXPECT_FALSE(g_runState.running);
    g_runState.running = true;
    g_runState.paused = true;
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(g_runState.running);
}

TEST_F(PrompterInput, SpaceAndTheLeftButtonPauseAndResume)
{
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_TRUE(g_runState.paused);
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_FALSE(g_runState.paused);
    QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_TRUE(g_runState.paused);
    QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_FALSE(g_runState.paused);
}

TEST_F(PrompterInput, FasterAndSlowerByFiveHundredWithOrWithoutShiftAndOnAutoRepeat)
{
    QTest::keyClick(window.get(), Qt::Key_F);
    EXPECT_EQ(g_runState.speedValue, 9500);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ShiftModifier);
    EXPECT_EQ(g_runState.speedValue, 9000);
    QTest::keyClick(window.get(), Qt::Key_S);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ShiftModifier);
    QTest::keyClick(window.get(), Qt::Key_S);
    EXPECT_EQ(g_runState.speedValue, 10500);
    EXPECT_EQ(g_runState.stepInterval, 10'500'000);
    // Held down, the key repeats its action.
    Key(Qt::Key_F, Qt::NoModifier, true);
    Key(Qt::Key_F, Qt::NoModifier, true);
    EXPECT_EQ(g_runState.speedValue, 9500);
}

TEST_F(PrompterInput, SpeedIsClampedAtZeroAndAt32000)
{
    g_runState.speedValue = 200;
    QTest::keyClick(window.get(), Qt::Key_F);
    EXPECT_EQ(g_runState.speedValue, 0);
    QTest::keyClick(window.get(), Qt::Key_F);
    EXPECT_EQ(g_runState.speedValue, 0);
    EXPECT_EQ(g_runState.stepInterval, 0);

    g_runState.speedValue = 31800;
    QTest::keyClick(window.get(), Qt::Key_S);
    EXPECT_EQ(g_runState.speedValue, 32000);
    QTest::keyClick(window.get(), Qt::Key_S);
    EXPECT_EQ(g_runState.speedValue, 32000);
    EXPECT_EQ(g_runState.stepInterval, 32'000'000);
}

TEST_F(PrompterInput, ClampSpeedKeepsTheIntervalInStepWithTheSpeed)
{
    for (int speed : {-7, 0, 1, 499, 16000, 32000, 32001, 1 << 30}) {
        g_runState.speedValue = speed;
        ClampSpeed();
        EXPECT_GE(g_runState.speedValue, 0);
        EXPECT_LE(g_runState.speedValue, 32000);
        EXPECT_EQ(g_runState.stepInterval, std::int64_t{g_runState.speedValue} * 1000);
    }
}

TEST_F(PrompterInput, KeysOtherThanSpaceAndEscapeAreIgnoredWhilePaused)
{
    g_runState.paused = true;
    for (Qt::Key key : {Qt::Key_F, Qt::Key_S, Qt::Key_D, Qt::Key_U})
        QTest::keyClick(window.get(), key);
    QTest::mouseClick(window.get(), Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(g_runState.speedValue, 10000);
    EXPECT_FALSE(g_runState.directionChangeRequested);
    EXPECT_TRUE(g_runState.running);
}

TEST_F(PrompterInput, DReversesOnlyForwardAndUOnlyBackward)
{
    QTest::keyClick(window.get(), Qt::Key_U);
    EXPECT_FALSE(g_runState.directionChangeRequested);
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ShiftModifier);
    EXPECT_TRUE(g_runState.directionChangeRequested);

    g_runState.directionChangeRequested = false;
    g_runState.direction = ScrollDirection::Backward;
    QTest::keyClick(window.get(), Qt::Key_D);
    EXPECT_FALSE(g_runState.directionChangeRequested);
    QTest::keyClick(window.get(), Qt::Key_U);
    EXPECT_TRUE(g_runState.directionChangeRequested);
}

TEST_F(PrompterInput, TheRightButtonReversesEitherWay)
{
    for (auto direction : {ScrollDirection::Forward, ScrollDirection::Backward}) {
        g_runState.direction = direction;
        g_runState.directionChangeRequested = false;
        QTest::mouseClick(window.get(), Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
        EXPECT_TRUE(g_runState.directionChangeRequested);
    }
}

TEST_F(PrompterInput, OtherKeysDoNothing)
{
    const ScrollRunState before = g_runState;
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Up, Qt::Key_Tab})
        QTest::keyClick(window.get(), key);
    EXPECT_EQ(g_runState.speedValue, before.speedValue);
    EXPECT_EQ(g_runState.paused, before.paused);
    EXPECT_EQ(g_runState.running, before.running);
    EXPECT_EQ(g_runState.directionChangeRequested, before.directionChangeRequested);
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

TEST_F(PrompterInput, AHeightAboveTheWindowCountsAsFarBelow)
{
    g_runParams.controlMode = SpeedControlMode::MousePosition;
    g_runState.lastMouseY = 300;
    SendMouseMove(5, -1);
    EXPECT_EQ(g_runState.lastMouseY, 65535);
    EXPECT_EQ(g_runState.speedValue, 10500);
}

TEST_F(PrompterInput, LosingActivationStopsTheRun)
{
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(window.get(), &deactivate);
    EXPECT_FALSE(g_runState.running);
}

TEST_F(PrompterInput, ActivationAndDeactivationWhileMinimisedDoNotStop)
{
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    EXPECT_TRUE(g_runState.running);

    window->setWindowState(Qt::WindowMinimized);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(window.get(), &deactivate);
    EXPECT_TRUE(g_runState.running);
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

TEST_F(PrompterInput, TheCursorIsBlankOverTheWindow)
{
    EXPECT_EQ(window->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(g_runState.prompterWindow, window.get());
    window.reset();
    EXPECT_EQ(g_runState.prompterWindow, nullptr);
}
