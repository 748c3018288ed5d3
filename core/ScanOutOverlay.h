#pragma once

#include <QRect>
#include <QRegion>
#include <QSize>

#include <cstdint>

class QPainter;

// Something a presenter draws over the picture, after the picture and on
// every frame it puts on the screen, such as a reading cue: the 8-bit
// surfaces stay exactly what the engine drew. Every presenter calls it the
// same way, so one overlay serves them all. Set on the display device
// before its primary surface is made (DisplayDevice::SetOverlay).
class ScanOutOverlay
{
  public:
    virtual ~ScanOutOverlay() = default;

    // Grows whenever what Draw draws changes, so that a presenter draws the
    // screen again for it even while the picture stands still; safe from
    // any thread.
    virtual std::uint64_t Revision() const = 0;

    // True while Draw would draw nothing, so that a presenter need not
    // start drawing; safe from any thread.
    virtual bool Blank() const { return false; }

    // Draws over the screen: painter works in the screen's device pixels,
    // picture is where the 640 x 480 frame lies in them and area is the
    // whole screen. Called on the thread that presents (the OpenGL
    // presenter's own thread), so it reads nothing but its own state.
    virtual void Draw(QPainter& painter, const QRect& picture, QSize area) const = 0;

    // Draws as Draw does and answers where it drew, or more, so that a
    // presenter keeping rows from frame to frame knows which the overlay
    // covered; unless told, the whole screen.
    virtual QRegion DrawTellingWhere(QPainter& painter, const QRect& picture, QSize area) const
    {
        Draw(painter, picture, area);
        return QRegion(QRect(QPoint(), area));
    }
};
