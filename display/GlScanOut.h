#pragma once

#include "ScanOutView.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>

class FrameMailbox;
class GlScanOutSurface;
class QOffscreenSurface;
class QThread;

// Scan-out through OpenGL from a presenter thread. The thread owns the
// context: once a refresh it takes the newest frame from the mailbox, if
// one came, hands it to GlScanOutRenderer (an upload of 300 KB; the card
// scales), draws into a native child window that ignores input, draws the
// overlay with a QPainter, and swaps with the screen's refresh (or, where
// the swap does not wait, sleeps out the rest of the refresh itself). With
// nothing new it draws nothing. The user-interface thread does nothing per
// frame; when a changed picture waits for the presenter to want it, the
// presenter wakes the loop with an event at its next refresh.
class GlScanOut : public ScanOutView
{
  public:
    // A shown scan-out covering window, or null when this platform cannot
    // draw it with OpenGL from another thread, or (unless evenInSoftware)
    // when its OpenGL is drawn by the processor. The mailbox must outlive it.
    static GlScanOut* Create(QWidget* window, FrameMailbox& mailbox, const ScanOutLook& look,
                             double refreshRate, bool evenInSoftware);
    // Stops the presenter thread before the window it draws in goes.
    ~GlScanOut() override;

    // Stops the presenter thread and waits for it to finish.
    void Stop() override;
    bool Presenting() const override;

    // Answers max() unless a changed picture waits: then zero when the
    // mailbox wants it already, else the time to the presenter's next
    // refresh. A presenter late for that wakes the loop with an event when
    // it gets there, so the loop never needs to spin for it.
    std::chrono::nanoseconds OnLoopPass(std::chrono::nanoseconds nextStepIn,
                                        bool pictureWaits) override;

  protected:
    // Keeps the native window covering the view.
    void resizeEvent(QResizeEvent* event) override;

  private:
    GlScanOut(QWidget* window, FrameMailbox& mailbox, const ScanOutLook& look, double refreshRate);
    bool Start(bool evenInSoftware);
    void Present(bool evenInSoftware, std::promise<bool> ready);
    void WantNextFrame();
    std::chrono::steady_clock::time_point Pace(std::chrono::steady_clock::time_point next,
                                               bool screenWaited);

    std::chrono::nanoseconds m_period;          // one screen refresh
    GlScanOutSurface* m_surface = nullptr;      // owned by m_container
    QWidget* m_container = nullptr;             // child of this, holds m_surface
    std::unique_ptr<QOffscreenSurface> m_spare; // where the context is current off screen
    std::atomic<bool> m_stopping{false};        // asks the presenter thread to finish
    std::atomic<bool> m_loopWaits{false};       // the loop waits to post a changed picture
    std::atomic<std::int64_t> m_nextTake{0};    // steady-clock nanoseconds of the next refresh
    std::unique_ptr<QThread> m_presenter;       // takes, draws and swaps the frames
};
