#pragma once

#include "FrameMailbox.h"

#include <QList>
#include <QRgb>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdint>

class ScanOutOverlay;

// How a run's frames look beyond their indices.
struct ScanOutLook {
    QList<QRgb> palette; // index -> colour; short of 256, frames show the background only
    const ScanOutOverlay* overlay = nullptr; // drawn over every frame, or null

    // Palette entry 0, the margins' colour (black without a palette).
    QRgb Background() const { return palette.isEmpty() ? qRgb(0, 0, 0) : palette.first(); }
};

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
    // view, with the time left before the loop's next step is due and
    // whether a changed picture waits to be posted (the mailbox does not
    // want it yet). A presenter that shares the loop's thread does its
    // per-frame work here, in short pieces, and puts a frame on the screen
    // only when that takes less time than is left. Answers how soon it
    // wants the next pass: the loop may wait that long before passing
    // again, unless an event or a step comes first; nanoseconds::max() when
    // nothing it shows can change before the picture does.
    virtual std::chrono::nanoseconds OnLoopPass(std::chrono::nanoseconds nextStepIn,
                                                bool pictureWaits) = 0;

    // Stops putting frames on the screen from a thread of the view's own,
    // and returns once that thread has finished; called before the window
    // it draws in is hidden or goes. A view on the loop's thread has none.
    virtual void Stop() {}

    // Whether a thread of the view's own is putting frames on the screen.
    virtual bool Presenting() const { return false; }

    // Frames that have reached the screen so far; safe from any thread.
    std::uint64_t FramesShown() const { return m_framesShown.load(std::memory_order_acquire); }
    // The mailbox number of the frame shown last (0 before the first);
    // safe from any thread.
    std::uint64_t LastFrameShown() const { return m_lastShown.load(std::memory_order_acquire); }
    // Frames posted to the mailbox so far; safe from any thread.
    std::uint64_t FramesPosted() const { return m_mailbox.Posted(); }

  protected:
    // A child of window, covering it and transparent to input, showing the
    // frames of mailbox, which must outlive it, as look says; not shown yet.
    ScanOutView(QWidget* window, FrameMailbox& mailbox, ScanOutLook look);

    // Where the frames come from.
    FrameMailbox& Mailbox() const { return m_mailbox; }
    // How they look.
    const ScanOutLook& Look() const { return m_look; }

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
    const ScanOutLook m_look;
    std::atomic<std::uint64_t> m_framesShown{0};
    std::atomic<std::uint64_t> m_lastShown{0};
};
