#include "PreviousParagraph.h"

#include "Paragraphs.h"
#include "ReadingPosition.h"
#include "RunClock.h"
#include "ScrollRunState.h"

std::optional<int> PreviousParagraphTarget(int line, int known,
                                           const std::optional<ParagraphArrival>& arrival,
                                           std::chrono::steady_clock::time_point now)
{
    const std::optional<int> start = ParagraphStartHolding(line, known);
    if (start && arrival && arrival->start == *start && now - arrival->at < kJustCameTo)
        if (const std::optional<int> before = PreviousParagraphStart(*start, known))
            return before;
    return PreviousParagraphStart(line, known);
}

void NoteLineRead(bool afterJump)
{
    ScrollRunState& st = g_runState;
    const int line = LineBeingRead();
    if (line == st.lineRead && !afterJump)
        return;
    st.lineRead = line;
    if (line >= 0 && line < g_runParams.lineCount && BeginsParagraph(line))
        st.paragraphArrival = ParagraphArrival{line, RunClockNow()};
}
