#pragma once

#include "RemoteCommand.h"

#include <QByteArray>

/// The whole HTTP response for a refusal made before the HTTP server reads
/// the request: status line, JSON body (none for 401), Connection: close.
QByteArray HttpErrorResponse(const RemoteError& error);

/// The JSON body a refusal carries over HTTP; empty for 401, which says nothing else.
QByteArray HttpErrorBody(const RemoteError& error);
