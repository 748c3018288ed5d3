#pragma once

#include "ScanOutView.h"

#include <QImage>
#include <QList>
#include <QRgb>
#include <QTimer>

#include <cstdint>
#include <vector>

class FrameMailbox;

// Scan-out without OpenGL: at every refresh a timer takes the newest frame
// from the mailbox, scales it by the ScanOutImage rule and repaints, all on
// the user-interface thread.
class RasterScanOut : public ScanOutView
{
  public:
    // A shown child covering window, showing the frames of mailbox.
    RasterScanOut(QWidget* window, FrameMailbox& mailbox, const QList<QRgb>& palette,
                  double refreshRate);

  protected:
    // Draws the last frame taken; the whole widget, margins included.
    void paintEvent(QPaintEvent* event) override;

  private:
    void ShowNewestFrame();

    FrameMailbox& m_mailbox;
    QList<QRgb> m_palette;
    std::vector<std::uint8_t> m_frame; // the last frame taken, 640 x 480 indices
    QImage m_image;                    // m_frame as the screen shows it
    QTimer m_refresh;                  // fires once per screen refresh
};
