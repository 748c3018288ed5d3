#pragma once

#include "RequestScreen.h"

#include <QByteArray>

/// The 101 answer that opens a WebSocket for `head`, or empty when its
/// fields are not a handshake of the protocol's version 13. The answer
/// carries no cross-origin fields: a page of another site gets nothing.
QByteArray WebSocketAcceptResponse(const RequestHead& head);
