#pragma once

#include <cstdint>

// Redraws the picture with one line where the talent reads (ReadingLineTop)
// and leaves the run state exactly as if the run had scrolled there in its
// present direction: the strip holds the line entering at the edge the
// text moves towards, lineIndex, stripRow and textPos name it, and the
// lines above and below lie at the pitch the steps give them, so that the
// next step in either direction, or a pending turn, goes on seamlessly.
// Pause, direction and a pending change stay as they were. Lines past the
// end or before the start show as background; the next step towards them
// pauses the run, as it does at the ends. False, with nothing changed, when
// the run has no picture or the line's start is not known.
bool ShowLineForReading(int line);

// The same with the top of line on picture row top, which may lie above
// or below the picture.
bool ShowLineAtRow(int line, std::int64_t top);

// Draws lines from to to - 1 anew where the picture shows them, after their
// text changed but not their number: the rest of the picture and the run's
// place stay as they are. False, with nothing drawn, when the run has no
// picture or the lines may not lie where the steps put them (those of the
// first image).
bool RedrawLinesInPlace(int from, int to);
