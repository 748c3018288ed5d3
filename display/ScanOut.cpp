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

ScanOutColours ScanOutColoursOf(const QList<QRgb>& palette)
{
    ScanOutColours colours{};
    colours.fill(palette.isEmpty() ? qRgb(0, 0, 0) : palette.first());
    if (palette.size() >= static_cast<qsizetype>(colours.size()))
        std::copy_n(palette.begin(), colours.size(), colours.begin());
    return colours;
}

ScanOutScaler::ScanOutScaler(QSize target, const ScanOutColours& colours, bool flipped)
    : m_target(target.expandedTo(QSize(0, 0))), m_flipped(flipped), m_colours(colours),
      m_columns(ScanOutTaps(Surface::kWidth, m_target.width())),
      m_rows(ScanOutTaps(Surface::kHeight, m_target.height())),
      m_across(std::size_t{kSlots} * m_columns.size()), m_flat(m_across.size()),
      m_uniform(kSlots, -1), m_slotMade(kSlots, false), m_slotUsed(kSlots, false),
      m_slotOf(Surface::kHeight, 0), m_slotBefore(Surface::kHeight, 0)
{
    m_stamps.reserve(Surface::kHeight);
    // Target column x of a flipped frame is column width - 1 - x of the unflipped one.
    if (m_flipped)
        std::reverse(m_columns.begin(), m_columns.end());
    // Rows blended at many weights (an odd scale) would need too much memory
    // to keep, and would each come round seldom.
    constexpr std::size_t kMostWeightsKept = 8;
    m_weightIndex.fill(-1);
    for (const ScanOutTap& row : m_rows)
        if (row.first != row.second && row.weight > 0 && row.weight < 256 &&
            m_weightIndex[static_cast<std::size_t>(row.weight)] < 0)
            m_weightIndex[static_cast<std::size_t>(row.weight)] = static_cast<int>(m_weights++);
    if (m_weights > kMostWeightsKept)
        m_weights = 0;
    m_blends.resize(std::size_t{kSlots} * m_weights * m_columns.size());
    m_blendedWith.resize(std::size_t{kSlots} * m_weights);
    m_patchLength.resize(m_blendedWith.size());
    m_patches.resize(m_blendedWith.size() * PatchCapacity());
}

void ScanOutScaler::Begin(const std::vector<std::uint8_t>& indices,
                          const std::vector<std::uint64_t>& rowStamps)
{
    const bool whole = indices.size() >= std::size_t{Surface::kWidth} * Surface::kHeight;
    m_indices = whole ? indices.data() : nullptr;
    const bool related = whole && rowStamps.size() == std::size_t{Surface::kHeight} &&
                         m_stamps.size() == rowStamps.size();
    // A row that only moved keeps the slot it had: the picture moves as a
    // whole, so where the row above was found is tried first, and a stamp
    // newer than any of the frame before is a row written since.
    std::swap(m_slotOf, m_slotBefore);
    std::fill(m_slotUsed.begin(), m_slotUsed.end(), false);
    std::ptrdiff_t shift = 0;
    for (std::size_t y = 0; y < m_slotOf.size(); ++y) {
        int slot = -1;
        const std::uint64_t stamp = related ? rowStamps[y] : 0;
        if (related && stamp <= m_newestStamp) {
            auto before = static_cast<std::ptrdiff_t>(y) + shift;
            if (before < 0 || before >= static_cast<std::ptrdiff_t>(m_stamps.size()) ||
                m_stamps[static_cast<std::size_t>(before)] != stamp)
                before = std::find(m_stamps.begin(), m_stamps.end(), stamp) - m_stamps.begin();
            if (before < static_cast<std::ptrdiff_t>(m_stamps.size())) {
                shift = before - static_cast<std::ptrdiff_t>(y);
                slot = m_slotBefore[static_cast<std::size_t>(before)];
            }
        }
        m_slotOf[y] = slot;
        if (slot >= 0)
            m_slotUsed[static_cast<std::size_t>(slot)] = true;
    }
    // Rows new to this frame take the slots no row of it uses.
    int free = 0;
    for (int& slot : m_slotOf) {
        if (slot >= 0)
            continue;
        while (m_slotUsed[static_cast<std::size_t>(free)])
            ++free;
        slot = free++;
        m_slotMade[static_cast<std::size_t>(slot)] = false;
        std::fill_n(m_blendedWith.begin() + static_cast<std::ptrdiff_t>(slot * m_weights),
                    m_weights, 0);
    }
    m_stamps.assign(rowStamps.begin(), whole ? rowStamps.end() : rowStamps.begin());
    m_newestStamp = m_stamps.empty() ? 0 : *std::max_element(m_stamps.begin(), m_stamps.end());
}

