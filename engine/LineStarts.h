#pragma once

// The start of every captured line, recorded before the run reads it, so
// that a jump can reach lines that were never shown. The table is filled
// from the captured text and grows with it: a script that is still being
// captured has its starts recorded piece by piece.

// Records in the line-start table the start of every captured line not yet
// recorded, scanning the text from the first of them for the LF of each CR
// LF line end, up to the run's line count. Called when a run starts and
// again whenever more of the script has been captured.
void RecordCapturedLineStarts();

// Forgets what an earlier script recorded and records the captured lines;
// called when a run starts.
void RecordLineStartsOfNewScript();

// The lines whose starts are known; no jump goes further.
int KnownLineCount();
