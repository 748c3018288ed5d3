#include "FrameMailbox.h"

#include "Surface.h"

#include <utility>

void FrameMailbox::Post(const Surface& surface)
{
    m_wanted.store(false, std::memory_order_relaxed);
    m_afresh.store(false, std::memory_order_relaxed);
    m_staging.CopyFrom(surface);
    // Stamps mean something only between frames of one surface.
    if (&surface != m_postedFrom)
        m_staging.rowStamps.clear();
    m_postedFrom = &surface;
    m_postedChanges = surface.Changes();
    const std::uint64_t number = m_posted.load(std::memory_order_relaxed) + 1;
    {
        const std::lock_guard guard(m_lock);
        std::swap(m_staging, m_ready);
        m_readyNumber = number;
        m_fresh = true;
    }
    m_posted.store(number, std::memory_order_release);
}

bool FrameMailbox::Offer(const Surface& surface)
{
    const bool changed = m_afresh.load(std::memory_order_acquire) || &surface != m_postedFrom ||
                         surface.Changes() != m_postedChanges;
    if (!changed)
        return false;
    if (!Wanted())
        return true;
    Post(surface);
    return false;
}

std::uint64_t FrameMailbox::Take()
{
    const std::lock_guard guard(m_lock);
    if (!m_fresh)
        return 0;
    std::swap(m_taken, m_ready);
    m_takenNumber = m_readyNumber;
    m_fresh = false;
    return m_takenNumber;
}

std::uint64_t FrameMailbox::CopyNewest(ScanOutFrame& frame, std::uint64_t since)
{
    const std::lock_guard guard(m_lock);
    const ScanOutFrame& newest = m_fresh ? m_ready : m_taken;
    const std::uint64_t number = m_fresh ? m_readyNumber : m_takenNumber;
    if (number != since) {
        frame.indices = newest.indices;
        frame.rowStamps = newest.rowStamps;
    }
    return number;
}
