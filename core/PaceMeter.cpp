#include "PaceMeter.h"

#include <algorithm>

void PaceMeter::NoteRow(std::uint64_t tick)
{
    if (m_inStretch) {
        m_now.movedNs += static_cast<std::int64_t>(tick - std::min(tick, m_lastTick));
        m_now.rows += 1;
    }
    m_inStretch = true;
    m_lastTick = tick;
    if (m_now.movedNs - m_samples[m_newest].movedNs < kSampleEveryNs)
        return;
    m_newest = (m_newest + 1) % m_samples.size();
    m_samples[m_newest] = m_now;
    m_count = std::min(m_count + 1, m_samples.size());
}

std::optional<double> PaceMeter::RowsPerSecond(std::int64_t enoughNs) const
{
    // The oldest sample within the window, or the newest when none is.
    const Sample* from = &m_samples[m_newest];
    for (std::size_t back = 0; back < m_count; ++back) {
        const Sample& sample = m_samples[(m_newest + m_samples.size() - back) % m_samples.size()];
        if (m_now.movedNs - sample.movedNs > kWindowNs)
            break;
        from = &sample;
    }
    const std::int64_t span = m_now.movedNs - from->movedNs;
    if (span < std::max<std::int64_t>(enoughNs, 1))
        return std::nullopt;
    return static_cast<double>(m_now.rows - from->rows) * 1e9 / static_cast<double>(span);
}
