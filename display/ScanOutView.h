#pragma once

#include "FrameMailbox.h"

#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdint>

// What every scan-out is on the prompter window: a child that covers the
// window, follows its size, takes no focus and lets every key and mouse
// event through to the window itself. It shows the frames of a mailbox and
// counts those it has put on the screen, with the number of the last one,
// so that a measurement can set them against the loop's steps.
class ScanOutView : public QWidget
{
    Q_OBJECT

  public:
    // Called by the scroll loop after every pass while a run shows this
    // view, with the time left before the loop's next step is due. A
    // presenter that shares the loop's thread does its per-frame work here,
    // in short pieces, and puts a frame on the screen only when that takes
    // less time than is left. Answers how soon it wants the next pass: the
    // loop may wait that long before passing again, unless an event or a
    // step comes first.
    virtual std::chrono::nanoseconds OnLoopPass(std::chrono::nanoseconds nextStepIn)
    {
        Q_UNUSED(nextStepIn);
        return std::chrono::nanoseconds::zero();
    }

    // Frames that have reached the screen so far; safe from any thread.
    std::uint64_t FramesShown() const { return m_framesShown.load(std::memory_order_acquire); }
    // The mailbox number of the frame shown last (0 before the first);
    // safe from any thread.
    std::uint64_t LastFrameShown() const { return m_lastShown.load(std::memory_order_acquire); }
    // Frames posted to the mailbox so far; safe from any thread.
    std::uint64_t FramesPosted() const { return m_mailbox.Posted(); }

  protected:
    // A child of window, covering it and transparent to input, showing the
    // frames of mailbox, which must outlive it; not shown yet.
    ScanOutView(QWidget* window, FrameMailbox& mailbox);

    // Where the frames come from.
    FrameMailbox& Mailbox() const { return m_mailbox; }

    // Records that the frame of that mailbox number reached the screen;
    // safe from any thread.
    void CountFrameShown(std::uint64_t number)
    {
        m_lastShown.store(number, std::memory_order_relaxed);
        m_framesShown.fetch_add(1, std::memory_order_release);
    }

    // Keeps the view covering its window.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FrameMailbox& m_mailbox;
    std::atomic<std::uint64_t> m_framesShown{0};
    std::atomic<std::uint64_t> m_lastShown{0};
};
