#include "FrameRenderer.h"

#include "PreviousParagraph.h"
#include "RunClock.h"
#include "ScrollRunState.h"
#include "Surface.h"
#include "SurfaceDc.h"
#include "TextRaster.h"
#include "TickSource.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace
{
// The drawing context of the line strip, opened on first use: most steps
// bring in no new line and need no context at all.
class StripContext
{
  public:
    SurfaceDc& Get()
    {
        if (!m_dc) {
            m_dc.emplace(*g_runState.offscreenSurface);
            m_dc->SelectFont(PrompterFont());
        }
        return *m_dc;
    }

  private:
    std::optional<SurfaceDc> m_dc;
};

// Lines that fit on the screen at the strip's pitch; a line height of 0
// counts as 1 so the division is always defined.
int LinesOnScreen(int h)
{
    return Surface::kHeight / std::max(h, 1);
}

// After a turn the strip position can fall outside the line it names: the
// count of lines on the screen assumes a pitch of h rows where lines follow
// at h + 1. Move to the line that really holds that position, so that the
// line at the edge goes on entering and no line is skipped.
void KeepStripRowInsideItsLine(int& line, int& stripRow)
{
    const int pitch = std::max(g_runState.lineHeight, 0) + 1;
    const int last = pitch - 1;
    if (stripRow < 0) {
        const int lines = (pitch - 1 - stripRow) / pitch;
        line -= lines;
        stripRow += lines * pitch;
    } else if (stripRow > last) {
        const int lines = (stripRow - last + pitch - 1) / pitch;
        line += lines;
        stripRow -= lines * pitch;
    }
}

// The text is at the bottom of the screen and should start moving down: the
// strip takes the line at the top edge.
void TurnToBackward(StripContext& strip)
{
    ScrollRunState& st = g_runState;
    const int h = st.lineHeight;
    const int q = LinesOnScreen(h);
    st.lineIndex = st.lineIndex - 1 - q;
    st.stripRow = st.stripRow + (h + 1) * (q - 1) + h - Surface::kHeight;
    KeepStripRowInsideItsLine(st.lineIndex, st.stripRow);
    if (st.lineIndex >= 0) {
        ReadScriptLine(LineStart(st.lineIndex));
        DrawStripLine(strip.Get());
    }
    st.lineIndex -= 1;
    st.direction = ScrollDirection::Backward;
}

// The text should start moving up again: the strip takes the line at the
// bottom edge.
void TurnToForward(StripContext& strip)
{
    ScrollRunState& st = g_runState;
    const int h = st.lineHeight;
    const int q = LinesOnScreen(h);
    st.stripRow = st.stripRow + Surface::kHeight - (h + 1) * q;
    st.lineIndex = st.lineIndex + q + 1;
    KeepStripRowInsideItsLine(st.lineIndex, st.stripRow);
    st.textPos = OffsetAfterLine(ReadScriptLine(LineStart(st.lineIndex)));
    st.lineIndex += 1;
    DrawStripLine(strip.Get());
    st.direction = ScrollDirection::Forward;
}

// Pauses at an end of the script with a direction change waiting, so that
// resuming moves the other way.
void StopAtEnd()
{
    g_runState.paused = true;
    g_runState.directionChangeRequested = true;
    NoteRunMotion();
}

// Gets the strip ready for a forward move; false when the script has ended.
bool PrepareForward(StripContext& strip)
{
    ScrollRunState& st = g_runState;
    const int count = std::max(g_runParams.lineCount, 0);
    if (st.lineIndex >= count) {
        st.lineIndex = count;
        st.textPos = LineStart(count);
        StopAtEnd();
        return false;
    }
    // Taken unsigned, a negative strip row also means the strip is used up.
    if (static_cast<unsigned>(st.stripRow) > static_cast<unsigned>(st.lineHeight)) {
        SetLineStart(st.lineIndex, st.textPos);
        st.textPos = OffsetAfterLine(ReadScriptLine(st.textPos));
        st.lineIndex += 1;
        SetLineStart(st.lineIndex, st.textPos);
        st.stripRow = 0;
        DrawStripLine(strip.Get());
    }
    return true;
}

// Gets the strip ready for a backward move; false when line 0 is fully in.
bool PrepareBackward(StripContext& strip)
{
    ScrollRunState& st = g_runState;
    if (st.lineIndex < -1 || (st.lineIndex == -1 && st.stripRow < 0)) {
        StopAtEnd();
        return false;
    }
    if (st.stripRow < 0) {
        ReadScriptLine(LineStart(st.lineIndex));
        st.lineIndex -= 1;
        st.stripRow = st.lineHeight;
        DrawStripLine(strip.Get());
    }
    return true;
}

void MoveForward()
{
    ScrollRunState& st = g_runState;
    st.primarySurface->ScrollUp();
    st.primarySurface->CopyRowFrom(Surface::kHeight - 1, *st.offscreenSurface, st.stripRow);
    st.stripRow += 1;
}

void MoveBackward()
{
    ScrollRunState& st = g_runState;
    st.primarySurface->ScrollDown();
    st.primarySurface->CopyRowFrom(0, *st.offscreenSurface, st.stripRow - 1);
    st.stripRow -= 1;
}
} // namespace

void ScrollStep()
{
    ScrollRunState& st = g_runState;
    if (st.paused)
        return;
    const std::uint64_t now = ReadTicks();
    if (static_cast<std::int64_t>(now - st.lastStepTime) < st.stepInterval)
        return;
    st.lastStepTime = now;
    if (!st.primarySurface || !st.offscreenSurface)
        return;

    bool moves = false;
    {
        // The strip's context is released before the screen is moved.
        StripContext strip;
        if (st.directionChangeRequested) {
            if (st.direction == ScrollDirection::Forward)
                TurnToBackward(strip);
            else
                TurnToForward(strip);
            st.directionChangeRequested = false;
        }
        moves = st.direction == ScrollDirection::Forward ? PrepareForward(strip)
                                                         : PrepareBackward(strip);
    }
    if (!moves)
        return;
    if (st.direction == ScrollDirection::Forward)
        MoveForward();
    else
        MoveBackward();
    st.pace.NoteRow(now);
    NoteLineRead();
}
