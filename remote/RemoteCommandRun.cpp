#include "RemoteCommandRun.h"

#include "PresenterMessage.h"
#include "PrompterCommands.h"
#include "PrompterStatus.h"

std::optional<RemoteError> CarryOutRemoteCommand(const RemoteCommand& command,
                                                 const RemoteHost& host)
{
    if (command.kind == RemoteCommand::Kind::Message) {
        if (!ShowPresenterMessage(command.text, command.seconds, std::chrono::steady_clock::now()))
            return RemoteError{400,
                               QStringLiteral("A message is one line of at most %1 characters, "
                                              "shown for 0 to %2 seconds (0: until cleared).")
                                   .arg(kMessageLongest)
                                   .arg(kMessageLongestSeconds)};
        return std::nullopt;
    }
    const PrompterStatus status = CurrentPrompterStatus();
    const bool running = status.running;
    if (command.kind == RemoteCommand::Kind::Start) {
        if (running || !host.startRun())
            return RemoteError{409, QStringLiteral("A run or a dialog is open.")};
        return std::nullopt;
    }
    if (!running)
        return RemoteError{409, QStringLiteral("No run is on the screen.")};
    if (command.kind == RemoteCommand::Kind::GoTo && command.paragraph > status.paragraphCount)
        return RemoteError{400, QStringLiteral("There is no paragraph %1: the script has %2.")
                                    .arg(command.paragraph)
                                    .arg(status.paragraphCount)};
    if (command.kind == RemoteCommand::Kind::Speed)
        RunPrompterCommand(PrompterCommand::SetSpeed, command.speedValue);
    else if (command.kind == RemoteCommand::Kind::GoTo)
        RunPrompterCommand(PrompterCommand::GoToParagraph, command.paragraph);
    else
        RunPrompterCommand(command.prompter);
    return std::nullopt;
}
