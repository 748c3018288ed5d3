#include "PrompterCommands.h"

#include "ScrollRunState.h"

#include <cstdint>

namespace
{
constexpr int kSlowest = 32000;

bool ChangeSpeedWhileMoving(int by)
{
    if (g_runState.paused)
        return false;
    g_runState.speedValue += by;
    ClampSpeed();
    return true;
}

bool RequestReversal(bool allowed)
{
    if (g_runState.paused || !allowed)
        return false;
    g_runState.directionChangeRequested = true;
    return true;
}

bool SetPaused(bool paused)
{
    if (g_runState.paused == paused)
        return false;
    g_runState.paused = paused;
    return true;
}
} // namespace

bool RunPrompterCommand(PrompterCommand command)
{
    ScrollRunState& run = g_runState;
    switch (command) {
    case PrompterCommand::TogglePause:
        return SetPaused(!run.paused);
    case PrompterCommand::Pause:
        return SetPaused(true);
    case PrompterCommand::Resume:
        return SetPaused(false);
    case PrompterCommand::Faster:
        return ChangeSpeedWhileMoving(-kPrompterSpeedStep);
    case PrompterCommand::Slower:
        return ChangeSpeedWhileMoving(kPrompterSpeedStep);
    case PrompterCommand::ReverseFromForward:
        return RequestReversal(run.direction == ScrollDirection::Forward);
    case PrompterCommand::ReverseFromBackward:
        return RequestReversal(run.direction == ScrollDirection::Backward);
    case PrompterCommand::Reverse:
        return RequestReversal(true);
    case PrompterCommand::Stop:
        run.running = false;
        return true;
    case PrompterCommand::NextParagraph:
    case PrompterCommand::PreviousParagraph:
    case PrompterCommand::JumpToStart:
        return false; // the script's paragraphs are not known to the run yet
    }
    return false;
}

void SetPrompterSpeed(int speedValue)
{
    g_runState.speedValue = speedValue;
    ClampSpeed();
}

void ClampSpeed()
{
    ScrollRunState& run = g_runState;
    if (run.speedValue > kSlowest)
        run.speedValue = kSlowest;
    else if (run.speedValue < 0)
        run.speedValue = 0;
    run.stepInterval = static_cast<std::int64_t>(run.speedValue) * 1000;
}
