#pragma once

#include "RemoteCommand.h"
#include "RemoteHost.h"

#include <optional>

/// Carries out `command` as its key or button would: start as SCROLL
/// through `host`, a message on the glass whether a run is on or not, every
/// other command on the run on the screen. The refusal when it cannot act
/// now (409): start while a run or a dialog is open, anything else but a
/// message while no run is on; a message too long or too lasting, or a goto
/// past the last paragraph (400).
std::optional<RemoteError> CarryOutRemoteCommand(const RemoteCommand& command,
                                                 const RemoteHost& host);
