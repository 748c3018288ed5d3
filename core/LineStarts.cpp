#include "LineStarts.h"

#include "ScrollRunState.h"

#include <algorithm>

int RecordLineStarts(int first)
{
    const std::string_view text = g_runParams.scriptText.View();
    int line = std::max(first, 0);
    if (line == 0)
        SetLineStart(0, 0);
    for (std::size_t lf = text.find('\n', static_cast<std::size_t>(LineStart(line)));
         lf != std::string_view::npos; lf = text.find('\n', lf + 1))
        SetLineStart(++line, static_cast<int>(lf + 1));
    return line;
}
