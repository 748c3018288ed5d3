#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The bytes of a run's script. Replacing a stretch moves the shorter side
// of it, so an edit near the top of a long script does not move the rest:
// the text may start after some free room, which only this class sees.
class ScriptText
{
  public:
    // The lower-case members do what std::string's do, so that the code that
    // captures a script fills either kind of text.
    ScriptText& operator=(std::string_view bytes);
    ScriptText& operator+=(std::string_view bytes);
    void append(const char* bytes, std::size_t count) { m_bytes.append(bytes, count); }

    /// The text, valid until the next change.
    std::string_view View() const { return std::string_view(m_bytes).substr(m_start); }
    std::size_t size() const { return m_bytes.size() - m_start; }
    void clear();
    /// Makes room for `count` bytes of text in all, so appends do not move it.
    void reserve(std::size_t count) { m_bytes.reserve(m_start + count); }

    /// Replaces the `count` bytes at `from` with `bytes`.
    void Replace(std::size_t from, std::size_t count, std::string_view bytes);

  private:
    std::string m_bytes;     // the free room, then the text
    std::size_t m_start = 0; // where the text starts in m_bytes
};
