#include "WindowBufferPaint.h"

#include <QBackingStore>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace
{
// A part of widget in device pixels as the window's own (logical) region.
QRegion InWindow(const QWidget& widget, const QRect& part)
{
    const qreal ratio = widget.devicePixelRatioF();
    const QRect logical = QRectF(part.topLeft() / ratio, part.size() / ratio).toAlignedRect();
    return logical.translated(widget.mapTo(widget.window(), QPoint()));
}

bool TakesScalerPixels(const QImage& image)
{
    // The scaler writes opaque QRgb values, right as any of these.
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        return false;
    }
}
} // namespace

WindowBufferPaint::WindowBufferPaint(QWidget& widget, const QRect& part)
    : m_store(widget.window()->windowHandle() ? widget.window()->backingStore() : nullptr)
{
    if (!m_store)
        return;
    // Some buffers (Wayland's) exist only once a paint has begun.
    m_store->beginPaint(InWindow(widget, part));
    m_device = m_store->paintDevice();
    m_origin = OriginOf(widget);
    m_pixels = PixelsOf(m_device, widget);
}

WindowBufferPaint::~WindowBufferPaint()
{
    if (m_store)
        m_store->endPaint();
}

QPoint WindowBufferPaint::OriginOf(const QWidget& widget)
{
    return widget.mapTo(widget.window(), QPoint()) * widget.devicePixelRatioF();
}

QImage* WindowBufferPaint::PixelsOf(QPaintDevice* device, const QWidget& widget)
{
    auto* image = dynamic_cast<QImage*>(device);
    const QRect whole(OriginOf(widget), widget.size() * widget.devicePixelRatioF());
    return image && TakesScalerPixels(*image) && image->rect().contains(whole) ? image : nullptr;
}

std::optional<QImage*> WindowBufferPaint::PaintedBuffer(const QPainter& painter,
                                                        const QWidget& widget)
{
    QPaintDevice* device = painter.paintEngine()->paintDevice();
    QBackingStore* store = widget.window()->backingStore();
    if (!store || device != store->paintDevice())
        return std::nullopt;
    return PixelsOf(device, widget);
}

void WindowBufferPaint::Flush(QWidget& widget, const QRect& part)
{
    QWindow* window = widget.window()->windowHandle();
    if (window && widget.window()->backingStore())
        widget.window()->backingStore()->flush(InWindow(widget, part), window);
}
