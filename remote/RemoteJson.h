#pragma once

#include "PrompterStatus.h"

#include <QByteArray>
#include <QString>

// The JSON the remote control answers with.

/// The run's state as the interface gives it: running, paused, direction,
/// speedValue, lineIndex, lineCount, paragraph (from 1) and paragraphCount,
/// elapsedSeconds, remainingSeconds,
/// rowsPerSecond and linesPerMinute (each null while unknown), script,
/// the script's file name, message, and follow ("off", "in step" or "lost").
QByteArray StateJson(const PrompterStatus& status, const QString& scriptName);

/// {"error": message}, or with "status" too for a WebSocket, which has no status line.
QByteArray ErrorJson(const QString& message, int status = 0);
