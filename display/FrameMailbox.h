#pragma once

#include "ScanOutFrame.h"

#include <atomic>
#include <cstdint>
#include <mutex>

class Surface;

// Hands copies of the visible surface from the scroll loop to whoever puts
// them on the screen, at the screen's pace. The loop posts only when a frame
// is wanted and the picture changed since the last post (the surface counts
// its writes, so a paused run posts nothing and costs no copy), copies
// outside the lock and holds the lock for a buffer swap alone, so showing a
// frame never holds up a scroll step.
class FrameMailbox
{
  public:
    // True when the presenter has asked for the next frame (cheap; the loop
    // asks at every pass).
    bool Wanted() const { return m_wanted.load(std::memory_order_acquire); }

    // Copies the surface's visible picture into the mailbox as the newest
    // frame, wanted or not. Frames are numbered 1, 2, ... in the order they
    // are posted.
    void Post(const Surface& surface);

    // Called by the loop at every pass: posts the surface when a frame is
    // wanted and its picture changed since the last post. True when the
    // surface holds a picture not posted yet, waiting for the presenter to
    // want it.
    bool Offer(const Surface& surface);

    // How many frames have been posted; safe from any thread.
    std::uint64_t Posted() const { return m_posted.load(std::memory_order_acquire); }

    // Makes the newest frame, if one came since the last call, the taken
    // one and returns its number; 0 when none came, the taken frame staying
    // as it was. The next frame is posted only once Want() asks for it.
    std::uint64_t Take();

    // The frame taken last (empty before the first); for the taker alone,
    // valid until its next Take.
    const ScanOutFrame& Taken() const { return m_taken; }

    // Copies the newest frame posted into frame unless its number is since,
    // and answers that number (0 before the first post). For a reader beside
    // the presenter, such as an operator's preview: from the loop's own
    // thread it never waits for the loop.
    std::uint64_t CopyNewest(ScanOutFrame& frame, std::uint64_t since);

    // Asks the loop to post its next frame.
    void Want() { m_wanted.store(true, std::memory_order_release); }

    // Takes back a Want() that no post has answered.
    void Withdraw() { m_wanted.store(false, std::memory_order_release); }

    // Asks the loop to post its next frame even if the picture is the one
    // posted last: a presenter that starts afresh has none.
    void WantAfresh()
    {
        m_afresh.store(true, std::memory_order_release);
        Want();
    }

  private:
    ScanOutFrame m_staging;                 // the loop's copy, filled outside the lock
    std::mutex m_lock;                      // guards the three below and m_taken's swap
    ScanOutFrame m_ready;                   // the newest complete frame
    std::uint64_t m_readyNumber = 0;        // its number
    bool m_fresh = false;                   // m_ready has not been taken yet
    ScanOutFrame m_taken;                   // the presenter's frame
    std::uint64_t m_takenNumber = 0;        // its number
    std::atomic<std::uint64_t> m_posted{0}; // frames posted, written by the loop alone
    std::atomic<bool> m_wanted{true};       // the presenter waits for a frame
    std::atomic<bool> m_afresh{true};       // post even an unchanged picture next
    const Surface* m_postedFrom = nullptr;  // the surface posted last, by the loop alone
    std::uint64_t m_postedChanges = 0;      // its change count at that post
};
