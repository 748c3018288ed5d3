#pragma once

#include <QColor>
#include <cstdint>

// A colour as the design stores it: 0x00BBGGRR, red in the low byte. The
// settings file keeps the whole 32-bit value as signed decimal.
using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(int red, int green, int blue)
{
    return static_cast<ColorRef>(red & 0xFF) | (static_cast<ColorRef>(green & 0xFF) << 8) |
           (static_cast<ColorRef>(blue & 0xFF) << 16);
}

constexpr int RedOf(ColorRef c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}

inline QColor ToQColor(ColorRef c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

inline ColorRef FromQColor(const QColor& c)
{
    return MakeColorRef(c.red(), c.green(), c.blue());
}
