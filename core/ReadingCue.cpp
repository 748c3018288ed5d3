#include "ReadingCue.h"

#include "Surface.h"

#include <QPainter>

#include <algorithm>

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

QPolygonF CueTriangle(const QRect& area, const QRect& picture, const ReadingCue& cue, bool mirrored)
{
    const double scale = static_cast<double>(picture.height()) / Surface::kHeight;
    const double centre = picture.top() + (CueRow(cue) + 0.5) * scale;
    const double tall = std::max(kSmallest, picture.height() * kHeightShare);
    double wide = std::max(kSmallest, tall * kWidthToHeight);
    const double edge = picture.left();
    const double margin = picture.left() - area.left();
    double base = edge;
    double tip = edge + wide;
    if (margin >= 1) {
        wide = std::min(wide, margin);
        base = edge - wide;
        tip = edge;
    }
    QPolygonF triangle{QPointF(base, centre - tall / 2), QPointF(tip, centre),
                       QPointF(base, centre + tall / 2)};
    if (mirrored) {
        // About the picture's upright middle line, as the picture is mirrored.
        const double axis = picture.left() + picture.width() / 2.0;
        for (QPointF& point : triangle)
            point.setX(2 * axis - point.x());
    }
    return triangle;
}

void PaintReadingCue(QPainter& painter, const QRect& area, const QRect& picture,
                     const ReadingCue& cue, bool mirrored, const QColor& colour)
{
    if (!cue.shown || picture.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(CueTriangle(area, picture, cue, mirrored));
    painter.restore();
}
