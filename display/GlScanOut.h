#pragma once

#include "ScanOutView.h"

#include <QList>
#include <QRgb>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>

class FrameMailbox;
class GlScanOutSurface;
class QOffscreenSurface;
class QThread;

// Scan-out through OpenGL from a presenter thread. The thread owns the
// context: once a refresh it takes the newest frame from the mailbox, draws
// it with GlScanOutRenderer into a native child window that ignores input,
// and swaps with the screen's refresh (or, where the swap does not wait,
// sleeps out the rest of the refresh itself). The user-interface thread does
// nothing per frame.
class GlScanOut : public ScanOutView
{
  public:
    // A shown scan-out covering window, or null when this platform cannot
    // draw it with OpenGL from another thread, or (unless evenInSoftware)
    // when its OpenGL is drawn by the processor. The mailbox must outlive it.
    static GlScanOut* Create(QWidget* window, FrameMailbox& mailbox, const QList<QRgb>& palette,
                             double refreshRate, bool evenInSoftware);
    // Stops the presenter thread before the window it draws in goes.
    ~GlScanOut() override;

  protected:
    // Keeps the native window covering the view.
    void resizeEvent(QResizeEvent* event) override;

  private:
    GlScanOut(QWidget* window, FrameMailbox& mailbox, double refreshRate);
    bool Start(const QList<QRgb>& palette, bool evenInSoftware);
    void Present(const QList<QRgb>& palette, bool evenInSoftware, std::promise<bool> ready);
    std::chrono::steady_clock::time_point Pace(std::chrono::steady_clock::time_point next,
                                               bool screenWaited) const;

    std::chrono::nanoseconds m_period;          // one screen refresh
    GlScanOutSurface* m_surface = nullptr;      // owned by m_container
    QWidget* m_container = nullptr;             // child of this, holds m_surface
    std::unique_ptr<QOffscreenSurface> m_spare; // where the context is current off screen
    std::atomic<bool> m_stopping{false};        // asks the presenter thread to finish
    std::unique_ptr<QThread> m_presenter;       // takes, draws and swaps the frames
};
