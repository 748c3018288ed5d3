#include "LineStarts.h"

#include "ScrollRunState.h"

#include <algorithm>

void RecordCapturedLineStarts()
{
    ScrollRunState& st = g_runState;
    const std::string& text = g_runParams.scriptText;
    int line = st.scannedLineStarts;
    if (line == 0)
        SetLineStart(0, 0);
    // The LF alone ends a line, as it does for the reads of a run, so the
    // table and the reads agree on every line.
    std::size_t from = static_cast<std::size_t>(LineStart(line));
    while (line < g_runParams.lineCount && from < text.size()) {
        const std::size_t lf = text.find('\n', from);
        if (lf == std::string::npos)
            break;
        from = lf + 1;
        ++line;
        SetLineStart(line, static_cast<int>(from));
    }
    st.scannedLineStarts = line;
}

void RecordLineStartsOfNewScript()
{
    g_runState.LineStartTable.clear();
    g_runState.scannedLineStarts = 0;
    RecordCapturedLineStarts();
}

int KnownLineCount()
{
    return std::min(g_runState.scannedLineStarts, g_runParams.lineCount);
}
