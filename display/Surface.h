#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A 640 x 480 picture of 8-bit palette indices, the stand-in for a display
// surface. Index 0 is the run's background colour and 255 its text colour
// (see SurfacePalette.h); the values between are anti-aliased text edges.
//
// Rows are addressed 0 (top) to 479. Internally the rows form a ring whose
// first visible row can move, so the whole image scrolls by one row the way
// display hardware pans: by moving the origin, not the pixels. Every
// accessor hides the ring; Pixels() straightens it for painting.
class Surface
{
  public:
    static constexpr int kWidth = 640;  // pixels per row
    static constexpr int kHeight = 480; // rows

    // A surface filled with index 0.
    Surface();

    // The bytes of row y (0..479), kWidth of them, left to right.
    std::uint8_t* Row(int y);
    // The bytes of row y (0..479), read only.
    const std::uint8_t* Row(int y) const;

    // All rows contiguous, top to bottom, kWidth bytes apart; undoes any pan
    // first. Valid until the next ScrollUp or ScrollDown.
    std::uint8_t* Pixels();

    // Sets every pixel to index.
    void Fill(std::uint8_t index);

    // Copies row srcRow of src into row destRow. A row outside 0..479 on
    // either side copies nothing, and the target row keeps what it held.
    void CopyRowFrom(int destRow, const Surface& src, int srcRow);

    // Copies the whole image of src.
    void CopyFrom(const Surface& src);

    // Moves the image up one row; row 479 keeps what it showed, so it now
    // repeats row 478.
    void ScrollUp();

    // Moves the image down one row; row 0 keeps what it showed, so it now
    // repeats row 1.
    void ScrollDown();

    // Writes the visible image, top row first, into dest: kHeight rows of
    // kWidth bytes, destStride bytes apart.
    void CopyRowsTo(std::uint8_t* dest, std::ptrdiff_t destStride = kWidth) const;

  private:
    std::vector<std::uint8_t> m_pixels; // kHeight rows in ring order
    int m_origin = 0;                   // storage row that shows as row 0
};
