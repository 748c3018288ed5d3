#include "RowPlacement.h"

#include "FrameRenderer.h"
#include "LineJump.h"
#include "ReadingPosition.h"
#include "ScrollRunState.h"
#include "Surface.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace
{
// Farther than this the picture is drawn anew: fewer lines than stepping takes.
constexpr std::int64_t kFarthestGlideRows = Surface::kHeight / 2;
constexpr std::int64_t kStepsATurnMayCost = 2;

int PlacementPitch()
{
    return std::max(g_runState.lineHeight, 0) + 1;
}
} // namespace

std::int64_t PictureRow()
{
    return -LineTopOnPicture(0);
}

bool MovePictureToRow(std::int64_t row)
{
    ScrollRunState& st = g_runState;
    if (!st.primarySurface || !st.offscreenSurface)
        return false;
    const std::int64_t distance = row - PictureRow();
    if (distance == 0)
        return true;
    if (std::abs(distance) > kFarthestGlideRows && g_runParams.lineCount > 0) {
        const int pitch = PlacementPitch();
        const int line = static_cast<int>(
            std::clamp<std::int64_t>(FloorDivide(row, pitch), 0, g_runParams.lineCount - 1));
        return ShowLineAtRow(line, static_cast<std::int64_t>(line) * pitch - row);
    }
    // The steps move one row each, the way asked, at once. A turn may shift
    // the row the strip names by one, so the row is looked at after each.
    const bool paused = std::exchange(st.paused, false);
    const std::int64_t interval = std::exchange(st.stepInterval, 0);
    const std::int64_t most = std::abs(distance) + kStepsATurnMayCost;
    for (std::int64_t step = 0; step < most && !st.paused && PictureRow() != row; ++step) {
        const ScrollDirection way =
            row > PictureRow() ? ScrollDirection::Forward : ScrollDirection::Backward;
        st.directionChangeRequested = st.direction != way;
        ScrollStep();
    }
    st.paused = paused;
    st.stepInterval = interval;
    st.directionChangeRequested = false;
    return true;
}
