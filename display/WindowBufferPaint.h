#pragma once

#include <QPoint>
#include <QRect>

#include <optional>

class QBackingStore;
class QImage;
class QPaintDevice;
class QPainter;
class QWidget;

// Paints into the buffer a widget's window is shown from (its backing
// store) outside the widget's paint event, so that a picture can be drawn
// there piece by piece straight from the scaler and put on the screen in
// one flush, with no copy of it in between: begins the paint of a part of
// the widget when made and ends it when it goes. Nothing painted reaches
// the screen before Flush. Beginning a paint may wait for the window
// system to finish reading the buffer for the last flush.
class WindowBufferPaint
{
  public:
    // Begins painting part of widget, in the widget's device pixels.
    WindowBufferPaint(QWidget& widget, const QRect& part);
    // Ends the paint.
    ~WindowBufferPaint();
    WindowBufferPaint(const WindowBufferPaint&) = delete;
    WindowBufferPaint& operator=(const WindowBufferPaint&) = delete;

    // The buffer, or null when the window has none yet.
    QPaintDevice* Device() const { return m_device; }
    // The buffer as an image of opaque 32-bit pixels (QRgb values as they
    // are) that holds the whole widget; null when it is not one (another
    // pixel format, or a window whose buffer has not followed a new size).
    QImage* Pixels() const { return m_pixels; }
    // Where the widget's top-left device pixel lies in the buffer.
    QPoint Origin() const { return m_origin; }

    // Puts part of widget (its device pixels) from the buffer on the screen.
    static void Flush(QWidget& widget, const QRect& part);

    // Where widget's top-left device pixel lies in its window's buffer.
    static QPoint OriginOf(const QWidget& widget);
    // device as an image of opaque 32-bit pixels that holds the whole of
    // widget at OriginOf(widget); null when it is not one.
    static QImage* PixelsOf(QPaintDevice* device, const QWidget& widget);
    // In widget's paint event: none when painter paints somewhere other
    // than the window's buffer (Qt may paint through a buffer of its own),
    // else the buffer as PixelsOf gives it.
    static std::optional<QImage*> PaintedBuffer(const QPainter& painter, const QWidget& widget);

  private:
    QBackingStore* m_store = nullptr;
    QPaintDevice* m_device = nullptr;
    QImage* m_pixels = nullptr;
    QPoint m_origin;
};
