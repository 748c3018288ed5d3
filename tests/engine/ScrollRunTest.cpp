#include "ScrollRun.h"

#include "LineStarts.h"
#include "PrompterDisplay.h"
#include "PrompterRunFixture.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>

namespace
{
// A stand-in for the control window behind the prompter: counts its paints.
class PaintCounter : public QWidget
{
  public:
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override
    {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::gray);
    }
};
} // namespace

// Whole runs driven by simulated input, from the start to the stop.
class ScrollRun : public PrompterRunFixture
{
  protected:
    void Key(Qt::Key key) { QTest::keyClick(Window(), key); }
    // Allows count more steps.
    std::function<void()> Allow(long count)
    {
        return [this, count] { stepBudget += count; };
    }
    // True once every allowed step has been taken.
    std::function<bool()> StepsTaken()
    {
        return [this] { return stepBudget == 0; };
    }
};

TEST_F(ScrollRun, ResumesReversesPausesAndStopsOnEscape)
{
    bool sawBlankCursor = false;
    int readsWhenPaused = 0;
    Then([&] {
        ASSERT_NE(Window(), nullptr);
        sawBlankCursor = Window()->cursor().shape() == Qt::BlankCursor;
        EXPECT_TRUE(g_runState.paused);
        EXPECT_EQ(tickReads, 0); // paused: no step reads the counter
        Key(Qt::Key_Space);
    });
    Then(Allow(800));
    Then(StepsTaken(), [&] {
        EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
        EXPECT_EQ(g_runState.lineIndex, 3 + 800 / (g_runState.lineHeight + 1) + 1);
        Key(Qt::Key_D);
    });
    Then(Allow(20));
    Then(StepsTaken(), [&] {
        EXPECT_EQ(g_runState.direction, ScrollDirection::Backward);
        Key(Qt::Key_Space);
        stepBudget = 1000;
        readsWhenPaused = tickReads;
    });
    Then([&] {
        EXPECT_TRUE(g_runState.paused);
        Key(Qt::Key_Escape);
    });
    ArmScript();

    StartScrollRun(false);

    EXPECT_TRUE(ScriptDone());
    EXPECT_FALSE(stuck);
    EXPECT_TRUE(sawBlankCursor);
    EXPECT_EQ(tickReads, readsWhenPaused); // nothing moved after the pause
    EXPECT_FALSE(g_runState.running);
    EXPECT_EQ(g_runState.prompterWindow, nullptr);
    EXPECT_EQ(g_runState.primarySurface, nullptr);
    for (QWindow* w : QGuiApplication::topLevelWindows())
        EXPECT_FALSE(w->isVisible() && w->cursor().shape() == Qt::BlankCursor);
}

TEST_F(ScrollRun, ASecondRunStartsPausedForwardWithNothingPending)
{
    // The first run goes back to the top of the script, where it pauses
    // with a change pending, and is stopped there.
    Then([&] { Key(Qt::Key_Space); });
    Then(Allow(50));
    Then(StepsTaken(), [&] {
        Key(Qt::Key_D);
        stepBudget = 1'000'000;
    });
    Then([] { return g_runState.paused; },
         [&] {
             // Reaching the end pauses the run but does not stop it.
             EXPECT_TRUE(g_runState.running);
             EXPECT_TRUE(g_runState.directionChangeRequested);
             EXPECT_EQ(g_runState.direction, ScrollDirection::Backward);
             Key(Qt::Key_Escape);
         });
    ArmScript();
    StartScrollRun(false);
    ASSERT_TRUE(ScriptDone());

    bool checked = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(g_runState.paused);
        EXPECT_EQ(g_runState.direction, ScrollDirection::Forward);
        EXPECT_FALSE(g_runState.directionChangeRequested);
        EXPECT_EQ(g_runState.lineIndex, 3);
        checked = true;
        g_runState.running = false;
    });
    StartScrollRun(false);
    EXPECT_TRUE(checked);
}

TEST_F(ScrollRun, StartsAtTheClampedStartingSpeedAndEndsAtTheOperatorsSpeed)
{
    g_runParams.speedValue = 40000;
    Then([&] {
        EXPECT_EQ(g_runState.speedValue, 32000);
        EXPECT_EQ(g_runState.stepInterval, 32'000'000);
        Key(Qt::Key_Space);
        Key(Qt::Key_F);
        Key(Qt::Key_F);
        Key(Qt::Key_Escape);
    });
    ArmScript();
    StartScrollRun(false);
    EXPECT_EQ(g_runState.speedValue, 31000);
}

