#include "DisplayDevice.h"

#include "ScanOutWidget.h"
#include "Surface.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <string>

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
} // namespace

struct DisplayDevice::OwnedSurface {
    SurfaceRole role;
    Surface surface;
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
    std::unique_ptr<DisplayDevice> device(new DisplayDevice(screen, probe));
    device->Note("create display");
    return device;
}

DisplayDevice::DisplayDevice(QScreen* screen, DisplayProbe* probe)
    : m_screen(screen), m_probe(probe)
{
}

DisplayDevice::~DisplayDevice()
{
    RestoreDisplayMode();
    m_primary = nullptr;
    m_surfaces.clear();
    Note("release display");
}

void DisplayDevice::Note(const char* what) const
{
    if (m_probe)
        m_probe->events.emplace_back(what);
}

void DisplayDevice::SetCooperativeLevel(QWidget* window)
{
    m_window = window;
    if (!window)
        return;
    window->setGeometry(m_screen->geometry());
    if (QWindow* handle = window->windowHandle())
        handle->setScreen(m_screen);
    window->showFullScreen();
    window->raise();
    window->activateWindow();
}

bool DisplayDevice::SetDisplayMode(int width, int height, int bitsPerPixel)
{
    return width == Surface::kWidth && height == Surface::kHeight && bitsPerPixel == 8;
}

void DisplayDevice::SetPalette(const QList<QRgb>& palette)
{
    m_palette = palette;
}

Surface* DisplayDevice::CreateSurface(SurfaceRole role)
{
    if (m_probe && m_probe->failAt == CreationStep(role))
        return nullptr;
    m_surfaces.push_back(std::make_unique<OwnedSurface>(OwnedSurface{role, Surface()}));
    Note((std::string("create ") + RoleName(role)).c_str());
    Surface* surface = &m_surfaces.back()->surface;
    if (role == SurfaceRole::Primary) {
        m_primary = surface;
        if (m_window && !m_scanOut)
            m_scanOut =
                CreateScanOutWidget(m_window, m_mailbox, m_palette, m_screen->refreshRate());
    }
    return surface;
}

void DisplayDevice::ReleaseSurface(Surface* surface)
{
    const auto owned = std::find_if(m_surfaces.begin(), m_surfaces.end(),
                                    [surface](const auto& s) { return &s->surface == surface; });
    if (!surface || owned == m_surfaces.end())
        return;
    if (surface == m_primary) {
        RestoreDisplayMode();
        m_primary = nullptr;
    }
    Note((std::string("release ") + RoleName((*owned)->role)).c_str());
    m_surfaces.erase(owned);
}

void DisplayDevice::RestoreDisplayMode()
{
    delete m_scanOut.data();
    if (m_window && m_window->isFullScreen())
        m_window->showNormal();
}
