#pragma once

#include <cstdint>

// The picture's place in the script as one number, the row: how far the top
// of the script's first line lies above the top of the picture. A prompter
// that follows another shows the same picture at the same row.

/// The row the run shows now.
std::int64_t PictureRow();

/// Moves the picture to `row` as the steps would, one row at a time when it
/// is near (so the presenter sees the text glide), redrawn there when it is
/// far; held at the ends of the script as the steps hold it. Pause stays as
/// it was; the direction is the one it last moved in. False when the run has
/// no picture.
bool MovePictureToRow(std::int64_t row);
