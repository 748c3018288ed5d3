#pragma once

#include <cstdint>
#include <vector>

class Surface;

// One picture on its way to the screen: what the visible surface showed,
// with the stamp of every row (Surface::RowStamp), by which a presenter
// knows the rows it has already scaled for an earlier frame.
struct ScanOutFrame {
    std::vector<std::uint8_t> indices;    // 480 rows of 640 palette indices, top row first
    std::vector<std::uint64_t> rowStamps; // one per row, or empty: related to no earlier frame

    // Copies the picture and the stamps of surface.
    void CopyFrom(const Surface& surface);
};
