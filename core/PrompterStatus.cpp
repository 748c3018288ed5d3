#include "PrompterStatus.h"

#include "PresenterMessage.h"
#include "ReadingPosition.h"
#include "RunClock.h"

#include <algorithm>

namespace
{
constexpr double kMicrosecondsPerSecond = 1e6;
}

std::optional<double> RowsPerSecond(int speedValue)
{
    // A speed value is the microseconds between two one-row steps; at 0 the
    // run steps as fast as the loop goes, which no figure tells.
    if (speedValue <= 0)
        return std::nullopt;
    return kMicrosecondsPerSecond / speedValue;
}

PrompterStatus CurrentPrompterStatus()
{
    PrompterStatus status;
    status.running = g_runState.running;
    status.paused = g_runState.paused;
    status.direction = g_runState.direction;
    status.speedValue = g_runState.speedValue;
    status.lineCount = g_runParams.lineCount;
    status.lineIndex = std::clamp(LineBeingRead(), 0, std::max(status.lineCount - 1, 0));
    status.elapsedSeconds = SecondsMoved();
    status.rowsPerSecond = RowsPerSecond(status.speedValue);
    status.message = PresenterMessageAt(std::chrono::steady_clock::now());
    if (const std::optional<double> rows = status.rowsPerSecond) {
        status.remainingSeconds = static_cast<double>(RowsLeftToTheEnd()) / *rows;
        if (g_runState.lineHeight > 0)
            status.linesPerMinute = *rows * 60 / g_runState.lineHeight;
    }
    return status;
}
