#pragma once

#include "FrameBeat.h"
#include "LongestOfLate.h"
#include "ScanOut.h"
#include "ScanOutView.h"
#include "StepWatch.h"
#include "TypicalOfLate.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <optional>

class QWindow;

// Scan-out without OpenGL, on the user-interface thread, in the screen's
// device pixels, so that every step moves the picture by the same amount at
// any device-pixel ratio. At every refresh it asks the mailbox for a frame:
// a timer keeps that beat until a scroll run drives the view (OnLoopPass),
// then the loop's passes do, to the microsecond, taking each frame at the
// step nearest its beat while the run steps at least once a refresh
// (FrameBeat). Driven, it scales the frame a band of rows per pass straight
// into the buffer the window is shown from (WindowBufferPaint), and puts
// the finished picture on the screen in one flush at a pass where the next
// step is further off than a flush takes, so that no piece of its work
// delays a step by more than a band's scaling. While copying a frame to the
// screen takes the window system longer than the steps are apart, it keeps
// the loop from sleeping: woken by the flush, the window system is run on a
// core that sleeps between steps, and would hold up the next step there.
// Undriven, it does all of it at the refresh. Rows that only moved since
// the frame before are not scaled across again (ScanOutScaler), the picture
// is never copied between images, and nothing is allocated per frame. A
// buffer that cannot take the scaler's pixels (or has not been painted by
// Qt at the view's size yet) gets the frame through an image of the view's
// own and a repaint, as Qt paints any widget.
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
    // Draws the margins, the picture whole and the overlay.
    void paintEvent(QPaintEvent* event) override;
    // Starts the picture afresh at the new size.
    void resizeEvent(QResizeEvent* event) override;
    // Finishes a picture half drawn into the window's buffer before the
    // window system shows that buffer again (an expose).
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using Clock = std::chrono::steady_clock;
    void OnRefresh();
    bool TakeFrame();
    void ScaleRows(int count);
    void ScaleInto(int first, int count, QImage& image, QPoint origin);
    QImage& Staging();
    void ShowScaledFrame();
    // What the loop may wait for, the wait asked: none while the core is kept busy.
    std::chrono::nanoseconds MayWait(std::chrono::nanoseconds wait) const;
    void DrawOverlayOverPicture();
    void FollowOverlay();
    void WatchWindow();
    QSize DeviceSize() const;
    QRect Picture() const;

    ScanOutColours m_colours;
    std::optional<ScanOutScaler> m_scaler; // to the 4:3 part of the device size
    QImage m_staging; // the picture, when the window's buffer cannot take it; made when needed
    bool m_stagingWhole = false; // m_staging holds the whole frame at hand
    bool m_bufferReady =
        false; // Qt has painted the window's buffer at this size, in pixels the scaler writes
    bool m_intoBuffer = false;       // the frame on its way is drawn into the window's buffer
    std::uint64_t m_frameNumber = 0; // the number of the frame on its way or finished
    int m_nextRow = -1;              // next row of the frame to scale; -1 when none is on its way
    int m_bandRows = 1;              // rows scaled at one pass
    QElapsedTimer m_finished;        // valid while a frame is finished and not yet shown
    LongestOfLate m_showTime;        // what putting a frame on the screen takes
    StepWatch m_steps;               // the steps taken between passes
    TypicalOfLate m_copyTime;        // what showing a frame takes, copied on this core
    bool m_keepingCore = false;      // the loop is kept from sleeping, for the window system's copy
    std::chrono::nanoseconds m_bandTime{};  // what scaling a band takes, on average
    std::chrono::nanoseconds m_beginTime{}; // what the first band of a frame takes, on average
    QElapsedTimer m_scaling;                // since the frame on its way began
    std::uint64_t m_overlayRevision = 0;    // the overlay's revision on the screen
    std::chrono::nanoseconds m_period;      // one screen refresh
    FrameBeat m_beat;                       // when a driven view next asks for a frame
    bool m_wantOpen = false;                // the beat's want has had no pass yet
    QTimer m_refresh;                       // fires once per screen refresh, until driven
    QPointer<QWindow> m_watched;            // the window system's window, watched for exposes
};
