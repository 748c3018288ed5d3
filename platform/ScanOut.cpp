#include "ScanOut.h"

#include "Surface.h"

#include <algorithm>
#include <cmath>

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

QImage ScanOutImage(const std::vector<std::uint8_t>& indices, const QList<QRgb>& palette,
                    QSize area)
{
    QImage image(area, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const QRgb background = palette.isEmpty() ? qRgb(0, 0, 0) : palette.first();
    image.fill(background);
    const std::size_t frameBytes = std::size_t{Surface::kWidth} * Surface::kHeight;
    if (indices.size() < frameBytes || palette.size() < 256)
        return image;

    const QRect target = ScanOutRect(area);
    const auto columns = ScanOutTaps(Surface::kWidth, target.width());
    const auto rows = ScanOutTaps(Surface::kHeight, target.height());
    for (int y = 0; y < target.height(); ++y) {
        const ScanOutTap& row = rows[static_cast<std::size_t>(y)];
        const std::uint8_t* upper = indices.data() + row.first * Surface::kWidth;
        const std::uint8_t* lower = indices.data() + row.second * Surface::kWidth;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(target.top() + y)) + target.left();
        for (int x = 0; x < target.width(); ++x) {
            const ScanOutTap& col = columns[static_cast<std::size_t>(x)];
            const int top = upper[col.first] * (256 - col.weight) + upper[col.second] * col.weight;
            const int bottom =
                lower[col.first] * (256 - col.weight) + lower[col.second] * col.weight;
            const int value = top * (256 - row.weight) + bottom * row.weight;
            out[x] = palette[(value + (1 << 15)) >> 16];
        }
    }
    return image;
}
