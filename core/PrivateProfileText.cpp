#include "PrivateProfileText.h"

#include <algorithm>
#include <vector>

namespace PrivateProfile
{
namespace
{

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

enum class LineKind { Blank, Comment, Header, Entry, Other };

// One line of the file: its content is text[begin, contentEnd), its line break
// (none on a last line without one) text[contentEnd, end). For a header `name`
// is the section's name; for an entry it is the value's name and the value is
// text[valueBegin, valueEnd), blanks excluded.
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

void Classify(std::string_view text, Line& line)
{
    const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
    const std::string_view trimmed = Trimmed(content);
    if (trimmed.empty()) {
        line.kind = LineKind::Blank;
    } else if (trimmed.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (trimmed.front() == '[' && trimmed.find(']') != std::string_view::npos) {
        line.kind = LineKind::Header;
        line.name = Trimmed(trimmed.substr(1, trimmed.find(']') - 1));
    } else if (const std::size_t equals = content.find('='); equals != std::string_view::npos) {
        line.kind = LineKind::Entry;
        line.name = Trimmed(content.substr(0, equals));
        std::size_t first = line.begin + equals + 1;
        std::size_t last = line.contentEnd;
        while (first < last && IsBlank(text[first]))
            ++first;
        while (last > first && IsBlank(text[last - 1]))
            --last;
        line.valueBegin = first;
        line.valueEnd = last;
    }
}

// A UTF-8 byte-order mark at the start of the file belongs to no line, so the
// first section is found behind it, and an edit keeps it where it is.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::size_t FirstLineBegin(std::string_view text)
{
    return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t begin = FirstLineBegin(text);
    while (begin < text.size()) {
        Line line;
        line.begin = begin;
        const std::size_t newline = text.find('\n', begin);
        line.end = newline == std::string_view::npos ? text.size() : newline + 1;
        line.contentEnd = newline == std::string_view::npos ? text.size() : newline;
        // A CR belongs to the line break only right before its LF.
        if (newline != std::string_view::npos && line.contentEnd > begin &&
            text[line.contentEnd - 1] == '\r')
            --line.contentEnd;
        Classify(text, line);
        lines.push_back(line);
        begin = line.end;
    }
    return lines;
}

// Where a section's value or the section itself was found.
struct Location {
    const Line* entry = nullptr;         // the value's line, when present
    const Line* lastOfSection = nullptr; // the first such section's header or last entry
};

// The first entry of that name in the first section of that name, as the
// platform's profile functions find it: a later section of the same name is
// never read or written. The value is looked up the same way for reading and
// for writing, so a write changes what a read sees.
Location Locate(const std::vector<Line>& lines, std::string_view section, std::string_view name)
{
    Location found;
    bool inFirstSection = false;
    for (const Line& line : lines) {
        if (line.kind == LineKind::Header) {
            inFirstSection = found.lastOfSection == nullptr && SameName(line.name, section);
            if (inFirstSection)
                found.lastOfSection = &line;
        } else if (inFirstSection && line.kind == LineKind::Entry) {
            found.lastOfSection = &line;
            if (found.entry == nullptr && SameName(line.name, name))
                found.entry = &line;
        } else if (inFirstSection && line.kind == LineKind::Other) {
            found.lastOfSection = &line;
        }
    }
    return found;
}

// New lines follow the file's first line break; a file without one gets CR LF,
// as the platform writes it, so a file made here reads the same on Windows.
std::string_view LineBreakOf(std::string_view text)
{
    const std::size_t newline = text.find('\n');
    if (newline == std::string_view::npos)
        return "\r\n";
    return newline > 0 && text[newline - 1] == '\r' ? "\r\n" : "\n";
}

// Blanks at either end would be trimmed away on reading, and a surrounding pair
// of quotes would be removed; one more pair of double quotes protects both.
std::string StoredForm(std::string_view value)
{
    const bool loosesBlanks = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    const bool loosesQuotes =
        value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
    if (loosesBlanks || loosesQuotes)
        return "\"" + std::string(value) + "\"";
    return std::string(value);
}

} // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view name)
{
    const std::vector<Line> lines = SplitLines(text);
    const Location found = Locate(lines, Trimmed(section), Trimmed(name));
    if (found.entry == nullptr)
        return std::nullopt;
    std::string_view value =
        text.substr(found.entry->valueBegin, found.entry->valueEnd - found.entry->valueBegin);
    if (value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::vector<std::string> NamesIn(std::string_view text, std::string_view section)
{
    std::vector<std::string> names;
    bool inFirstSection = false;
    bool seenSection = false;
    for (const Line& line : SplitLines(text)) {
        if (line.kind == LineKind::Header) {
            inFirstSection = !seenSection && SameName(line.name, Trimmed(section));
            seenSection = seenSection || inFirstSection;
        } else if (inFirstSection && line.kind == LineKind::Entry && !line.name.empty() &&
                   std::none_of(names.begin(), names.end(), [&line](const std::string& seen) {
                       return SameName(seen, line.name);
                   })) {
            names.emplace_back(line.name);
        }
    }
    return names;
}

bool CanStore(std::string_view section, std::string_view name, std::string_view value)
{
    const auto hasLineBreak = [](std::string_view s) {
        return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    if (hasLineBreak(section) || hasLineBreak(name) || hasLineBreak(value))
        return false;
    const std::string_view trimmedName = Trimmed(name);
    if (trimmedName.empty() || trimmedName.find('=') != std::string_view::npos ||
        trimmedName.front() == '[' || trimmedName.front() == ';')
        return false;
    return section.find(']') == std::string_view::npos;
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view name,
                      std::string_view value)
{
    section = Trimmed(section);
    name = Trimmed(name);
    const std::string stored = StoredForm(value);
    const std::vector<Line> lines = SplitLines(text);
    const Location found = Locate(lines, section, name);
    const std::string_view lineBreak = LineBreakOf(text);

    std::string result;
    result.reserve(text.size() + section.size() + name.size() + stored.size() + 8);
    if (found.entry != nullptr) {
        result.append(text.substr(0, found.entry->valueBegin));
        result.append(stored);
        result.append(text.substr(found.entry->valueEnd));
        return result;
    }
    const std::string entryLine = std::string(name) + "=" + stored + std::string(lineBreak);
    if (found.lastOfSection != nullptr) {
        const Line& last = *found.lastOfSection;
        result.append(text.substr(0, last.end));
        if (last.end == last.contentEnd)
            result.append(lineBreak);
        result.append(entryLine);
        result.append(text.substr(last.end));
        return result;
    }
    result.append(text);
    if (text.size() > FirstLineBegin(text) && text.back() != '\n')
        result.append(lineBreak);
    result.append("[").append(section).append("]").append(lineBreak);
    result.append(entryLine);
    return result;
}

} // namespace PrivateProfile
