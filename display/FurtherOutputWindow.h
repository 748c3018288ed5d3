#pragma once

#include "ScanOutView.h"

#include <QImage>
#include <QWidget>

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

    // Scales rows first .. first + count - 1 of the picture straight into
    // the window's buffer; false, with a repaint asked for instead, while
    // the buffer cannot take them (Qt has not painted it at this size yet).
    bool ScaleBand(int first, int count);

    // Draws the overlay over the picture in the buffer and puts the
    // picture on the screen.
    void ShowPicture();

  protected:
    // Draws the margins, the picture whole and the overlay.
    void paintEvent(QPaintEvent* event) override;
    // A new size waits for Qt to paint the buffer at it.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void DrawOverlay(QPainter& painter) const;

    ScanOutLook m_look;
    ScanOutScaler* m_scaler = nullptr;
    bool m_bufferReady =
        false;        // Qt has painted the buffer at this size, in pixels the scaler writes
    QImage m_staging; // the picture, where the buffer cannot take it
};
