#pragma once

#include <QPolygonF>
#include <QRect>

// The reading cue: a small solid triangle at a chosen height of the
// prompter picture, pointing at the text, where the talent's eye rests. It
// is drawn over the picture by whatever shows the picture (the presenters,
// the operator's preview), never into the 8-bit surfaces, which stay exact.
// This file is the one rule for where it goes.

// Whether the cue shows, and at what height.
struct ReadingCue {
    bool shown = false;     // off unless the operator chose it
    int heightPercent = 33; // of the picture's height, from its top
};

inline constexpr int kCueHeightLowest = 5;   // percent; nearer the edge the cue would be cut
inline constexpr int kCueHeightHighest = 95; // percent
inline constexpr int kCueHeightDefault = 33; // a third of the way down, where the eye rests

// A height held within kCueHeightLowest..kCueHeightHighest.
int ClampCueHeight(int percent);

// The row of the 640 x 480 picture that the cue marks.
int CueRow(const ReadingCue& cue);

// The cue's width in columns of the 640 x 480 picture, rounded up: the
// room it takes beside the text.
int CueWidthOnPicture();

// The cue's triangle, right-reading, in the coordinates of an area in which
// the picture fills picture (the ScanOutRect rule). When the picture keeps
// a margin of marginColumns (of its 640) that the cue fits in, the cue
// stands in it, its tip at the text's edge; else, where the area leaves
// room beside the picture, in that room, its tip at the picture's edge;
// else inside the picture at its left edge.
QPolygonF CueTriangle(const QRect& area, const QRect& picture, const ReadingCue& cue,
                      int marginColumns);
