#include "ScriptText.h"

#include <algorithm>
#include <cstring>

namespace
{
// The free room made in front of the text when an edit near the top needs
// more than there is: enough that growing the first lines rarely moves the
// whole text again.
constexpr std::size_t kFrontRoom = 64 * 1024;
} // namespace

ScriptText& ScriptText::operator=(std::string_view bytes)
{
    m_bytes.assign(bytes);
    m_start = 0;
    return *this;
}

ScriptText& ScriptText::operator+=(std::string_view bytes)
{
    m_bytes += bytes;
    return *this;
}

void ScriptText::clear()
{
    m_bytes.clear();
    m_start = 0;
}

void ScriptText::Replace(std::size_t from, std::size_t count, std::string_view bytes)
{
    from = std::min(from, size());
    count = std::min(count, size() - from);
    const std::size_t after = size() - from - count;
    if (after <= from) {
        m_bytes.replace(m_start + from, count, bytes);
        return;
    }
    // The bytes before the stretch are fewer: they move instead.
    if (bytes.size() > count + m_start) {
        const std::size_t room = std::max(kFrontRoom, bytes.size() - count);
        m_bytes.insert(0, room, '\0');
        m_start += room;
    }
    const std::size_t newStart = m_start + count - bytes.size();
    std::memmove(m_bytes.data() + newStart, m_bytes.data() + m_start, from);
    std::memcpy(m_bytes.data() + newStart + from, bytes.data(), bytes.size());
    m_start = newStart;
}
