#include "StoryNumber.h"

#include <algorithm>

bool StoryNumberEntry::Stands(TimePoint now) const
{
    return m_lastDigit && now - *m_lastDigit < kStoryNumberPatience;
}

void StoryNumberEntry::Type(int digit, TimePoint now)
{
    if (!Stands(now)) {
        m_number = 0;
        m_digits = 0;
    }
    m_lastDigit = now;
    if (m_digits < kStoryNumberDigits)
        m_number = m_number * 10 + digit;
    m_digits = std::min(m_digits + 1, kStoryNumberDigits + 1);
}

std::optional<int> StoryNumberEntry::Shown(TimePoint now) const
{
    if (!Stands(now) || m_digits > kStoryNumberDigits)
        return std::nullopt;
    return m_number;
}

std::optional<int> StoryNumberEntry::Take(TimePoint now)
{
    const std::optional<int> number = Shown(now);
    m_lastDigit.reset();
    return number;
}
