#include "GlassLayout.h"

#include "Surface.h"

#include <algorithm>

int MarginColumns(const GlassLayout& layout)
{
    return Surface::kWidth * std::clamp(layout.marginPercent, 0, kMarginHighest) / 100;
}

TextColumns TextColumnsFor(const GlassLayout& layout, const ReadingCue& cue)
{
    const int margin = MarginColumns(layout);
    const int cueRoom = cue.shown ? CueWidthOnPicture() : 0;
    return {std::max(margin, cueRoom), Surface::kWidth - margin};
}
