#include "CommandRateLimit.h"

namespace
{
constexpr qint64 kWindowMs = 1000;
}

CommandRateLimit::CommandRateLimit(int perSecond) : m_perSecond(perSecond) {}

bool CommandRateLimit::Allow(qint64 nowMs)
{
    while (!m_recent.empty() && nowMs - m_recent.front() >= kWindowMs)
        m_recent.pop_front();
    if (static_cast<int>(m_recent.size()) >= m_perSecond)
        return false;
    m_recent.push_back(nowMs);
    return true;
}

bool CommandRateLimit::IsIdle(qint64 nowMs) const
{
    return m_recent.empty() || nowMs - m_recent.back() >= kWindowMs;
}
