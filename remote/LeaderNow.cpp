#include "LeaderNow.h"

#include "PrompterStatus.h"
#include "RowPlacement.h"
#include "ScrollRunState.h"
#include "TickSource.h"

#include <chrono>
#include <cmath>

namespace
{
qint64 Microseconds(std::chrono::steady_clock::time_point at)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(at.time_since_epoch()).count();
}
} // namespace

qint64 LeaderClockNow()
{
    return Microseconds(std::chrono::steady_clock::now());
}

LeaderSnapshot CurrentLeaderSnapshot()
{
    const ScrollRunState& st = g_runState;
    const bool moving = st.running && !st.paused;
    FollowKeypoint keypoint;
    keypoint.at =
        moving && st.lastStepTime != 0 ? Microseconds(TickTime(st.lastStepTime)) : LeaderClockNow();
    keypoint.row = PictureRow();
    const std::optional<double> asked = RowsPerSecond(st.speedValue);
    const std::optional<double> measured = st.pace.RowsPerSecond(PaceMeter::kEnoughNs);
    keypoint.rowsPerSecond = asked ? *asked : std::round(measured.value_or(0));
    keypoint.direction = st.direction;
    keypoint.paused = st.paused;
    keypoint.running = st.running;
    keypoint.lineCount = g_runParams.lineCount;
    const FollowLook look{g_runParams.fontFace,  g_runParams.fontPoints, g_runParams.fontWeight,
                          g_runParams.textColor, g_runParams.backColor,  LinePitch()};
    return {keypoint, look, &g_runParams.scriptText, st.scriptEdits};
}
