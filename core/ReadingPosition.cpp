#include "ReadingPosition.h"

#include "ReadingCue.h"
#include "ScrollRunState.h"
#include "Surface.h"

#include <algorithm>

namespace
{
int Pitch()
{
    return std::max(g_runState.lineHeight, 0) + 1;
}
} // namespace

int ReadingRow()
{
    const ReadingCue& cue = g_runParams.readingCue;
    return cue.shown ? CueRow(cue) : 0;
}

int ReadingLineTop()
{
    return g_runParams.readingCue.shown ? ReadingRow() - std::max(g_runState.lineHeight, 0) / 2 : 0;
}

std::int64_t LineTopOnPicture(int line)
{
    const ScrollRunState& st = g_runState;
    // Going forward the strip holds the line before lineIndex, its row
    // stripRow - 1 on the bottom row; going backward the line after it, its
    // row stripRow on the top row.
    const bool forward = st.direction == ScrollDirection::Forward;
    const std::int64_t stripLine = forward ? st.lineIndex - 1 : st.lineIndex + 1;
    const std::int64_t stripTop = forward ? Surface::kHeight - st.stripRow : -st.stripRow;
    return stripTop + (line - stripLine) * Pitch();
}

int LineBeingRead()
{
    const std::int64_t top = LineTopOnPicture(0);
    return static_cast<int>(FloorDivide(ReadingRow() - top, Pitch()));
}

std::int64_t RowsLeftToTheEnd()
{
    // The run stops at the end once the first row of the last line is on
    // the bottom row.
    const int last = std::max(g_runParams.lineCount - 1, 0);
    return std::max<std::int64_t>(LineTopOnPicture(last) - (Surface::kHeight - 1), 0);
}
