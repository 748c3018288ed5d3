#include "Surface.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace
{
constexpr std::size_t kRowBytes = Surface::kWidth;

bool IsRow(int y)
{
    return y >= 0 && y < Surface::kHeight;
}
} // namespace

Surface::Surface() : m_pixels(kRowBytes * kHeight, 0), m_stamps(kHeight)
{
    StampAll();
}

void Surface::StampAll()
{
    for (int y = 0; y < kHeight; ++y)
        Stamp(y);
}

std::uint8_t* Surface::Row(int y)
{
    Stamp(y);
    return m_pixels.data() + Storage(y) * kRowBytes;
}

const std::uint8_t* Surface::Row(int y) const
{
    return m_pixels.data() + Storage(y) * kRowBytes;
}

void Surface::MarkRowsWritten(int first, int count)
{
    for (int y = std::max(first, 0); y < std::min(first + count, kHeight); ++y)
        Stamp(y);
}

std::uint8_t* Surface::Pixels()
{
    if (m_origin != 0) {
        std::rotate(m_pixels.begin(),
                    m_pixels.begin() + static_cast<std::ptrdiff_t>(m_origin * kRowBytes),
                    m_pixels.end());
        m_origin = 0;
    }
    StampAll();
    return m_pixels.data();
}

void Surface::Fill(std::uint8_t index)
{
    std::fill(m_pixels.begin(), m_pixels.end(), index);
    StampAll();
}

void Surface::CopyRowFrom(int destRow, const Surface& src, int srcRow)
{
    if (!IsRow(destRow) || !IsRow(srcRow))
        return;
    std::memmove(Row(destRow), src.Row(srcRow), kRowBytes);
}

void Surface::CopyFrom(const Surface& src)
{
    if (&src == this)
        return;
    m_origin = 0;
    src.CopyRowsTo(m_pixels.data());
    StampAll();
}

void Surface::ScrollUp()
{
    // Panning shows the old row 0 at the bottom; put back what row 479 held,
    // and its stamp with it: the two rows now hold the same pixels.
    m_origin = (m_origin + 1) % kHeight;
    std::memcpy(Row(kHeight - 1), std::as_const(*this).Row(kHeight - 2), kRowBytes);
    m_stamps[Storage(kHeight - 1)] = m_stamps[Storage(kHeight - 2)];
}

void Surface::ScrollDown()
{
    // Panning shows the old row 479 at the top; put back what row 0 held.
    m_origin = (m_origin + kHeight - 1) % kHeight;
    std::memcpy(Row(0), std::as_const(*this).Row(1), kRowBytes);
    m_stamps[Storage(0)] = m_stamps[Storage(1)];
}

void Surface::CopyRowsTo(std::uint8_t* dest, std::ptrdiff_t destStride) const
{
    if (destStride == static_cast<std::ptrdiff_t>(kRowBytes)) {
        // The ring is at most two contiguous runs of rows.
        const std::size_t headRows = static_cast<std::size_t>(kHeight - m_origin);
        std::memcpy(dest, Row(0), headRows * kRowBytes);
        std::memcpy(dest + headRows * kRowBytes, m_pixels.data(),
                    static_cast<std::size_t>(m_origin) * kRowBytes);
        return;
    }
    for (int y = 0; y < kHeight; ++y)
        std::memcpy(dest + y * destStride, Row(y), kRowBytes);
}
