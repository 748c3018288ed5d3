#include "ReadingCue.h"

#include "Surface.h"

#include <algorithm>
#include <cmath>

namespace
{
// The triangle is a twentieth of the picture's height tall and a little
// narrower than tall, never less than a few pixels.
constexpr double kHeightShare = 1.0 / 20;
constexpr double kWidthToHeight = 0.8;
constexpr double kSmallest = 6;
} // namespace

int ClampCueHeight(int percent)
{
    return std::clamp(percent, kCueHeightLowest, kCueHeightHighest);
}

int CueRow(const ReadingCue& cue)
{
    return ClampCueHeight(cue.heightPercent) * Surface::kHeight / 100;
}

int CueWidthOnPicture()
{
    return static_cast<int>(std::ceil(Surface::kHeight * kHeightShare * kWidthToHeight));
}

QPolygonF CueTriangle(const QRect& area, const QRect& picture, const ReadingCue& cue,
                      int marginColumns)
{
    const double scale = static_cast<double>(picture.height()) / Surface::kHeight;
    const double centre = picture.top() + (CueRow(cue) + 0.5) * scale;
    const double tall = std::max(kSmallest, picture.height() * kHeightShare);
    double wide = std::max(kSmallest, tall * kWidthToHeight);
    const double edge = picture.left();
    const double room = picture.left() - area.left();
    double base = edge;
    double tip = edge + wide;
    if (marginColumns >= CueWidthOnPicture()) {
        tip = edge + marginColumns * static_cast<double>(picture.width()) / Surface::kWidth;
        base = tip - wide;
    } else if (room >= 1) {
        wide = std::min(wide, room);
        base = edge - wide;
        tip = edge;
    }
    return QPolygonF{QPointF(base, centre - tall / 2), QPointF(tip, centre),
                     QPointF(base, centre + tall / 2)};
}
