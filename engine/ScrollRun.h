#pragma once

#include <chrono>
#include <functional>

// The part of a script that reaches a run while it goes. Called in the
// loop's idle time with the moment the loop must be back (the next step or
// frame), it appends the next lines to the run's script, records their
// starts and the line count, and stops short of that moment; it answers
// whether lines remain.
using ScriptFeed = std::function<bool(std::chrono::steady_clock::time_point until)>;

// Drives a run in place of its own steps, for a prompter that follows
// another: called at every pass of the loop, after whatever event the pass
// dispatched and before the pass may hand the screen a frame, it moves the
// picture itself and answers when it wants the next pass.
using RunPilot =
    std::function<std::chrono::steady_clock::time_point(std::chrono::steady_clock::time_point now)>;

// Runs the prompter once, from start to stop, and returns when the operator
// has ended the run or it could not start; the run state's speedValue then
// holds the speed it ended at. The run starts paused and forward at the
// starting speed of the run parameters, on the primary screen or, when
// useMonitor2, on the last screen that is not the primary. rest, when
// given, brings in the rest of the script; it is kept ahead of the lines
// the run reads.
//
// While it runs, a loop dispatches whatever event waits and otherwise
// performs one scroll step, so other windows keep painting and a quit
// request does not end the run. Between passes it waits, inside the event
// dispatcher, until the next step is due or the screen wants a pass; an
// event ends the wait at once. Paused, it waits for events alone; at speed
// value 0 it never waits. pilot, when given, moves the picture instead of the steps.
void StartScrollRun(bool useMonitor2, ScriptFeed rest = {}, RunPilot pilot = {});
