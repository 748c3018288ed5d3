#pragma once

#include "OscPacket.h"
#include "RemoteCommand.h"

#include <QtGlobal>

#include <optional>
#include <variant>

// What an OSC message under /vellor/ asks for: one of the remote control's
// commands, by the same name and with the same rule, or the state sent back
// to the sender.
struct OscRequest {
    enum class Kind {
        Command,     // `command`, as the remote control's command of that name
        Subscribe,   // the state, to `port` at the sender's address (none: the port it sent from)
        Unsubscribe, // no more state
    };
    Kind kind = Kind::Command;
    RemoteCommand command;
    std::optional<quint16> port;
};

enum class OscRequestRefusal {
    UnknownAddress, // nothing is at that address
    WrongArguments, // the address takes other arguments
};

/// The request `message` makes, or why it is refused.
std::variant<OscRequest, OscRequestRefusal> ReadOscRequest(const OscMessage& message);
