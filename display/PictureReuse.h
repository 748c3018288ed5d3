#pragma once

#include "ScanOut.h"

#include <cstddef>
#include <vector>

// Where to paint a new picture among images that hold earlier ones, each
// image read as a ring of rows from any top row on: a picture that moved by
// whole screen rows is found in an image that holds it moved, and only the
// rows new to it need painting. A frame moving by fractions of a screen
// row comes back to the same fraction every few frames, so an image kept
// per fraction holds all but the rows that came in since.
struct PictureReuse {
    std::size_t image = 0;
    int top = 0;         // the image row the picture's first row goes to
    int rowsToPaint = 0; // rows whose key the image does not hold there
};

// The image and top row that leave the fewest of the wanted rows (one key
// per picture row) to paint, among images holding a row per picture row.
// Where none holds three quarters of the picture (as an image of another
// fraction of a row would), the least recently used image, so that
// in turn each comes to hold a fraction of a row a moving picture stands at.
PictureReuse BestReuse(const std::vector<std::vector<ScanOutHeldRow>>& images,
                       const std::vector<ScanOutRowKey>& wanted, std::size_t leastRecent);

// How many images keep the pictures of a target height: one per fraction
// of a screen row a 480-row frame can stand at, within reason.
std::size_t ImagesToKeep(int targetHeight);
