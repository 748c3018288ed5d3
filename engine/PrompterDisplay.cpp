#include "PrompterDisplay.h"

#include "ColorRef.h"
#include "DisplayDevice.h"
#include "RunGlass.h"
#include "ScrollRunState.h"
#include "Surface.h"
#include "TextRaster.h"

namespace
{
void ForgetSurfaces()
{
    g_runState.primarySurface = nullptr;
    g_runState.offscreenSurface = nullptr;
    g_runState.mirrorSurface = nullptr;
}

// The cue and the glass's texts go over the picture in the text colour,
// mirrored with it.
void ShowGlass(DisplayDevice& display)
{
    g_runState.overlay = std::make_unique<GlassOverlay>(RunGlassLook(g_runParams.mirror));
    display.SetOverlay(g_runState.overlay.get());
}

// Releases what a failed open had made, in the order the display expects:
// the surfaces from the primary on, then the display object.
std::unique_ptr<DisplayDevice> GiveUp(std::unique_ptr<DisplayDevice> display)
{
    display->ReleaseSurface(g_runState.primarySurface);
    display->ReleaseSurface(g_runState.offscreenSurface);
    ForgetSurfaces();
    display.reset();
    g_runState.overlay.reset();
    return nullptr;
}
} // namespace

std::unique_ptr<DisplayDevice> OpenPrompterDisplay(DisplayProbe* probe)
{
    ForgetSurfaces();
    auto display = DisplayDevice::Create(ChooseDisplayScreen(g_runParams.useMonitor2), probe);
    if (!display)
        return nullptr;
    display->SetCooperativeLevel(g_runState.prompterWindow);
    display->SetDisplayMode(Surface::kWidth, Surface::kHeight, 8);
    display->SetPalette(g_runParams.backColor, g_runParams.textColor);

    ShowGlass(*display);
    display->SetFurtherScreens(
        ChooseFurtherScreens(g_runParams.outputs, display->screen(), g_runParams.mirror));
    g_runState.primarySurface = display->CreateSurface(SurfaceRole::Primary);
    if (!g_runState.primarySurface)
        return GiveUp(std::move(display));
    g_runState.lineHeight = MeasureLineHeight(*g_runState.primarySurface);

    g_runState.offscreenSurface = display->CreateSurface(SurfaceRole::Offscreen);
    if (!g_runState.offscreenSurface)
        return GiveUp(std::move(display));
    if (g_runParams.mirror) {
        g_runState.mirrorSurface = display->CreateSurface(SurfaceRole::Mirror);
        if (!g_runState.mirrorSurface)
            return GiveUp(std::move(display));
    }
    return display;
}

void ClosePrompterDisplay(std::unique_ptr<DisplayDevice> display)
{
    if (!display)
        return;
    display->RestoreDisplayMode();
    display->ReleaseSurface(g_runState.primarySurface);
    ForgetSurfaces();
    display.reset();
    g_runState.overlay.reset();
}
