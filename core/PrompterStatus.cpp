#include "PrompterStatus.h"

#include "Paragraphs.h"
#include "PresenterMessage.h"
#include "ReadingPosition.h"
#include "RunClock.h"
#include "SpeedValue.h"

#include <algorithm>

std::optional<double> RowsPerSecond(int speedValue)
{
    // A speed value is the microseconds between two one-row steps; at 0 the
    // run steps as fast as the loop goes, which no figure tells.
    if (speedValue <= 0)
        return std::nullopt;
    return kMicrosecondsPerSecond / speedValue;
}

int LinePitch()
{
    return std::max(g_runState.lineHeight, 0) + 1;
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
    status.paragraphCount = ParagraphCount(status.lineCount);
    status.paragraph = ParagraphNumber(status.lineIndex, status.lineCount);
    status.elapsedSeconds = SecondsMoved();
    status.message = PresenterMessageAt(std::chrono::steady_clock::now());
    status.voice = g_runState.voice;
    status.sinceFirstMoved = SecondsSinceFirstMoved();
    status.typedStory = g_runState.typedStory.Shown(RunClockNow());
    status.follow = g_runState.followState;
    // At speed value 0 the speed tells nothing, so a glimpse of the pace will do.
    const std::optional<double> asked = RowsPerSecond(status.speedValue);
    const std::optional<double> measured =
        g_runState.pace.RowsPerSecond(asked ? PaceMeter::kEnoughNs : PaceMeter::kGlimpseNs);
    status.paceMeasured = measured.has_value();
    status.rowsPerSecond = measured ? measured : asked;
    status.rowsLeft = RowsLeftToTheEnd();
    if (const std::optional<double> rows = status.rowsPerSecond; rows && *rows > 0) {
        status.remainingSeconds = static_cast<double>(status.rowsLeft) / *rows;
        if (g_runState.lineHeight > 0)
            status.linesPerMinute = *rows * 60 / LinePitch();
    }
    return status;
}
