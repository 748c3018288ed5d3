#include "FrameMailbox.h"

#include "Surface.h"

#include <utility>

namespace
{
constexpr std::size_t kFrameBytes = std::size_t{Surface::kWidth} * Surface::kHeight;
}

FrameMailbox::FrameMailbox() : m_staging(kFrameBytes), m_ready(kFrameBytes) {}

void FrameMailbox::Post(const Surface& surface)
{
    m_wanted.store(false, std::memory_order_relaxed);
    surface.CopyRowsTo(m_staging.data());
    const std::uint64_t number = m_posted.load(std::memory_order_relaxed) + 1;
    {
        const std::lock_guard guard(m_lock);
        std::swap(m_staging, m_ready);
        m_readyNumber = number;
        m_fresh = true;
    }
    m_posted.store(number, std::memory_order_release);
}

std::uint64_t FrameMailbox::Take(std::vector<std::uint8_t>& frame)
{
    const std::lock_guard guard(m_lock);
    if (!m_fresh)
        return 0;
    frame.resize(kFrameBytes);
    std::swap(frame, m_ready);
    m_fresh = false;
    return m_readyNumber;
}