ScanOutScaler::Made ScanOutScaler::Row(int y)
{
    const auto slot = static_cast<std::size_t>(m_slotOf[static_cast<std::size_t>(y)]);
    std::uint16_t* across = m_across.data() + slot * m_columns.size();
    std::uint32_t* flat = m_flat.data() + slot * m_columns.size();
    if (!m_slotMade[slot]) {
        const std::uint8_t* source = m_indices + std::size_t{Surface::kWidth} * y;
        for (std::size_t x = 0; x < m_columns.size(); ++x) {
            const ScanOutTap& col = m_columns[x];
            const int value =
                source[col.first] * (256 - col.weight) + source[col.second] * col.weight;
            across[x] = static_cast<std::uint16_t>(value);
            flat[x] = m_colours[static_cast<std::size_t>((value + 128) >> 8)];
        }
        const bool uniform = std::all_of(source, source + Surface::kWidth,
                                         [&](std::uint8_t i) { return i == *source; });
        m_uniform[slot] = uniform ? *source : -1;
        m_slotMade[slot] = true;
    }
    return Made{across, flat, m_uniform[slot]};
}

int ScanOutScaler::UniformIndex(const ScanOutTap& row)
{
    const int upper = row.weight == 256 ? 0 : Row(row.first).uniform;
    const int lower = row.weight == 0 ? 0 : Row(row.second).uniform;
    if (upper < 0 || lower < 0)
        return -1;
    return (upper * (256 - row.weight) + lower * row.weight + 128) >> 8;
}

void ScanOutScaler::BlendRows(const Made& upper, const Made& lower, int weight,
                              std::uint32_t* out) const
{
    for (std::size_t x = 0; x < m_columns.size(); ++x)
        out[x] = m_colours[BlendIndex(upper, lower, weight, x)];
}

void ScanOutScaler::BlendRowsKept(const ScanOutTap& row, std::uint32_t* out)
{
    const Made upper = Row(row.first);
    const Made lower = Row(row.second);
    // Stamps tell whether the row below is the one blended with before;
    // without them nothing can be kept.
    if (m_weights == 0 || m_stamps.empty()) {
        BlendRows(upper, lower, row.weight, out);
        return;
    }
    const std::size_t kept = KeptIndex(row);
    const std::uint64_t below = m_stamps[static_cast<std::size_t>(row.second)];
    if (m_blendedWith[kept] != below) {
        m_patchLength[kept] = MakeKeptBlend(upper, lower, row.weight, kept, out);
        m_blendedWith[kept] = below;
        return;
    }
    const int patch = m_patchLength[kept];
    if (patch < 0) {
        std::copy_n(m_blends.data() + kept * m_columns.size(), m_columns.size(), out);
        return;
    }
    std::copy_n(upper.flat, m_columns.size(), out);
    const std::uint32_t* entries = m_patches.data() + kept * PatchCapacity();
    for (int k = 0; k < patch; ++k)
        out[entries[k] >> 8] = m_colours[entries[k] & 0xFF];
}

std::size_t ScanOutScaler::KeptIndex(const ScanOutTap& row) const
{
    return static_cast<std::size_t>(m_slotOf[static_cast<std::size_t>(row.first)]) * m_weights +
           static_cast<std::size_t>(m_weightIndex[static_cast<std::size_t>(row.weight)]);
}

