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
//
// Every write is counted, so that whoever shows the picture knows without
// looking at the pixels whether it changed, and each row carries a stamp
// that stays with its pixels while the picture pans: a row shown under the
// same stamp as before holds the same pixels as before, wherever it is now.
class Surface
{
  public:
    static constexpr int kWidth = 640;  // pixels per row
    static constexpr int kHeight = 480; // rows

    // A surface filled with index 0.
    Surface();

    // The bytes of row y (0..479), kWidth of them, left to right. Counts as
    // a write of that row.
    std::uint8_t* Row(int y);
    // The bytes of row y (0..479), read only.
    const std::uint8_t* Row(int y) const;

    // All rows contiguous, top to bottom, kWidth bytes apart; undoes any pan
    // first. Valid until the next ScrollUp or ScrollDown. Counts as a write
    // of every row.
    std::uint8_t* Pixels();

    // Records that rows first .. first + count - 1 (those inside the
    // surface) were written through a pointer taken earlier.
    void MarkRowsWritten(int first, int count);

    // Grows with every write to the picture, a pan included; equal values
    // mean an unchanged picture.
    std::uint64_t Changes() const { return m_changes; }

    // The stamp of the pixels that row y (0..479) shows: it changes when the
    // row is written and moves with the row when the picture pans.
    std::uint64_t RowStamp(int y) const { return m_stamps[Storage(y)]; }

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
    std::size_t Storage(int y) const { return static_cast<std::size_t>((m_origin + y) % kHeight); }
    void Stamp(int y) { m_stamps[Storage(y)] = ++m_changes; }
    void StampAll();

    std::vector<std::uint8_t> m_pixels;  // kHeight rows in ring order
    std::vector<std::uint64_t> m_stamps; // one per row, in ring order
    std::uint64_t m_changes = 0;         // writes so far; the newest stamp
    int m_origin = 0;                    // storage row that shows as row 0
};
