#pragma once

// One pass of the scroll run's loop when no input waits. When the speed's
// tick interval has passed since the last step, moves the whole screen image
// one pixel row (up going forward, down going backward) and brings in one
// row of the entering line from the line strip; carries out a pending
// direction change first, and pauses with a change pending at either end of
// the script. While paused it returns before reading the tick counter. A
// row moved is counted by the run's pace meter, and the line then being
// read is noted for Page Up (PreviousParagraph.h).
void ScrollStep();
