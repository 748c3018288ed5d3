#include "GlScanOutSurface.h"

#include "GlScanOutRenderer.h"

#include <cmath>

GlScanOutSurface::GlScanOutSurface()
{
    setSurfaceType(QSurface::OpenGLSurface);
    setFlags(Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
    setFormat(GlScanOutRenderer::SurfaceFormat());
}

QSize GlScanOutSurface::PixelSize() const
{
    const std::uint64_t packed = m_pixelSize.load(std::memory_order_acquire);
    return QSize(static_cast<int>(packed >> 32), static_cast<int>(packed & 0xFFFFFFFFu));
}

void GlScanOutSurface::exposeEvent(QExposeEvent* event)
{
    m_exposed.store(isExposed(), std::memory_order_release);
    QWindow::exposeEvent(event);
}

void GlScanOutSurface::resizeEvent(QResizeEvent* event)
{
    const double ratio = devicePixelRatio();
    const auto across = static_cast<std::uint64_t>(std::lround(width() * ratio));
    const auto down = static_cast<std::uint64_t>(std::lround(height() * ratio));
    m_pixelSize.store(across << 32 | down, std::memory_order_release);
    QWindow::resizeEvent(event);
}
