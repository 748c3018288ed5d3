#pragma once

#include <QtGlobal>

// What the OSC control takes from a sender before it refuses. OSC carries no
// token, so the addresses let in are its lock, and every packet from them is
// still read as if it came from a stranger.
namespace OscLimits
{
inline constexpr qsizetype kMaxPacketBytes = 1024;  // a datagram, bundle and all
inline constexpr int kMaxMessagesPerPacket = 16;    // in one bundle, nested ones included
inline constexpr int kMaxBundleDepth = 2;           // a bundle in a bundle, no deeper
inline constexpr int kMaxPacketsPerSecond = 50;     // from one address
inline constexpr int kMaxPacketsPerSecondAll = 200; // from every address together
inline constexpr int kMaxSubscribers = 8;           // receiving the state at once
inline constexpr int kSubscriptionMs = 60'000;      // without a renewal, it ends
inline constexpr int kStatePushIntervalMs = 50;     // at most 20 state messages a second
} // namespace OscLimits
