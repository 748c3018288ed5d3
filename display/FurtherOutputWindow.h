#pragma once

#include "ScanOutView.h"
#include "WindowBufferPaint.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

class QScreen;
class ScanOutScaler;

// The window of one further output: frameless, full screen and on top on
// its screen, it never takes the focus and shows no cursor, so the main
// output keeps the keys. It shows the frame its scaler was last begun on,
// scaled to the 4:3 part of its device pixels by the rule of ScanOut.h,
// in the scaler's direction, with the run's overlay mirrored along.
class FurtherOutputWindow : public QWidget
{
  public:
    FurtherOutputWindow(QScreen* screen, const ScanOutLook& look);

    // Shows the frames of scaler from now on; null shows the background.
    void Use(ScanOutScaler* scaler);

    // Where the frame lies in the window's device pixels, and their size.
    QRect Picture() const;
    QSize DeviceSize() const;

    // Begins the paint of a picture into the window's buffer, kept until
    // ShowPicture, which waits for the window system to have read the
    // buffer for the last picture; false, with a repaint asked for instead,
    // while the buffer cannot take the scaler's pixels (Qt has not painted
    // it at this size yet).
    bool BeginPicture();

    // Scales rows first .. first + count - 1 of the picture begun straight
    // into the window's buffer; false when none is begun (a new size ended it).
    bool ScaleBand(int first, int count);

    // Draws the overlay over the picture begun, ends its paint and puts it
    // on the screen; does nothing when none is begun.
    void ShowPicture();

  protected:
    // Draws the margins, the picture whole and the overlay.
    void paintEvent(QPaintEvent* event) override;
    // A new size ends the picture begun and waits for Qt to paint the buffer at it.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void DrawOverlay(QPainter& painter) const;
    // The buffer's picture rows are not known to hold anything.
    void ForgetHeld();

    ScanOutLook m_look;
    ScanOutScaler* m_scaler = nullptr;
    bool m_bufferReady =
        false;        // Qt has painted the buffer at this size, in pixels the scaler writes
    QImage m_staging; // the picture, where the buffer cannot take it
    // The paint of the picture on its way: one for all its bands, so that
    // the window system is waited for once a picture.
    std::optional<WindowBufferPaint> m_paint;
    // Per picture row, the colour index the buffer holds it in throughout
    // (ScanOutScaler::Scale), so that a blank row stays as it is.
    std::vector<int> m_held;
};
