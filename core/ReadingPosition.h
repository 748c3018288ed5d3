#pragma once

#include <cstdint>

// Where the talent reads and what is there, worked out from the run state:
// lines follow one another at a pitch of one line height and a gap row, so
// the strip's line and row place every other line on the picture.

// a / b rounded towards minus infinity, so that rows above the picture fall
// into the line they belong to.
inline std::int64_t FloorDivide(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The picture row the talent reads at: the reading cue's when it shows,
// else the top row.
int ReadingRow();

// Where the top of a line goes for the talent to read it: centred on the
// cue when it shows, else at the top of the picture.
int ReadingLineTop();

// The picture row of the top of line (above the picture or below it for a
// line off it), as the run shows it now.
std::int64_t LineTopOnPicture(int line);

// The line at the reading row: -1 or less above the first line, the line
// count or more past the last.
int LineBeingRead();

// The rows the text still has to move forward before the run reaches the
// end of the script; 0 there.
std::int64_t RowsLeftToTheEnd();
