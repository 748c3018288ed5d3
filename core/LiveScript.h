#pragma once

#include <string>

// The script of a run that stays open to edits while the run goes. An edit
// replaces whole lines of the captured script; the line being read keeps
// its row on the picture, so the talent's place does not jump.

// Lines first to first + removed - 1 of the run's script give way to the
// lines of text, each followed by CR LF.
struct RunScriptEdit {
    int first = 0;
    int removed = 0;
    std::string text;
};

// Puts edit into the run's script, its line starts and its line count,
// leaving out the lines at either end of the edit that stay as they were.
// While the run shows a picture it is drawn anew as the script now stands,
// with the line being read on the row it had, and the run goes on from
// there in its direction; pause and a pending turn stay as they were. A
// line below the change keeps its number; one above moves with the change;
// a changed line keeps its number while the new lines reach it, else the
// first line after them takes its place; a place past the end is held to
// the last line.
void ApplyRunScriptEdit(RunScriptEdit edit);
