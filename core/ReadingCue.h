#pragma once

#include "ScanOutOverlay.h"

#include <QColor>
#include <QPolygonF>
#include <QRect>

class QPainter;

// The reading cue: a small solid triangle at a chosen height of the
// prompter picture, pointing at the text, where the talent's eye rests. It
// is drawn over the picture by whatever shows the picture (the presenters,
// the operator's preview), never into the 8-bit surfaces, which stay exact.
// This file is the one rule for where it goes.

// Whether the cue shows, and at what height.
struct ReadingCue {
    bool shown = false;     // off unless the operator chose it
    int heightPercent = 33; // of the picture's height, from its top
};

inline constexpr int kCueHeightLowest = 5;   // percent; nearer the edge the cue would be cut
inline constexpr int kCueHeightHighest = 95; // percent
inline constexpr int kCueHeightDefault = 33; // a third of the way down, where the eye rests

// A height held within kCueHeightLowest..kCueHeightHighest.
int ClampCueHeight(int percent);

// The row of the 640 x 480 picture that the cue marks.
int CueRow(const ReadingCue& cue);

// The cue's triangle in the coordinates of an area in which the picture
// fills picture (the ScanOutRect rule). Where the area leaves a margin
// beside the picture the triangle stands in it, its tip at the picture's
// edge; elsewhere it lies inside the picture at its left edge. A mirrored
// picture mirrors the triangle with it, to the right, pointing left.
QPolygonF CueTriangle(const QRect& area, const QRect& picture, const ReadingCue& cue,
                      bool mirrored);

// Paints the cue in colour when it is shown; nothing otherwise.
void PaintReadingCue(QPainter& painter, const QRect& area, const QRect& picture,
                     const ReadingCue& cue, bool mirrored, const QColor& colour);

// The cue as a presenter's overlay: what it draws is fixed when it is made,
// so the presenter's own thread reads nothing else.
class ReadingCueOverlay : public ScanOutOverlay
{
  public:
    ReadingCueOverlay(const ReadingCue& cue, bool mirrored, const QColor& colour)
        : m_cue(cue), m_mirrored(mirrored), m_colour(colour)
    {
    }
    std::uint64_t Revision() const override { return 1; }
    void Draw(QPainter& painter, const QRect& picture, QSize area) const override
    {
        PaintReadingCue(painter, QRect(QPoint(), area), picture, m_cue, m_mirrored, m_colour);
    }

  private:
    ReadingCue m_cue;
    bool m_mirrored;
    QColor m_colour;
};
