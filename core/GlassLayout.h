#pragma once

#include "ReadingCue.h"

// What the operator may add to the prompter picture beside the script: an
// empty margin on each side, a countdown before the first movement and the
// time of day. Each is off unless chosen, and with all of them off the
// picture is the script alone, from the picture's left edge.
struct GlassLayout {
    int marginPercent = 0;    // of the picture's width, kept empty on each side
    int countdownSeconds = 0; // counted down on the glass before a run first moves
    bool clock = false;       // the time of day in a corner
};

inline constexpr int kMarginHighest = 25;           // percent
inline constexpr int kCountdownLongestSeconds = 10; // a countdown is a cue, not a wait

// The columns of the 640-pixel-wide picture kept empty on each side; a
// margin out of range is held within 0..kMarginHighest.
int MarginColumns(const GlassLayout& layout);

// The columns of the 640-pixel-wide picture that script lines are drawn
// in: inside the margin, and right of the reading cue when it shows, so
// the cue never covers a letter.
struct TextColumns {
    int left = 0;
    int right = 0; // one past the last column
};
TextColumns TextColumnsFor(const GlassLayout& layout, const ReadingCue& cue);
