#pragma once

// The time a run spends moving, counted from the moment the text starts
// moving to the moment it stands still, whatever stopped it: the operator,
// the remote control, an end of the script, the end of the run. A new run
// starts at nothing (ResetMotionForNewRun).

// Takes note of whether the text moves now; called after anything that may
// have paused, resumed or ended the run.
void NoteRunMotion();

// The seconds the text has moved in this run, up to now.
double SecondsMoved();
