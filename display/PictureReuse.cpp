#include "PictureReuse.h"

#include "Surface.h"

#include <algorithm>
#include <numeric>

namespace
{
// Rows of the new picture looked for in each image, spread over it, until
// one is found: the picture moves as a whole, so one found row tells the
// shift of all.
constexpr int kAnchors = 3;
// Places one anchor may be found at in an image (a row and its repeat).
constexpr int kMostPlacesPerAnchor = 2;

// The most rows left to paint for an image to be painted into: one holding
// another fraction of a row leaves about half of them or more.
int FewRows(int height)
{
    return height / 4;
}

// Whether an image leaves few rows to paint from top on, by a sample of
// rows spread over the picture: most tops tried leave half or more.
bool MayLeaveFewRows(const std::vector<ScanOutHeldRow>& held,
                     const std::vector<ScanOutRowKey>& wanted, int top)
{
    constexpr std::size_t kSamples = 16;
    const std::size_t height = wanted.size();
    std::size_t left = 0;
    for (std::size_t k = 0; k < kSamples; ++k) {
        const std::size_t y = (2 * k + 1) * height / (2 * kSamples);
        left += !wanted[y].Known() ||
                held[(static_cast<std::size_t>(top) + y) % height].key != wanted[y];
    }
    return static_cast<int>(left * height / kSamples) <= FewRows(static_cast<int>(height));
}

// The rows left to paint from top on, counted up to most.
int RowsToPaint(const std::vector<ScanOutHeldRow>& held, const std::vector<ScanOutRowKey>& wanted,
                int top, int most)
{
    int rows = 0;
    std::size_t at = static_cast<std::size_t>(top);
    for (std::size_t y = 0; y < wanted.size() && rows < most; ++y, ++at) {
        if (at == held.size())
            at = 0;
        rows += !wanted[y].Known() || held[at].key != wanted[y];
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
    // Another anchor is looked for only while none was found: a row edited
    // since is not.
    int places = 0;
    for (int anchor = 0; anchor < kAnchors && places == 0; ++anchor) {
        const int y = height * (2 * anchor + 1) / (2 * kAnchors);
        const ScanOutRowKey& key = wanted[static_cast<std::size_t>(y)];
        if (!key.Known())
            continue;
        for (int at = 0; at < height && places < kMostPlacesPerAnchor; ++at) {
            if (held[static_cast<std::size_t>(at)].key != key)
                continue;
            ++places;
            const int top = (at - y + height) % height;
            if (!MayLeaveFewRows(held, wanted, top))
                continue;
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
    return best.rowsToPaint <= FewRows(height) ? best : spare;
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