TEST_F(ScrollRun, MonitorTwoWithOneScreenLeavesNoWindowAndTheStateUntouched)
{
    ASSERT_EQ(QGuiApplication::screens().size(), 1);
    EXPECT_EQ(ChooseDisplayScreen(true), nullptr);
    EXPECT_EQ(ChooseDisplayScreen(false), QGuiApplication::primaryScreen());
    g_runState.speedValue = 1234;
    g_runState.lastMouseY = 77;
    const auto windowsBefore = QGuiApplication::topLevelWindows().size();
    StartScrollRun(true);
    EXPECT_FALSE(g_runState.running);
    EXPECT_EQ(g_runState.prompterWindow, nullptr);
    EXPECT_EQ(g_runState.primarySurface, nullptr);
    EXPECT_EQ(g_runState.lastMouseY, 77);
    EXPECT_EQ(tickReads, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWindow* w : QGuiApplication::topLevelWindows())
        EXPECT_FALSE(w->isVisible()) << "a window was left behind";
    EXPECT_LE(QGuiApplication::topLevelWindows().size(), windowsBefore + 1);
}

TEST_F(ScrollRun, TheControlWindowKeepsPaintingDuringARun)
{
    PaintCounter control;
    control.resize(200, 100);
    control.show();
    int paintsAtStart = 0;
    Then([&] {
        paintsAtStart = control.paints;
        control.update();
    });
    Then([&] { return control.paints > paintsAtStart; }, [&] { Key(Qt::Key_Escape); });
    ArmScript();
    StartScrollRun(false);
    EXPECT_TRUE(ScriptDone());
    EXPECT_FALSE(stuck);
}

TEST_F(ScrollRun, AQuitRequestDoesNotEndTheRun)
{
    Then([&] {
        QCoreApplication::quit();
        QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
        Key(Qt::Key_Space);
    });
    Then(Allow(30));
    Then(StepsTaken(), [&] {
        EXPECT_TRUE(g_runState.running);
        Key(Qt::Key_Escape);
    });
    ArmScript();
    StartScrollRun(false);
    EXPECT_TRUE(ScriptDone());
    EXPECT_FALSE(stuck);
}

TEST_F(ScrollRun, AtSpeedZeroEveryIdlePassSteps)
{
    g_runParams.speedValue = 0;
    Then([&] { Key(Qt::Key_Space); });
    Then([&] { return tickReads >= 200; },
         [&] {
             // The counter stood still, yet every pass moved the text.
             EXPECT_EQ(tickNow, 0u);
             EXPECT_GT(g_runState.lineIndex, 3);
             Key(Qt::Key_Escape);
         });
    ArmScript();
    StartScrollRun(false);
    EXPECT_TRUE(ScriptDone());
    EXPECT_EQ(g_runState.stepInterval, 0);
}

TEST_F(ScrollRun, AScriptFedWhileTheRunGoesIsReadToItsRealEndEvenWithNoIdleTime)
{
    // Speed value 0 leaves the loop no idle time: only the rule that keeps
    // the feed ahead of the run brings the lines in.
    g_runParams.speedValue = 0;
    g_runParams.scriptText = NumberedScript(10);
    g_runParams.lineCount = 10;
    const std::string whole = NumberedScript(300);
    int fedTo = 10;
    const ScriptFeed feed = [&](std::chrono::steady_clock::time_point) {
        fedTo += 5;
        g_runParams.scriptText = NumberedScript(fedTo);
        g_runParams.lineCount = RecordLineStarts(g_runParams.lineCount);
        return fedTo < 300;
    };
    Then([&] { Key(Qt::Key_Space); });
    Then([] { return g_runState.paused; },
         [&] {
             EXPECT_EQ(g_runParams.lineCount, 300);
             EXPECT_EQ(g_runState.lineIndex, 300);
             EXPECT_EQ(LineStart(299), static_cast<int>(whole.size() - LineText(299).size() - 2));
             Key(Qt::Key_Escape);
         });
    ArmScript();
    StartScrollRun(false, feed);
    EXPECT_TRUE(ScriptDone());
    EXPECT_FALSE(stuck);
}

TEST_F(ScrollRun, APilotPlacesThePictureAtPassesThatDispatchedAnEventToo)
{
    // An event waits at every pass, as the screen's wake-up may at the pass
    // that hands it a frame.
    QTimer busy;
    busy.start(0);
    int piloted = 0;
    const RunPilot pilot = [&](std::chrono::steady_clock::time_point now) {
        ++piloted;
        return now + std::chrono::milliseconds(1);
    };
    Then([&] { return piloted >= 100; }, [&] { Key(Qt::Key_Escape); });
    ArmScript();
    StartScrollRun(false, {}, pilot);
    EXPECT_TRUE(ScriptDone());
    EXPECT_FALSE(stuck);
}
