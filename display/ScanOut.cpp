#include "ScanOut.h"

#include "Surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

QRect ScanOutRect(QSize area)
{
    const int width = std::min(area.width(), area.height() * 4 / 3);
    const int height = width * 3 / 4;
    return QRect((area.width() - width) / 2, (area.height() - height) / 2, width, height);
}

std::vector<ScanOutTap> ScanOutTaps(int sourceLength, int outputLength)
{
    std::vector<ScanOutTap> taps(static_cast<std::size_t>(std::max(outputLength, 0)));
    if (sourceLength <= 0 || outputLength <= 0)
        return taps;
    const double scale = static_cast<double>(outputLength) / sourceLength;
    // Within a source pixel, the middle part of width 1 - 1/scale is flat;
    // only the outer 1/scale (one screen pixel) blends with the neighbour.
    const double flat = std::max(0.0, 0.5 - 0.5 / scale);
    for (int o = 0; o < outputLength; ++o) {
        const double texel = (o + 0.5) / scale;
        const double base = std::floor(texel);
        const double fromCentre = texel - base - 0.5;
        const double edge = fromCentre - std::clamp(fromCentre, -flat, flat);
        const double sample = base + (scale > 1.0 ? edge * scale + 0.5 : fromCentre + 0.5) - 0.5;
        const int first = static_cast<int>(std::floor(sample));
        const int weight = static_cast<int>(std::lround((sample - first) * 256));
        ScanOutTap& tap = taps[static_cast<std::size_t>(o)];
        tap.first = std::clamp(first, 0, sourceLength - 1);
        tap.second = std::clamp(first + 1, 0, sourceLength - 1);
        tap.weight = weight;
    }
    return taps;
}

namespace
{
// Source rows blended across to the target's width, each value 256 times
// the blended index. A target row needs two source rows, and consecutive
// target rows mostly need the same ones, so the two last made are kept.
class AcrossRows
{
  public:
    AcrossRows(const std::vector<std::uint8_t>& indices, const std::vector<ScanOutTap>& columns)
        : m_indices(indices), m_columns(columns)
    {
        for (auto& slot : m_slots)
            slot.values.resize(columns.size());
    }

    // Source row y blended across; valid until the call after next.
    const int* Row(int y)
    {
        for (std::size_t s = 0; s < m_slots.size(); ++s)
            if (m_slots[s].row == y) {
                m_recent = s;
                return m_slots[s].values.data();
            }
        m_recent = 1 - m_recent;
        Slot& slot = m_slots[m_recent];
        slot.row = y;
        const std::uint8_t* source = m_indices.data() + std::size_t{Surface::kWidth} * y;
        for (std::size_t x = 0; x < m_columns.size(); ++x) {
            const ScanOutTap& col = m_columns[x];
            slot.values[x] =
                source[col.first] * (256 - col.weight) + source[col.second] * col.weight;
        }
        return slot.values.data();
    }

  private:
    struct Slot {
        int row = -1;
        std::vector<int> values;
    };
    const std::vector<std::uint8_t>& m_indices;
    const std::vector<ScanOutTap>& m_columns;
    std::array<Slot, 2> m_slots;
    std::size_t m_recent = 0; // the slot used last
};

// Whether two screen rows sample the frame alike, and so are the same.
bool SameTap(const ScanOutTap& a, const ScanOutTap& b)
{
    return a.first == b.first && a.second == b.second && a.weight == b.weight;
}
} // namespace

ScanOutScaler::ScanOutScaler(QSize target)
    : m_target(target.expandedTo(QSize(0, 0))),
      m_columns(ScanOutTaps(Surface::kWidth, m_target.width())),
      m_rows(ScanOutTaps(Surface::kHeight, m_target.height()))
{
}

void ScanOutScaler::Scale(const std::vector<std::uint8_t>& indices, const ScanOutColours& colours,
                          int first, int count, std::uint8_t* pixels, qsizetype bytesPerLine) const
{
    const int begin = std::max(first, 0);
    const int end = std::min(first + std::max(count, 0), m_target.height());
    const auto rowBytes = static_cast<std::size_t>(m_target.width()) * 4;
    AcrossRows across(indices, m_columns);
    for (int y = begin; y < end; ++y) {
        const ScanOutTap& row = m_rows[static_cast<std::size_t>(y)];
        std::uint8_t* out = pixels + bytesPerLine * y;
        // Inside one source row's block every screen row is the same, and
        // at 1080 lines that is more than half of them: copied, not blended.
        if (y > begin && SameTap(row, m_rows[static_cast<std::size_t>(y) - 1])) {
            std::memcpy(out, out - bytesPerLine, rowBytes);
            continue;
        }
        const int* upper = across.Row(row.first);
        const int* lower = across.Row(row.second);
        auto* outPixels = reinterpret_cast<std::uint32_t*>(out);
        for (int x = 0; x < m_target.width(); ++x) {
            const int value = upper[x] * (256 - row.weight) + lower[x] * row.weight;
            outPixels[x] = colours[static_cast<std::size_t>((value + (1 << 15)) >> 16)];
        }
    }
}

void ScanOutScale(const std::vector<std::uint8_t>& indices, const ScanOutColours& colours,
                  QSize target, std::uint8_t* pixels, qsizetype bytesPerLine)
{
    const ScanOutScaler scaler(target);
    scaler.Scale(indices, colours, 0, scaler.Target().height(), pixels, bytesPerLine);
}

QImage ScanOutImage(const std::vector<std::uint8_t>& indices, const QList<QRgb>& palette,
                    QSize area)
{
    QImage image(area, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const QRgb background = palette.isEmpty() ? qRgb(0, 0, 0) : palette.first();
    image.fill(background);
    const std::size_t frameBytes = std::size_t{Surface::kWidth} * Surface::kHeight;
    const QRect target = ScanOutRect(area);
    if (indices.size() < frameBytes || palette.size() < 256 || target.isEmpty())
        return image;
    ScanOutColours colours{};
    std::copy_n(palette.begin(), colours.size(), colours.begin());
    ScanOutScale(indices, colours, target.size(),
                 image.scanLine(target.top()) + std::size_t{4} * target.left(),
                 image.bytesPerLine());
    return image;
}
