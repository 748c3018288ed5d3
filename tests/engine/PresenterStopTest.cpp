#include "DisplayProbe.h"
#include "PrompterDisplay.h"
#include "PrompterRunFixture.h"
#include "ScanOutView.h"
#include "ScrollRun.h"

#include <QTest>

namespace
{
// Watches a prompter window: whether a scan-out view in it still presented
// from its thread when the window was hidden.
class HideWatch : public QObject
{
  public:
    bool presentedAtHide = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) {
            for (QObject* child : watched->children())
                if (auto* view = qobject_cast<ScanOutView*>(child); view && view->Presenting())
                    presentedAtHide = true;
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

// The OpenGL presenter's thread draws into the prompter window; it must have
// finished before the window is hidden or destroyed, whichever way the run
// ends. Mesa's software OpenGL stands in for a graphics card.
class PresenterStop : public PrompterRunFixture
{
  protected:
    void SetUp() override
    {
        PrompterRunFixture::SetUp();
        qputenv("VELLOR_SCAN_OUT", "opengl");
    }
    void TearDown() override
    {
        qunsetenv("VELLOR_SCAN_OUT");
        PrompterRunFixture::TearDown();
    }

    // Runs until the presenter has shown a frame, then ends the run with
    // end(); false when no presenter thread runs on this platform.
    bool RunAndEndWith(HideWatch& watch, std::function<void()> end)
    {
        bool presenting = true;
        Then([&] {
            Window()->installEventFilter(&watch);
            const auto* view = Window()->findChild<ScanOutView*>();
            presenting = view && view->Presenting();
            if (!presenting)
                g_runState.running = false;
        });
        Then([&] { return Window()->findChild<ScanOutView*>()->FramesShown() > 0; },
             std::move(end));
        ArmScript();
        StartScrollRun(false);
        EXPECT_FALSE(stuck);
        return presenting;
    }
};

TEST_F(PresenterStop, EveryWayOutStopsThePresenterBeforeTheWindowIsHidden)
{
    HideWatch escaped;
    if (!RunAndEndWith(escaped, [&] { QTest::keyClick(Window(), Qt::Key_Escape); }))
        GTEST_SKIP() << "no OpenGL presenter thread on this platform";
    EXPECT_FALSE(escaped.presentedAtHide) << "the operator ended the run";

    // Losing the activation ends the run from under the window.
    HideWatch deactivated;
    RunAndEndWith(deactivated, [&] {
        QEvent deactivate(QEvent::WindowDeactivate);
        QCoreApplication::sendEvent(Window(), &deactivate);
    });
    EXPECT_FALSE(deactivated.presentedAtHide) << "the window lost the activation";

    // The display fails after the scan-out has started.
    HideWatch failed;
    auto window = CreatePrompterWindow();
    window->installEventFilter(&failed);
    DisplayProbe probe;
    probe.failAt = DisplayStep::CreateOffscreenSurface;
    EXPECT_EQ(OpenPrompterDisplay(&probe), nullptr);
    window.reset();
    EXPECT_FALSE(failed.presentedAtHide) << "the start failed";
}
