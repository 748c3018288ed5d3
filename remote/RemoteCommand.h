#pragma once

#include "PrompterCommands.h"

#include <QByteArrayView>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <variant>

// A command object of the remote control's interface, {"command": "<name>"},
// {"command": "speed", "value": <int>} or {"command": "goto", "value": <int>},
// and its parsing. Each name means
// exactly one thing the operator could do at the prompter or the control
// window.
struct RemoteCommand {
    enum class Kind {
        Start,    // SCROLL, as the button does it
        Speed,    // set the live speed value
        GoTo,     // jump to a paragraph, by its story number
        Prompter, // one of the prompter's own commands
        Message,  // a line on the glass for the presenter, or none
    };
    Kind kind = Kind::Prompter;
    PrompterCommand prompter = PrompterCommand::Stop; // for Kind::Prompter
    int speedValue = 0;                               // for Kind::Speed
    QString text;                                     // for Kind::Message; empty clears
    int seconds = 0;                                  // for Kind::Message; 0: until cleared
    int paragraph = 0;                                // for Kind::GoTo: from 1
};

// A request refused, with the HTTP status and the message a client is shown.
struct RemoteError {
    int status = 400;
    QString message;
};

/// The command called `name`, as the interface names it; a speed's value
/// and a goto's paragraph are 0.
std::optional<RemoteCommand> RemoteCommandNamed(QByteArrayView name);

/// The command in `json`, or a 400 error saying what is wrong with it: a
/// speed needs a whole number, a goto a whole number from 1.
std::variant<RemoteCommand, RemoteError> ParseRemoteCommand(QByteArrayView json);

/// The message in `json`, {"text": <string>, "seconds": <int>} with the
/// seconds optional, or a 400 error saying what is wrong with it.
std::variant<RemoteCommand, RemoteError> ParseRemoteMessage(QByteArrayView json);

/// The JSON object `json` holds, or none for anything else.
std::optional<QJsonObject> JsonObject(QByteArrayView json);
