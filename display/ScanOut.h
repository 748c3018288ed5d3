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

// The palette as pixel values, index i drawn as palette[i]; short of 256
// colours, every index is drawn in palette entry 0 (black without one).
ScanOutColours ScanOutColoursOf(const QList<QRgb>& palette);

// What a screen row made by a scaler shows, known by the stamps of the
// frame rows it blends (Surface::RowStamp) and the weight of the lower, so
// that a row of pixels made for an earlier frame is known to show the same
// in a later one, wherever the picture moved it.
struct ScanOutRowKey {
    std::uint64_t upper = 0;
    std::uint64_t lower = 0;
    int weight = -1; // -1: not known, as for a frame without stamps

    bool Known() const { return weight >= 0; }
    bool operator==(const ScanOutRowKey&) const = default;
};

// What a row of pixels holds, as far as it is known.
struct ScanOutHeldRow {
    ScanOutRowKey key;
    int colour = -1; // the palette index it holds throughout, or -1

    // Whether it is known to show wanted already.
    bool Shows(const ScanOutRowKey& wanted) const { return wanted.Known() && key == wanted; }
};

// Scales frames (as for ScanOutImage) to one target size with no margins,
// any band of rows at a time, so that a presenter sharing its thread with
// the scroll loop can spread a frame's scaling over many short pieces.
//
// Each screen row is either one source row alone (most rows, at any scale
// above 2) or a blend of two. What the scaler made of each source row, its
// blend across to the target's width and that blend as colours, is kept
// from one frame to the next: a row that only moved since the frame begun
// before (the same stamp) is not blended across again, and a screen row of
// one source row is a plain copy of its colours. Where the rows blend at a
// few weights only (three at 1080 lines, one at 2160), the blend of each
// row with the one below it is kept for each weight too, so that a moving
// picture is, row for row, a copy of rows made before; a blend that is the
// row above but for a few columns is kept as those columns alone. A screen
// row of one colour throughout (a blank row) is filled instead, reading
// nothing.
// Memory is taken when the scaler is made, never per frame.
class ScanOutScaler
{
  public:
    // A scaler for frames shown at exactly target, index i drawn as colours[i],
    // left-right reversed pixel for pixel when flipped.
    ScanOutScaler(QSize target, const ScanOutColours& colours, bool flipped = false);

    // Whether the frames come out left-right reversed.
    bool Flipped() const { return m_flipped; }

    // The size the frames are scaled to.
    QSize Target() const { return m_target; }

    // Starts on the frame indices (480 rows of 640, top row first; a frame
    // of another size scales to nothing), which must stay as it is until the
    // next Begin. rowStamps holds the stamp of each row (Surface::RowStamp),
    // or is empty for a frame unrelated to the one before.
    void Begin(const std::vector<std::uint8_t>& indices,
               const std::vector<std::uint64_t>& rowStamps);

    // What target row y of the frame begun shows; not known without stamps.
    ScanOutRowKey Key(int y) const
    {
        if (!m_indices || m_stamps.empty() || y < 0 || y >= m_target.height())
            return {};
        const ScanOutTap& row = m_rows[static_cast<std::size_t>(y)];
        const auto stamp = [&](int source) { return m_stamps[static_cast<std::size_t>(source)]; };
        // A blend with no share of one of its rows is the other row alone.
        if (row.weight == 0 || row.first == row.second)
            return {stamp(row.first), stamp(row.first), 0};
        if (row.weight == 256)
            return {stamp(row.second), stamp(row.second), 0};
        return {stamp(row.first), stamp(row.second), row.weight};
    }

    // Scales target rows first .. first + count - 1 (those inside the
    // target) of the frame begun into pixels: pixels points at the top-left
    // pixel of an image of the target's size, each row lies bytesPerLine
    // after the one above it, and target row y goes to image row
    // (top + y) modulo the target's height, the image read as a ring.
    // held, when given, says per image row what it holds: a row already
    // holding what it is to show is not written again, and held says what
    // each row written holds.
    void Scale(int first, int count, std::uint8_t* pixels, qsizetype bytesPerLine,
               std::vector<ScanOutHeldRow>* held = nullptr, int top = 0);

  private:
    static constexpr int kSlots = 480; // one per source row of a frame
    struct Made {
        const std::uint16_t* across; // 256 x the blended index, one per target column
        const std::uint32_t* flat;   // those as colours: a screen row of this source row alone
        int uniform;                 // the one index the source row holds throughout, or -1
    };
    Made Row(int y);
    // The index of the one colour a target row shows throughout, or -1.
    int UniformIndex(const ScanOutTap& row);
    // The palette index of column x of upper blended with lower at weight.
    static std::size_t BlendIndex(const Made& upper, const Made& lower, int weight, std::size_t x)
    {
        const int value = upper.across[x] * (256 - weight) + lower.across[x] * weight;
        return static_cast<std::size_t>((value + (1 << 15)) >> 16);
    }
    void BlendRows(const Made& upper, const Made& lower, int weight, std::uint32_t* out) const;
    void BlendRowsKept(const ScanOutTap& row, std::uint32_t* out);
    // Where the blend of a row with the one below it is kept.
    std::size_t KeptIndex(const ScanOutTap& row) const;
    // Starts reading the kept blend target row y will copy, if any.
    void PrefetchKept(int y) const;
    // Blends upper and lower into out and keeps the blend at kept: as the
    // columns where it differs from the upper row alone, answering how many,
    // or, with more than a patch holds, as the whole row, answering -1.
    int MakeKeptBlend(const Made& upper, const Made& lower, int weight, std::size_t kept,
                      std::uint32_t* out);
    // The most columns a kept blend's patch holds.
    std::size_t PatchCapacity() const { return m_columns.size() / 4; }

    QSize m_target;
    bool m_flipped;
    ScanOutColours m_colours;
    std::vector<ScanOutTap> m_columns;   // one tap per target column
    std::vector<ScanOutTap> m_rows;      // one tap per target row
    std::vector<std::uint16_t> m_across; // kSlots rows of target width
    std::vector<std::uint32_t> m_flat;   // kSlots rows of target width
    std::vector<int> m_uniform;          // per slot
    std::array<int, 257>
        m_weightIndex{};                 // per blend weight of m_rows: its place in a slot's blends
    std::size_t m_weights = 0;           // blend weights kept; 0: none kept
    std::vector<std::uint32_t> m_blends; // per blend kept, its whole row, if not a patch
    std::vector<std::uint64_t> m_blendedWith; // the stamp of the row below each was made with
    std::vector<int> m_patchLength;           // per blend kept, as MakeKeptBlend answered
    // Per blend kept, a patch: column << 8 | palette index of each column it differs in.
    std::vector<std::uint32_t> m_patches;
    std::vector<bool> m_slotMade;            // per slot: made for the row it now serves
    std::vector<bool> m_slotUsed;            // per slot, while a frame begins
    std::vector<int> m_slotOf;               // per source row of the frame begun
    std::vector<int> m_slotBefore;           // per source row of the frame before it
    std::vector<std::uint64_t> m_stamps;     // the stamps of the frame begun, or empty
    std::uint64_t m_newestStamp = 0;         // the highest of them
    const std::uint8_t* m_indices = nullptr; // the frame begun; null when it scales to nothing
};
