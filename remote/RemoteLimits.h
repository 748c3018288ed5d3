#pragma once

#include <QtGlobal>

// What the remote control takes from one client before it refuses: every
// byte that reaches it comes from the network, so each of these is a limit.
namespace RemoteLimits
{
inline constexpr qsizetype kMaxHeadBytes = 8192; // request line and header fields
inline constexpr qsizetype kMaxBodyBytes = 4096; // a request body or a WebSocket message
inline constexpr qsizetype kMaxScriptBytes = 2 * 1024 * 1024; // a script pushed with PUT
inline constexpr int kMaxScriptsPerSecond = 2;                // pushed, from every client together
inline constexpr int kMaxCommandsPerSecond = 50;              // per address, and per WebSocket
inline constexpr int kMaxCommandsPerSecondAll = 200;          // from every client together
inline constexpr int kRateRefusalsBeforeClose = 3;   // in a row; a WebSocket is closed after
inline constexpr int kMaxPingsPerSecond = 10;        // per WebSocket; more closes it
inline constexpr int kMaxWebSocketClients = 16;      // connected at once
inline constexpr int kMaxWaitingConnections = 64;    // requests not yet complete
inline constexpr int kMaxWaitingPerAddress = 8;      // of those, from one address
inline constexpr int kHeadTimeoutMs = 3'000;         // for the request line and fields
inline constexpr int kRequestTimeoutMs = 10'000;     // for a request to arrive and be answered
inline constexpr int kStartAnswerTimeoutMs = 3'000;  // for start to see its run on the screen
inline constexpr int kWebSocketPingMs = 20'000;      // a ping to a WebSocket heard nothing from
inline constexpr int kWebSocketSilenceMs = 60'000;   // a WebSocket silent this long has gone
inline constexpr int kStatePushIntervalMs = 50;      // at most 20 state messages a second
inline constexpr qint64 kMaxUnsentBytes = 64 * 1024; // a client that stops reading is dropped
inline constexpr qint64 kReadChunkBytes = 16 * 1024; // read from a socket at a time
inline constexpr int kListenBacklog = 256;           // connections the system queues for us

// Followers: what a leader sends them and what a follower takes from a leader.
inline constexpr qsizetype kMaxLeaderMessageBytes = 128 * 1024; // one message to a follower
inline constexpr qsizetype kFollowScriptPartBytes = 4096;       // of script text in one message
inline constexpr qint64 kFollowUnsentBeforePart = 32 * 1024;    // no script part beyond this unsent
inline constexpr int kFollowCheckMs = 4;      // the leader looks for a change this often
inline constexpr int kFollowKeypointMs = 500; // a keypoint at least this often, changed or not
inline constexpr int kFollowClockMs = 500;    // the follower times a round trip this often
inline constexpr int kFollowSilenceMs = 1500; // a leader silent this long has been lost
inline constexpr int kFollowRetryMs = 300;    // the follower tries a lost leader again after
inline constexpr int kFollowWaitMs = 10'000;  // for a leader to send what a run needs
} // namespace RemoteLimits
