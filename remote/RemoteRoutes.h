#pragma once

#include "RemoteCommand.h"

#include <QByteArrayView>

#include <variant>

// Which part of the interface a request asks for, and whether it may have
// it. Every path under /api/ needs the token before anything else is said,
// so a client without it learns nothing, not even which paths exist.
enum class Endpoint {
    PhonePage, // GET /: the phone remote
    State,     // GET /api/state
    Command,   // POST /api/command
    Message,   // POST /api/message
    WebSocket, // GET /api/ws, upgraded
    Script,    // PUT /api/script: the script's new text
};

struct RouteQuery {
    QByteArrayView method;
    QByteArrayView path;          // without the query
    bool upgrade = false;         // asks to become a WebSocket
    QByteArrayView authorization; // the Authorization field
    QByteArrayView queryToken;    // ?token=, which only the WebSocket may use
    QByteArrayView token;         // the token the operator's settings hold
};

/// The endpoint, or the refusal: 401 (no message) without the right token,
/// 404 for an unknown path, 405 for a wrong method, 400 for an upgrade
/// anywhere but /api/ws or a plain request there.
std::variant<Endpoint, RemoteError> RouteRequest(const RouteQuery& query);

/// Whether `given` is `expected`, taking as long whatever `given` holds.
bool TokensMatch(QByteArrayView given, QByteArrayView expected);