void ScanOutScaler::PrefetchKept(int y) const
{
    if (y >= m_target.height() || m_weights == 0 || m_stamps.empty())
        return;
    const ScanOutTap& row = m_rows[static_cast<std::size_t>(y)];
    if (row.weight == 0 || row.weight == 256 || row.first == row.second)
        return;
    const std::size_t kept = KeptIndex(row);
    if (m_blendedWith[kept] != m_stamps[static_cast<std::size_t>(row.second)])
        return;
    const int patch = m_patchLength[kept];
    const std::uint32_t* words = patch < 0 ? m_blends.data() + kept * m_columns.size()
                                           : m_patches.data() + kept * PatchCapacity();
    const std::size_t count = patch < 0 ? m_columns.size() : static_cast<std::size_t>(patch);
    constexpr std::size_t kWordsPerLine = 16;
    for (std::size_t k = 0; k < count; k += kWordsPerLine)
        __builtin_prefetch(words + k);
}

int ScanOutScaler::MakeKeptBlend(const Made& upper, const Made& lower, int weight, std::size_t kept,
                                 std::uint32_t* out)
{
    // Text blends with the row above it in a few columns only: kept as those
    // columns and their indices, the blend is the upper row, warm from the
    // screen row above, put right from a few bytes of memory.
    std::uint32_t* entries = m_patches.data() + kept * PatchCapacity();
    std::size_t patch = 0;
    for (std::size_t x = 0; x < m_columns.size(); ++x) {
        const std::size_t index = BlendIndex(upper, lower, weight, x);
        out[x] = m_colours[index];
        if (out[x] == upper.flat[x] || patch > PatchCapacity())
            continue;
        if (patch < PatchCapacity())
            entries[patch] = static_cast<std::uint32_t>(x << 8 | index);
        ++patch;
    }
    if (patch <= PatchCapacity())
        return static_cast<int>(patch);
    std::copy_n(out, m_columns.size(), m_blends.data() + kept * m_columns.size());
    return -1;
}

void ScanOutScaler::Scale(int first, int count, std::uint8_t* pixels, qsizetype bytesPerLine,
                          std::vector<ScanOutHeldRow>* held, int top)
{
    if (!m_indices)
        return;
    const int height = m_target.height();
    const int begin = std::max(first, 0);
    const int end = std::min(first + std::max(count, 0), height);
    for (int y = begin; y < end; ++y) {
        const ScanOutTap& row = m_rows[static_cast<std::size_t>(y)];
        const int at = (top + y) % height;
        auto* out = reinterpret_cast<std::uint32_t*>(pixels + bytesPerLine * at);
        ScanOutHeldRow* was = held ? &(*held)[static_cast<std::size_t>(at)] : nullptr;
        const ScanOutRowKey key = Key(y);
        if (was && was->Shows(key))
            continue;
        // A kept blend was made a frame ago and waits in memory: asked for
        // while the rows before it are copied, it comes without a wait.
        PrefetchKept(y + 2);
        // A row of one colour is filled, reading nothing, or left as it is.
        const int uniform = UniformIndex(row);
        const bool stands = was && uniform >= 0 && was->colour == uniform;
        if (was)
            *was = {key, uniform};
        if (stands)
            continue;
        if (uniform >= 0)
            std::fill_n(out, m_columns.size(), m_colours[static_cast<std::size_t>(uniform)]);
        // A blend with no share of one of its rows is the other row alone.
        else if (row.weight == 0 || row.first == row.second)
            std::copy_n(Row(row.first).flat, m_columns.size(), out);
        else if (row.weight == 256)
            std::copy_n(Row(row.second).flat, m_columns.size(), out);
        else
            BlendRowsKept(row, out);
    }
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
    ScanOutScaler scaler(target.size(), ScanOutColoursOf(palette));
    scaler.Begin(indices, {});
    scaler.Scale(0, target.height(), image.scanLine(target.top()) + std::size_t{4} * target.left(),
                 image.bytesPerLine());
    return image;
}
