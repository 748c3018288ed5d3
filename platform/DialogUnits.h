#pragma once

#include <QRect>

// Dialog layouts are given in dialog units of an 8-point dialog font whose
// average character is 6 x 13 pixels at 96 dpi: a horizontal unit is a quarter
// of that width, a vertical unit an eighth of that height. Rounding follows
// MulDiv (to nearest, halves away from zero).

/// The pixels of `units` dialog units horizontally.
constexpr int DluToPixelsX(int units)
{
    return units >= 0 ? (units * 6 + 2) / 4 : -((-units * 6 + 2) / 4);
}

/// The pixels of `units` dialog units vertically.
constexpr int DluToPixelsY(int units)
{
    return units >= 0 ? (units * 13 + 4) / 8 : -((-units * 13 + 4) / 8);
}

/// A rectangle given as x, y, width, height in dialog units, in pixels.
constexpr QRect DluRect(int x, int y, int width, int height)
{
    return QRect(DluToPixelsX(x), DluToPixelsY(y), DluToPixelsX(width), DluToPixelsY(height));
}
