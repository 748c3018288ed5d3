#include "LineJump.h"

#include "ReadingPosition.h"
#include "ScrollRunState.h"
#include "Surface.h"
#include "SurfaceDc.h"
#include "TextRaster.h"

#include <algorithm>

namespace
{
void DrawIntoStrip(SurfaceDc& strip, int line)
{
    ReadScriptLine(LineStart(line));
    DrawStripLine(strip);
}

// Draws line into the strip and puts it on the picture with its top on row
// y, and the gap row a step would give it.
void PutLineOnPicture(SurfaceDc& strip, int line, std::int64_t y, bool forward)
{
    Surface& screen = *g_runState.primarySurface;
    const Surface& offscreen = strip.surface();
    const int h = std::max(g_runState.lineHeight, 0);
    DrawIntoStrip(strip, line);
    for (int row = 0; row < h; ++row)
        if (y + row >= 0 && y + row < Surface::kHeight)
            screen.CopyRowFrom(static_cast<int>(y + row), offscreen, row);
    // Going forward the gap below a line is the strip's row h, which the
    // initial image left; going backward the gap above a line repeats the
    // line's first row, as a copy from outside the strip does.
    if (forward && y + h < Surface::kHeight)
        screen.CopyRowFrom(static_cast<int>(y + h), offscreen, h);
    else if (!forward && y >= 1 && y <= Surface::kHeight)
        screen.CopyRowFrom(static_cast<int>(y - 1), offscreen, 0);
}

// The first image puts its lines at a pitch of one line height, the steps
// at one more: lines before this one may not lie where the pitch says.
constexpr int kFirstLineAtStepPitch = 2;
} // namespace

bool ShowLineForReading(int line)
{
    return ShowLineAtRow(line, ReadingLineTop());
}

bool ShowLineAtRow(int line, std::int64_t top)
{
    ScrollRunState& st = g_runState;
    const int known = g_runParams.lineCount; // the lines captured so far
    if (!st.primarySurface || !st.offscreenSurface || line < 0 || line >= known)
        return false;
    const int h = std::max(st.lineHeight, 0);
    const int pitch = h + 1;
    const auto topOf = [&](int k) { return top + static_cast<std::int64_t>(k - line) * pitch; };
    const auto lineAt = [&](int row) {
        return line + static_cast<int>(FloorDivide(row - top, pitch));
    };
    const bool forward = st.direction == ScrollDirection::Forward;
    // The line at the edge the text moves towards: its strip row there
    // comes next, so the strip must hold it.
    const int edgeLine = forward ? std::min(lineAt(Surface::kHeight - 1), known - 1) : lineAt(0);

    Surface& screen = *st.primarySurface;
    Surface& offscreen = *st.offscreenSurface;
    screen.Fill(SurfaceDc::kBackgroundIndex);
    {
        SurfaceDc strip(offscreen);
        strip.SelectFont(PrompterFont());
        const int first = std::max(lineAt(0), 0);
        const int last = std::min(lineAt(Surface::kHeight - 1), known - 1);
        for (int k = first; k <= last; ++k)
            PutLineOnPicture(strip, k, topOf(k), forward);
        if (edgeLine >= 0 && edgeLine < known && (edgeLine != last || last < first))
            DrawIntoStrip(strip, edgeLine);
    }
    if (forward) {
        st.lineIndex = edgeLine + 1;
        st.stripRow = static_cast<int>(Surface::kHeight - topOf(edgeLine));
        st.textPos = LineStart(st.lineIndex);
    } else {
        st.lineIndex = edgeLine - 1;
        st.stripRow = static_cast<int>(-topOf(edgeLine));
    }
    return true;
}

bool RedrawLinesInPlace(int from, int to)
{
    ScrollRunState& st = g_runState;
    if (!st.primarySurface || !st.offscreenSurface)
        return false;
    // The first lines are found by the pitch only once the picture is past them.
    if (from < kFirstLineAtStepPitch && LineTopOnPicture(std::max(to, kFirstLineAtStepPitch)) > 0)
        return false;
    const bool forward = st.direction == ScrollDirection::Forward;
    const int stripLine = forward ? st.lineIndex - 1 : st.lineIndex + 1;
    const int h = std::max(st.lineHeight, 0);
    SurfaceDc strip(*st.offscreenSurface);
    strip.SelectFont(PrompterFont());
    bool stripHoldsOther = false;
    for (int k = from; k < std::min(to, g_runParams.lineCount); ++k) {
        const std::int64_t y = LineTopOnPicture(k);
        if (y + h < 0 || y >= Surface::kHeight)
            continue;
        PutLineOnPicture(strip, k, y, forward);
        stripHoldsOther = k != stripLine;
    }
    // The rest of the strip's line has still to enter.
    if (stripHoldsOther && stripLine >= 0 && stripLine < g_runParams.lineCount)
        DrawIntoStrip(strip, stripLine);
    if (forward)
        st.textPos = LineStart(st.lineIndex);
    return true;
}
