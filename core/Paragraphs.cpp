#include "Paragraphs.h"

#include "ScrollRunState.h"

#include <algorithm>

namespace
{
bool IsBlank(int line)
{
    const std::string_view text = g_runParams.scriptText.View();
    const auto from = static_cast<std::size_t>(LineStart(line));
    const auto to = std::min(static_cast<std::size_t>(LineStart(line + 1)), text.size());
    for (std::size_t i = from; i < to; ++i) {
        const char c = text[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return true;
}

// The first lines of the paragraphs among the first known lines, found once
// per run and extended as the script comes in, so that the status's
// paragraph figures cost a search rather than a pass over the script.
const std::vector<int>& ParagraphStarts(int known)
{
    ScrollRunState::ParagraphIndex& index = g_runState.paragraphs;
    for (; index.linesSeen < known; ++index.linesSeen)
        if (BeginsParagraph(index.linesSeen))
            index.starts.push_back(index.linesSeen);
    return index.starts;
}

// The paragraphs that begin at or before line, among the first known lines.
int StartsUpTo(int line, int known)
{
    const std::vector<int>& starts = ParagraphStarts(known);
    const auto end = std::lower_bound(starts.begin(), starts.end(), known);
    return static_cast<int>(std::upper_bound(starts.begin(), end, line) - starts.begin());
}
} // namespace

bool BeginsParagraph(int line)
{
    return line == 0 || (line > 0 && IsBlank(line - 1) && !IsBlank(line));
}

std::optional<int> NextParagraphStart(int line, int known)
{
    for (int k = std::max(line + 1, 0); k < known; ++k)
        if (BeginsParagraph(k))
            return k;
    return std::nullopt;
}

std::optional<int> PreviousParagraphStart(int line, int known)
{
    for (int k = std::min(line, known) - 1; k >= 0; --k)
        if (BeginsParagraph(k))
            return k;
    return std::nullopt;
}

std::optional<int> ParagraphStartHolding(int line, int known)
{
    if (line >= 0 && line < known && BeginsParagraph(line))
        return line;
    return PreviousParagraphStart(line, known);
}

int ParagraphCount(int known)
{
    return StartsUpTo(known, known);
}

int ParagraphNumber(int line, int known)
{
    return StartsUpTo(line, known);
}

std::optional<int> ParagraphStart(int number, int known)
{
    if (number < 1 || number > ParagraphCount(known))
        return std::nullopt;
    return ParagraphStarts(known)[static_cast<std::size_t>(number - 1)];
}
