#pragma once

#include <QWidget>

#include <atomic>
#include <cstdint>

// What every scan-out is on the prompter window: a child that covers the
// window, follows its size, takes no focus and lets every key and mouse
// event through to the window itself. It counts the frames it has put on
// the screen, so that a measurement can set them against the loop's steps.
class ScanOutView : public QWidget
{
    Q_OBJECT

  public:
    // Frames that have reached the screen so far; safe from any thread.
    std::uint64_t FramesShown() const { return m_framesShown.load(std::memory_order_relaxed); }

  protected:
    // A child of window, covering it and transparent to input; not shown yet.
    explicit ScanOutView(QWidget* window);

    // Records that one more frame reached the screen; safe from any thread.
    void CountFrameShown() { m_framesShown.fetch_add(1, std::memory_order_relaxed); }

    // Keeps the view covering its window.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::atomic<std::uint64_t> m_framesShown{0};
};
