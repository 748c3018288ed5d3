#pragma once

#include <QSize>
#include <QWindow>

#include <atomic>
#include <cstdint>

// The native window that the presenter thread draws into: an OpenGL
// surface that swaps with the screen's refresh and lets every key and mouse
// event pass to the window beneath it. It lives on the user-interface
// thread; what the presenter needs to know of it is readable from any
// thread.
class GlScanOutSurface : public QWindow
{
  public:
    // An OpenGL window in the format GlScanOutRenderer asks for.
    GlScanOutSurface();

    // True while the window is on the screen; safe from any thread.
    bool Exposed() const { return m_exposed.load(std::memory_order_acquire); }

    // The window's size in device pixels; safe from any thread.
    QSize PixelSize() const;

  protected:
    // Records whether the window can be drawn in.
    void exposeEvent(QExposeEvent* event) override;
    // Records the new size in device pixels.
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::atomic<bool> m_exposed{false};
    std::atomic<std::uint64_t> m_pixelSize{0}; // width in the high half, height in the low
};
