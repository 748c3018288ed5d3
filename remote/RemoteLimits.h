#pragma once

#include <QtGlobal>

// What the remote control takes from one client before it refuses: every
// byte that reaches it comes from the network, so each of these is a limit.
namespace RemoteLimits
{
inline constexpr qsizetype kMaxHeadBytes = 8192;     // request line and header fields
inline constexpr qsizetype kMaxBodyBytes = 4096;     // a request body or a WebSocket message
inline constexpr int kMaxCommandsPerSecond = 50;     // per HTTP address or WebSocket
inline constexpr int kMaxWebSocketClients = 16;      // connected at once
inline constexpr int kMaxWaitingConnections = 64;    // requests not yet complete
inline constexpr int kRequestTimeoutMs = 10'000;     // for a request to arrive whole
inline constexpr int kStatePushIntervalMs = 50;      // at most 20 state messages a second
inline constexpr qint64 kMaxUnsentBytes = 64 * 1024; // a WebSocket that stops reading is dropped
} // namespace RemoteLimits
