#pragma once

// Runs the prompter once, from start to stop, and returns when the operator
// has ended the run or it could not start; the run state's speedValue then
// holds the speed it ended at. The run starts paused and forward at the
// starting speed of the run parameters, on the primary screen or, when
// useMonitor2, on the last screen that is not the primary.
//
// While it runs, a loop dispatches whatever event waits and otherwise
// performs one scroll step; it never waits, so other windows keep painting
// and a quit request does not end the run.
void StartScrollRun(bool useMonitor2);
