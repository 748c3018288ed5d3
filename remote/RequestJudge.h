#pragma once

#include "RemoteRoutes.h"
#include "RequestScreen.h"

#include <QByteArray>
#include <QList>

#include <variant>

// Everything the server decides about a whole request from its head alone:
// whether it was meant for this machine, whether a page of another site
// sent it, which endpoint it asks for and whether it may have it.

// What the server knows when it judges a request.
struct JudgeContext {
    QByteArray token;            // the operator's token
    QList<QByteArray> hostNames; // this machine's names, lower case, without ".local"
    bool webSocketsFull = false; // as many WebSockets are open as may be
};

/// The endpoint, or the refusal: 400 for a malformed Host or WebSocket
/// handshake, 503 for a WebSocket while they are full, 421 for a Host naming another machine (a
/// name made to point here, as a hostile page would), 403 for an Origin that is not this server's
/// own, and the routing's refusals. A request without Host or Origin, as curl and controllers may
/// send, passes those two checks: a browser always sends both where they matter.
std::variant<Endpoint, RemoteError> JudgeRequest(const RequestHead& head,
                                                 const JudgeContext& context);

/// The most body bytes the request of `head` may send: a script's worth for
/// a script pushed with the right token, else RemoteLimits::kMaxBodyBytes.
qsizetype BodyLimitFor(const RequestHead& head, const JudgeContext& context);

/// This machine's names as the server answers to them.
QList<QByteArray> OwnHostNames();
