#pragma once

#include "RemoteCommand.h"
#include "RemoteHost.h"

#include <optional>

/// Carries out `command` as its key or button would: start as SCROLL
/// through `host`, every other command on the run on the screen. The
/// refusal (409) when it cannot act now: start while a run or a dialog is
/// open, anything else while no run is on; and a goto past the last
/// paragraph is refused (400).
std::optional<RemoteError> CarryOutRemoteCommand(const RemoteCommand& command,
                                                 const RemoteHost& host);
