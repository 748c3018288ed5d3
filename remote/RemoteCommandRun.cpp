#include "RemoteCommandRun.h"

#include "PrompterCommands.h"
#include "PrompterStatus.h"

std::optional<RemoteError> CarryOutRemoteCommand(const RemoteCommand& command,
                                                 const RemoteHost& host)
{
    const bool running = CurrentPrompterStatus().running;
    if (command.kind == RemoteCommand::Kind::Start) {
        if (running || !host.startRun())
            return RemoteError{409, QStringLiteral("A run or a dialog is open.")};
        return std::nullopt;
    }
    if (!running)
        return RemoteError{409, QStringLiteral("No run is on the screen.")};
    if (command.kind == RemoteCommand::Kind::Speed)
        RunPrompterCommand(PrompterCommand::SetSpeed, command.speedValue);
    else
        RunPrompterCommand(command.prompter);
    return std::nullopt;
}
