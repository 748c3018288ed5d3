#include "ScrollRun.h"

#include "DisplayDevice.h"
#include "FrameRenderer.h"
#include "PrompterDisplay.h"
#include "PrompterWindow.h"
#include "ScrollRunState.h"
#include "TextRaster.h"

#include <QAbstractEventDispatcher>

void StartScrollRun(bool useMonitor2)
{
    g_runParams.useMonitor2 = useMonitor2;
    ResetMotionForNewRun();
    g_runState.speedValue = g_runParams.speedValue;
    ClampSpeed();

    std::unique_ptr<CPrompterWindow> window = CreatePrompterWindow();
    if (!window)
        return;
    std::unique_ptr<DisplayDevice> display = OpenPrompterDisplay();
    if (!display)
        return; // the window and its blank cursor go with it

    DrawInitialImage();
    g_runState.running = true;
    QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance();
    while (g_runState.running) {
        // Whatever waits for any window is dispatched, never waiting for
        // more; only when nothing waited does the prompter move, so input
        // is seen by the next step and the other windows keep painting.
        if (!events->processEvents(QEventLoop::AllEvents))
            ScrollStep();
        display->OfferFrame();
    }

    window.reset();
    ClosePrompterDisplay(std::move(display));
}
