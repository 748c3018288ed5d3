#include "PrompterCommands.h"

#include "Countdown.h"
#include "LineJump.h"
#include "Paragraphs.h"
#include "PreviousParagraph.h"
#include "ReadingPosition.h"
#include "RunClock.h"
#include "ScrollRunState.h"
#include "SpeedValue.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace
{
bool ApplySpeed(int speedValue)
{
    g_runState.speedValue = speedValue;
    ClampSpeed();
    return true;
}

bool ChangeSpeedWhileMoving(int by)
{
    return !g_runState.paused && ApplySpeed(g_runState.speedValue + by);
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
    // A resume waits for the countdown it started; a pause cancels it.
    if (CountingDown()) {
        if (paused)
            CancelCountdown();
        return paused;
    }
    if (g_runState.paused == paused)
        return false;
    if (!paused && StartCountdown(std::chrono::steady_clock::now()))
        return true;
    g_runState.paused = paused;
    return true;
}

bool JumpTo(std::optional<int> line)
{
    if (!line || !ShowLineForReading(*line))
        return false;
    ++g_runState.jumps;
    NoteLineRead(true);
    return true;
}

bool JumpToParagraph(std::optional<int> number)
{
    return number && JumpTo(ParagraphStart(*number, g_runParams.lineCount));
}

bool TypeStoryDigit(int digit)
{
    if (digit < 0 || digit > 9)
        return false;
    g_runState.typedStory.Type(digit, RunClockNow());
    return true;
}

bool Carry(PrompterCommand command, int amount)
{
    ScrollRunState& run = g_runState;
    switch (command) {
    case PrompterCommand::TogglePause:
        return SetPaused(!run.paused || CountingDown());
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
        return JumpTo(NextParagraphStart(LineBeingRead(), g_runParams.lineCount));
    case PrompterCommand::PreviousParagraph:
        return JumpTo(PreviousParagraphTarget(LineBeingRead(), g_runParams.lineCount,
                                              run.paragraphArrival, RunClockNow()));
    case PrompterCommand::JumpToStart:
        return JumpTo(0);
    case PrompterCommand::SetSpeed:
        return ApplySpeed(amount);
    case PrompterCommand::ChangeSpeed:
        return ApplySpeed(run.speedValue + amount);
    case PrompterCommand::ShowLine:
        return JumpTo(amount);
    case PrompterCommand::TypeDigit:
        return TypeStoryDigit(amount);
    case PrompterCommand::GoToTyped:
        return JumpToParagraph(run.typedStory.Take(RunClockNow()));
    case PrompterCommand::GoToParagraph:
        return JumpToParagraph(amount);
    }
    return false;
}
} // namespace

bool RunPrompterCommand(PrompterCommand command, int amount)
{
    const bool applied = Carry(command, amount);
    NoteRunMotion();
    return applied;
}

void ClampSpeed()
{
    ScrollRunState& run = g_runState;
    if (run.speedValue > kSlowestSpeed)
        run.speedValue = kSlowestSpeed;
    else if (run.speedValue < 0)
        run.speedValue = 0;
    run.stepInterval = static_cast<std::int64_t>(run.speedValue) * 1000;
}
