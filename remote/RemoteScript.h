#pragma once

#include "RemoteCommand.h"

#include <QByteArrayView>
#include <QString>

#include <variant>

/// The text of a script pushed as `body`: UTF-8 holding no NUL, at most
/// RemoteLimits::kMaxScriptBytes; else the refusal, 413 for a larger body
/// and 400 for any other.
std::variant<QString, RemoteError> ParseRemoteScript(QByteArrayView body);
