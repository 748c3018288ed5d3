#pragma once

#include "ScanOut.h"
#include "ScanOutView.h"

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QRgb>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <vector>

// Scan-out without OpenGL, on the user-interface thread. At every refresh it
// asks the mailbox for a frame: a timer keeps that beat, or, while a scroll
// run drives the view (OnLoopPass), the loop's passes do, to the
// microsecond. Driven, it scales the frame a band of rows per pass into a
// hidden image and puts the finished image on the screen in one repaint at
// a pass where the next step is further off than a repaint takes, so that
// no piece of its work delays a step by more than a band's scaling.
// Undriven, it does all of it at the refresh.
class RasterScanOut : public ScanOutView
{
  public:
    // A shown child covering window, showing the frames of mailbox.
    RasterScanOut(QWidget* window, FrameMailbox& mailbox, const QList<QRgb>& palette,
                  double refreshRate);

    // Scales the next band of a frame on its way, or shows a finished one.
    std::chrono::nanoseconds OnLoopPass(std::chrono::nanoseconds nextStepIn) override;

  protected:
    // Draws the part asked for from the image on the screen.
    void paintEvent(QPaintEvent* event) override;
    // Starts both images afresh, margins drawn, at the new size.
    void resizeEvent(QResizeEvent* event) override;

  private:
    void OnRefresh();
    bool TakeFrame();
    void ScaleRows(int count);
    void ShowScaledFrame();

    ScanOutColours m_colours{};
    QRgb m_background;
    std::vector<std::uint8_t> m_frame;     // the frame being shown or scaled, 640 x 480 indices
    std::vector<std::uint8_t> m_incoming;  // the frame last taken from the mailbox
    std::uint64_t m_frameNumber = 0;       // m_frame's number in the mailbox
    std::uint64_t m_shownNumber = 0;       // the number of the frame in m_shown
    std::optional<ScanOutScaler> m_scaler; // to the 4:3 part of the current size
    QImage m_shown;                        // what the screen shows, the whole widget
    QImage m_next;                         // the next picture, scaled band by band
    int m_nextRow = -1;       // next row of m_next to scale; -1 when none is on its way
    QElapsedTimer m_finished; // valid while m_next is finished and not yet shown
    std::chrono::nanoseconds m_showTime{}; // what putting a frame on the screen takes, on average
    bool m_driven = false;                 // a loop pass came since the last refresh
    using Clock = std::chrono::steady_clock;
    std::chrono::nanoseconds m_period; // one screen refresh
    Clock::time_point m_nextRefresh;   // when a driven view next asks for a frame
    QTimer m_refresh;                  // fires once per screen refresh
};
