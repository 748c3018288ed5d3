#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class Surface;

// Hands copies of the visible surface from the scroll loop to whoever puts
// them on the screen, at the screen's pace. The loop posts only when a frame
// is wanted, copies outside the lock and holds the lock for a buffer swap
// alone, so showing a frame never holds up a scroll step.
class FrameMailbox
{
  public:
    FrameMailbox();

    // True when the presenter has asked for the next frame (cheap; the loop
    // asks at every pass).
    bool Wanted() const { return m_wanted.load(std::memory_order_acquire); }

    // Copies the surface's visible image into the mailbox as the newest
    // frame. Frames are numbered 1, 2, ... in the order they are posted.
    void Post(const Surface& surface);

    // How many frames have been posted; safe from any thread.
    std::uint64_t Posted() const { return m_posted.load(std::memory_order_acquire); }

    // Posts the surface if a frame is wanted; called by the loop at every pass.
    void PostIfWanted(const Surface& surface)
    {
        if (Wanted())
            Post(surface);
    }

    // Moves the newest frame, if one came since the last call, into frame
    // (640 x 480 indices) and returns its number; 0 when none came. The
    // next frame is posted only once Want() asks for it.
    std::uint64_t Take(std::vector<std::uint8_t>& frame);

    // Asks the loop to post its next frame.
    void Want() { m_wanted.store(true, std::memory_order_release); }

  private:
    std::vector<std::uint8_t> m_staging;    // the loop's copy, filled outside the lock
    std::mutex m_lock;                      // guards m_ready, m_readyNumber and m_fresh
    std::vector<std::uint8_t> m_ready;      // the newest complete frame
    std::uint64_t m_readyNumber = 0;        // its number
    bool m_fresh = false;                   // m_ready has not been taken yet
    std::atomic<std::uint64_t> m_posted{0}; // frames posted, written by the loop alone
    std::atomic<bool> m_wanted{true};       // the presenter waits for a frame
};
