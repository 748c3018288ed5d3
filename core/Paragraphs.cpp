#include "Paragraphs.h"

#include "ScrollRunState.h"

#include <algorithm>

namespace
{
bool IsBlank(int line)
{
    const std::string& text = g_runParams.scriptText;
    const auto from = static_cast<std::size_t>(LineStart(line));
    const auto to = std::min(static_cast<std::size_t>(LineStart(line + 1)), text.size());
    for (std::size_t i = from; i < to; ++i) {
        const char c = text[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    }
    return true;
}

bool BeginsParagraph(int line)
{
    return line == 0 || (IsBlank(line - 1) && !IsBlank(line));
}
} // namespace

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
