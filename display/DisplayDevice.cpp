#include "DisplayDevice.h"

#include "DisplayProbe.h"
#include "FrameMailbox.h"
#include "ScanOutView.h"
#include "ScanOutWidget.h"
#include "Surface.h"
#include "SurfacePalette.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
const char* RoleName(SurfaceRole role)
{
    switch (role) {
    case SurfaceRole::Primary:
        return "primary";
    case SurfaceRole::Offscreen:
        return "offscreen";
    case SurfaceRole::Mirror:
        return "mirror";
    }
    return "surface";
}

DisplayStep CreationStep(SurfaceRole role)
{
    switch (role) {
    case SurfaceRole::Primary:
        return DisplayStep::CreatePrimarySurface;
    case SurfaceRole::Offscreen:
        return DisplayStep::CreateOffscreenSurface;
    case SurfaceRole::Mirror:
        return DisplayStep::CreateMirrorSurface;
    }
    return DisplayStep::CreateOffscreenSurface;
}

struct OwnedSurface {
    SurfaceRole role;
    Surface surface;
};
} // namespace

struct DisplayDevice::State {
    State(QScreen* s, DisplayProbe* p) : screen(s), probe(p) {}

    QScreen* screen;
    DisplayProbe* probe;
    QPointer<QWidget> window;                            // the cooperative window
    QPointer<ScanOutView> scanOut;                       // owned by window
    QList<QRgb> palette;                                 // index -> colour
    const ScanOutOverlay* overlay = nullptr;             // drawn over every frame
    FrameMailbox mailbox;                                // frames on their way to scanOut
    std::vector<std::unique_ptr<OwnedSurface>> surfaces; // every surface not yet released
    Surface* primary = nullptr;                          // the scanned-out surface, if any
    std::vector<FurtherScreen> furtherScreens;           // shown beside the screen
    std::unique_ptr<FurtherOutputs> further;             // their windows, while scanning out
};

QScreen* ChooseDisplayScreen(bool monitor2)
{
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!monitor2)
        return primary;
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto last = std::find_if(screens.rbegin(), screens.rend(),
                                   [primary](QScreen* screen) { return screen != primary; });
    return last == screens.rend() ? nullptr : *last;
}

std::unique_ptr<DisplayDevice> DisplayDevice::Create(QScreen* screen, DisplayProbe* probe)
{
    if (!screen || (probe && probe->failAt == DisplayStep::CreateDisplay))
        return nullptr;
    std::unique_ptr<DisplayDevice> device(
        new DisplayDevice(std::make_unique<State>(screen, probe)));
    device->Note("create display");
    return device;
}

DisplayDevice::DisplayDevice(std::unique_ptr<State> state) : m_state(std::move(state)) {}

DisplayDevice::~DisplayDevice()
{
    RestoreDisplayMode();
    m_state->primary = nullptr;
    m_state->surfaces.clear();
    Note("release display");
}

void DisplayDevice::Note(const char* what) const
{
    if (m_state->probe)
        m_state->probe->events.emplace_back(what);
}

void DisplayDevice::SetCooperativeLevel(QWidget* window)
{
    m_state->window = window;
    if (!window)
        return;
    window->setGeometry(m_state->screen->geometry());
    if (QWindow* handle = window->windowHandle())
        handle->setScreen(m_state->screen);
    window->showFullScreen();
    window->raise();
    window->activateWindow();
}

bool DisplayDevice::SetDisplayMode(int width, int height, int bitsPerPixel)
{
    return width == Surface::kWidth && height == Surface::kHeight && bitsPerPixel == 8;
}

void DisplayDevice::SetPalette(ColorRef background, ColorRef text)
{
    m_state->palette = SurfacePalette(background, text);
}

void DisplayDevice::SetFurtherScreens(std::vector<FurtherScreen> screens)
{
    m_state->furtherScreens = std::move(screens);
}

void DisplayDevice::SetOverlay(const ScanOutOverlay* overlay)
{
    m_state->overlay = overlay;
}

Surface* DisplayDevice::CreateSurface(SurfaceRole role)
{
    State& s = *m_state;
    if (s.probe && s.probe->failAt == CreationStep(role))
        return nullptr;
    s.surfaces.push_back(std::make_unique<OwnedSurface>(OwnedSurface{role, Surface()}));
    Note((std::string("create ") + RoleName(role)).c_str());
    Surface* surface = &s.surfaces.back()->surface;
    if (role == SurfaceRole::Primary) {
        s.primary = surface;
        if (s.window && !s.scanOut)
            s.scanOut = CreateScanOutWidget(s.window, s.mailbox, ScanOutLook{s.palette, s.overlay},
                                            s.screen->refreshRate());
        if (s.window && !s.further && !s.furtherScreens.empty()) {
            s.further = std::make_unique<FurtherOutputs>(s.furtherScreens, s.mailbox,
                                                         ScanOutLook{s.palette, s.overlay});
            // A platform that activates every window it shows does so when
            // its events are handled: handled now, before the run goes, the
            // prompter window's activation comes last and stays, with the keys.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            s.window->activateWindow();
        }
    }
    return surface;
}

void DisplayDevice::ReleaseSurface(Surface* surface)
{
    State& s = *m_state;
    const auto owned = std::find_if(s.surfaces.begin(), s.surfaces.end(),
                                    [surface](const auto& o) { return &o->surface == surface; });
    if (!surface || owned == s.surfaces.end())
        return;
    if (surface == s.primary) {
        RestoreDisplayMode();
        s.primary = nullptr;
    }
    Note((std::string("release ") + RoleName((*owned)->role)).c_str());
    s.surfaces.erase(owned);
}

void DisplayDevice::StopScanOut()
{
    if (m_state->scanOut)
        m_state->scanOut->Stop();
}

void DisplayDevice::RestoreDisplayMode()
{
    delete m_state->scanOut.data();
    m_state->further.reset();
    if (m_state->window && m_state->window->isFullScreen())
        m_state->window->showNormal();
}

std::chrono::nanoseconds DisplayDevice::OfferFrame(std::chrono::nanoseconds nextStepIn)
{
    State& s = *m_state;
    const bool pictureWaits = s.primary && s.mailbox.Offer(*s.primary);
    const auto began = std::chrono::steady_clock::now();
    const std::chrono::nanoseconds wants = s.scanOut
                                               ? s.scanOut->OnLoopPass(nextStepIn, pictureWaits)
                                               : std::chrono::nanoseconds::max();
    if (!s.further)
        return wants;
    // The further outputs get what the main output's pass left of the time.
    const std::chrono::nanoseconds left =
        nextStepIn == std::chrono::nanoseconds::max()
            ? nextStepIn
            : std::max(nextStepIn - (std::chrono::steady_clock::now() - began),
                       std::chrono::nanoseconds::zero());
    return std::min(wants, s.further->OnLoopPass(left, wants == std::chrono::nanoseconds::zero()));
}

QScreen* DisplayDevice::screen() const
{
    return m_state->screen;
}

const QList<QRgb>& DisplayDevice::Palette() const
{
    return m_state->palette;
}

std::uint64_t DisplayDevice::CopyNewestFrame(ScanOutFrame& frame, std::uint64_t since) const
{
    return m_state->mailbox.CopyNewest(frame, since);
}
