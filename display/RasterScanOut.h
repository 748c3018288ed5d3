#pragma once

#include "ScanOut.h"
#include "ScanOutView.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <optional>

// Scan-out without OpenGL, on the user-interface thread, in the screen's
// device pixels, so that every step moves the picture by the same amount at
// any device-pixel ratio. At every refresh it asks the mailbox for a frame:
// a timer keeps that beat until a scroll run drives the view (OnLoopPass),
// then the loop's passes do, to the microsecond. Driven, it scales the
// frame a band of rows per pass into a hidden image and puts the finished
// image on the screen in one repaint at a pass where the next step is
// further off than a repaint takes, so that no piece of its work delays a
// step by more than a band's scaling. Undriven, it does all of it at the
// refresh. Rows that only moved since the frame before are not scaled
// across again (ScanOutScaler), and nothing is allocated per frame.
class RasterScanOut : public ScanOutView
{
  public:
    // A shown child covering window, showing the frames of mailbox.
    RasterScanOut(QWidget* window, FrameMailbox& mailbox, const ScanOutLook& look,
                  double refreshRate);

    // Scales the next band of a frame on its way, or shows a finished one.
    // Answers zero while a band waits, else when the next refresh or the
    // latest moment to show the finished frame comes, if anything waits.
    std::chrono::nanoseconds OnLoopPass(std::chrono::nanoseconds nextStepIn,
                                        bool pictureWaits) override;

  protected:
    // Draws the part asked for from the image on the screen, then the overlay.
    void paintEvent(QPaintEvent* event) override;
    // Starts both images afresh, margins drawn, at the new size.
    void resizeEvent(QResizeEvent* event) override;

  private:
    using Clock = std::chrono::steady_clock;
    void OnRefresh();
    bool TakeFrame();
    void ScaleRows(int count);
    void ShowScaledFrame();
    void FollowOverlay();
    QSize DeviceSize() const;
    QImage::Format ScreenFormat() const;
    QRect Picture() const;

    ScanOutColours m_colours;
    std::optional<ScanOutScaler> m_scaler; // to the 4:3 part of the device size
    QImage m_shown;                        // what the screen shows, the whole widget
    QImage m_next;                         // the next picture, scaled band by band
    std::uint64_t m_frameNumber = 0;       // the number of the frame in m_next
    int m_nextRow = -1;       // next row of m_next to scale; -1 when none is on its way
    int m_bandRows = 1;       // rows scaled at one pass
    QElapsedTimer m_finished; // valid while m_next is finished and not yet shown
    std::chrono::nanoseconds m_showTime{}; // what putting a frame on the screen takes, on average
    std::uint64_t m_overlayRevision = 0;   // the overlay's revision on the screen
    std::chrono::nanoseconds m_period;     // one screen refresh
    Clock::time_point m_nextRefresh;       // when a driven view next asks for a frame
    bool m_wantOpen = false;               // the beat's want has had no pass yet
    QTimer m_refresh;                      // fires once per screen refresh, until driven
};
