#pragma once

// Records in the line-start table the start of every line of the run's
// script after line first, whose own start must be recorded already (line
// 0 starts at 0 and is recorded here), scanning for the LF of each line's
// CR LF. Answers the number of lines the script holds: every LF ends one.
int RecordLineStarts(int first);
