#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>
#include <QSize>

#include <array>
#include <cstdint>
#include <vector>

// How a 640 x 480 paletted frame fills a screen: as large as fits with its
// 4:3 shape kept, centred, the margins in palette entry 0 (the background).
// Every presenter shows a frame by this one rule, so what a test computes
// here is what the window shows.

// The part of a screen of size area that shows the frame.
QRect ScanOutRect(QSize area);

// The whole screen image for one frame: indices holds 480 rows of 640
// palette indices, top row first. The frame is scaled "sharp bilinear":
// every source pixel becomes a solid block, and only the one screen pixel
// where two blocks meet is blended, so text stays crisp at any scale and
// moves without its strokes changing thickness from row to row.
QImage ScanOutImage(const std::vector<std::uint8_t>& indices, const QList<QRgb>& palette,
                    QSize area);

// Where one screen coordinate samples the frame along one axis: between
// source pixels first and first + 1 (clamped to the frame), with the weight
// of the second in 0..256.
struct ScanOutTap {
    int first = 0;  // nearer-left (or upper) source pixel
    int second = 0; // the pixel after it, or the same at the frame's edge
    int weight = 0; // share of second, 0..256
};

// The taps for every screen coordinate 0..outputLength-1 of an axis whose
// source has sourceLength pixels.
std::vector<ScanOutTap> ScanOutTaps(int sourceLength, int outputLength);

// The pixel value of each palette index in the 32-bit format being drawn.
using ScanOutColours = std::array<std::uint32_t, 256>;

// Scales frames (as for ScanOutImage) to one target size with no margins,
// any band of rows at a time, so that a presenter sharing its thread with
// the scroll loop can spread a frame's scaling over many short pieces.
class ScanOutScaler
{
  public:
    // A scaler for frames shown at exactly target.
    explicit ScanOutScaler(QSize target);

    // The size the frames are scaled to.
    QSize Target() const { return m_target; }

    // Scales target rows first .. first + count - 1 (those inside the
    // target) of the frame indices, which must hold the whole frame, into
    // pixels: pixels points at the target's top-left pixel, each row lies
    // bytesPerLine after the one above it (negative for a buffer kept bottom
    // row first), and index i is drawn as colours[i].
    void Scale(const std::vector<std::uint8_t>& indices, const ScanOutColours& colours, int first,
               int count, std::uint8_t* pixels, qsizetype bytesPerLine) const;

  private:
    QSize m_target;
    std::vector<ScanOutTap> m_columns; // one tap per target column
    std::vector<ScanOutTap> m_rows;    // one tap per target row
};

// The whole frame scaled into exactly the size of target (ScanOutScaler's
// Scale over every row), for presenters that draw into their own buffers.
void ScanOutScale(const std::vector<std::uint8_t>& indices, const ScanOutColours& colours,
                  QSize target, std::uint8_t* pixels, qsizetype bytesPerLine);
