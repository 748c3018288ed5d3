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

// The rows left to paint from top on, counted up to most; with every above
// one, estimated from one row in every, spread over the picture.
int RowsToPaint(const std::vector<ScanOutHeldRow>& held, const std::vector<ScanOutRowKey>& wanted,
                int top, int most, std::size_t every = 1)
{
    int rows = 0;
    std::size_t at = (static_cast<std::size_t>(top) + every / 2) % held.size();
    for (std::size_t y = every / 2; y < wanted.size() && rows < most; y += every) {
        rows += static_cast<int>(every) * !held[at].Shows(wanted[y]);
        at += every;
        if (at >= held.size())
            at -= held.size();
    }
    return rows;
}

// The top row that leaves the fewest rows to paint in held.
PictureReuse BestTop(const std::vector<ScanOutHeldRow>& held,
                     const std::vector<ScanOutRowKey>& wanted, std::size_t image)
{
    const auto height = static_cast<int>(wanted.size());
    PictureReuse best{image, 0, height};
    if (held.size() != wanted.size() || wanted.empty())
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
            if (!held[static_cast<std::size_t>(at)].Shows(key))
                continue;
            ++places;
            const int top = (at - y + height) % height;
            // Most tops tried leave half the rows or more: a sample tells.
            constexpr std::size_t kSamples = 16;
            const int few = FewRows(height);
            if (RowsToPaint(held, wanted, top, few + 1,
                            std::max<std::size_t>(wanted.size() / kSamples, 1)) > few)
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
