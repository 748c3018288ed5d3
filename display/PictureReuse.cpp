#include "PictureReuse.h"

#include "Surface.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace
{
// Rows of the new picture looked for in each image, spread over it: the
// picture moves as a whole, so one found row tells the shift of all.
constexpr int kAnchors = 3;
// Places one anchor may be found at in an image (a row and its repeat).
constexpr int kMostPlacesPerAnchor = 2;

// The rows left to paint from top on, counted up to most.
int RowsToPaint(const std::vector<ScanOutHeldRow>& held, const std::vector<ScanOutRowKey>& wanted,
                int top, int most)
{
    const auto height = static_cast<int>(wanted.size());
    int rows = 0;
    for (int y = 0; y < height && rows < most; ++y) {
        const ScanOutRowKey& key = wanted[static_cast<std::size_t>(y)];
        rows += !key.Known() || held[static_cast<std::size_t>((top + y) % height)].key != key;
    }
    return rows;
}

// The top row that leaves the fewest rows to paint in held.
PictureReuse BestTop(const std::vector<ScanOutHeldRow>& held,
                     const std::vector<ScanOutRowKey>& wanted, std::size_t image)
{
    const auto height = static_cast<int>(wanted.size());
    PictureReuse best{image, 0, height};
    if (held.size() != wanted.size())
        return best;
    std::array<int, kAnchors * kMostPlacesPerAnchor> tried{};
    std::size_t triedCount = 0;
    for (int anchor = 0; anchor < kAnchors; ++anchor) {
        const int y = height * (2 * anchor + 1) / (2 * kAnchors);
        const ScanOutRowKey& key = wanted[static_cast<std::size_t>(y)];
        if (!key.Known())
            continue;
        int places = 0;
        for (int at = 0; at < height && places < kMostPlacesPerAnchor; ++at) {
            if (held[static_cast<std::size_t>(at)].key != key)
                continue;
            ++places;
            const int top = (at - y + height) % height;
            const auto triedEnd = tried.begin() + static_cast<std::ptrdiff_t>(triedCount);
            if (std::find(tried.begin(), triedEnd, top) != triedEnd)
                continue;
            tried[triedCount++] = top;
            const int rows = RowsToPaint(held, wanted, top, best.rowsToPaint);
            if (rows < best.rowsToPaint)
                best = {image, top, rows};
        }
    }
    return best;
}
} // namespace

PictureReuse BestReuse(const std::vector<std::vector<ScanOutHeldRow>>& images,
                       const std::vector<ScanOutRowKey>& wanted, std::size_t leastRecent)
{
    const auto height = static_cast<int>(wanted.size());
    PictureReuse best{leastRecent, 0, height};
    PictureReuse spare = best;
    for (std::size_t image = 0; image < images.size(); ++image) {
        const PictureReuse reuse = BestTop(images[image], wanted, image);
        if (reuse.rowsToPaint < best.rowsToPaint)
            best = reuse;
        if (image == leastRecent)
            spare = reuse;
    }
    return best.rowsToPaint <= height / 4 ? best : spare;
}

std::size_t ImagesToKeep(int targetHeight)
{
    constexpr std::size_t kFewest = 2; // one shown while the next is painted
    constexpr std::size_t kMost = 5;   // a 1080-row picture's four fractions, a 768-row one's five
    if (targetHeight <= 0)
        return kFewest;
    const auto fractions =
        static_cast<std::size_t>(Surface::kHeight / std::gcd(targetHeight, Surface::kHeight));
    return std::clamp(fractions, kFewest, kMost);
}
